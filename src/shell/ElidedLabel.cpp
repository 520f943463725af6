#include "shell/ElidedLabel.h"

#include <QFontMetrics>

namespace celltrove::shell {

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget *parent) : QLabel(parent), m_mode(mode) {
    setTextFormat(Qt::PlainText);
    // Takes the width the layout gives; the text adapts, not the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString &text) {
    m_fullText = text;
    elide();
}

QSize ElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void ElidedLabel::resizeEvent(QResizeEvent *event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    // elidedText cuts between whole characters (never inside a surrogate pair or a
    // combining sequence) and uses the font's "…".
    const int room = contentsRect().width();
    const QString shown = fontMetrics().elidedText(m_fullText, m_mode, room);
    setText(shown);
    setToolTip(shown == m_fullText ? QString() : m_fullText);
}

}  // namespace celltrove::shell
