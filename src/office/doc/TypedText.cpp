#include "office/doc/TypedText.h"

#include "office/doc/Story.h"

namespace office::doc {

bool typingChanges(QStringView text) {
    for (const QChar c : text)
        if (c == u'\n' || c.unicode() == kCellMark) return true;
    return false;
}

QString normalizeTypedText(const QString &text) {
    if (!typingChanges(text)) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar(u'\r') && i + 1 < text.size() && text.at(i + 1) == QChar(u'\n')) continue;
        if (c == QChar(u'\n')) {
            out.append(QChar(kParagraphMark));
        } else if (c.unicode() != kCellMark) {
            out.append(c);
        }
    }
    return out;
}

}  // namespace office::doc
