#include "office/doc/TypedText.h"

#include "office/doc/Story.h"

namespace office::doc {

bool typingChanges(QStringView text) {
    // Blocks of 16 without an early exit inside, which the compiler vectorises:
    // this looks at every character the export types.
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i + 16 <= n; i += 16) {
        bool found = false;
        for (int k = 0; k < 16; ++k) found |= (s[i + k] == u'\n') | (s[i + k] == kCellMark);
        if (found) return true;
    }
    for (; i < n; ++i)
        if (s[i] == u'\n' || s[i] == kCellMark) return true;
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
