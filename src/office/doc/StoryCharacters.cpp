#include "office/doc/StoryCharacters.h"

namespace office::doc {

namespace {
bool isInternalCode(char16_t c) { return c == 0x1F || c == 0x1E; }
}  // namespace

QString unicodeText(QString storyText) {
    const QChar *chars = storyText.constData();
    qsizetype i = 0;
    while (i < storyText.size() && !isInternalCode(chars[i].unicode())) ++i;
    if (i == storyText.size()) return storyText;  // the usual case: no copy
    QChar *out = storyText.data();
    for (; i < storyText.size(); ++i) {
        if (out[i].unicode() == 0x1F) out[i] = QChar(0x00AD);
        else if (out[i].unicode() == 0x1E) out[i] = QChar(0x2011);
    }
    return storyText;
}

}  // namespace office::doc
