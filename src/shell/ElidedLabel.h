#pragma once

#include <QLabel>

namespace celltrove::shell {

/// A one-line label that shortens a text wider than itself with "…" instead of growing
/// its window or being cut off at the edge; the whole text is its tool tip then.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget *parent = nullptr);

    /// The text as given; text() is what fits.
    QString fullText() const { return m_fullText; }
    void setFullText(const QString &text);

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    Qt::TextElideMode m_mode;
    QString m_fullText;
};

}  // namespace celltrove::shell
