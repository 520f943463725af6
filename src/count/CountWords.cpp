#include "count/TextCounter.h"

#include <algorithm>

namespace celltrove::count {

namespace {

// Punctuation, symbols and digits that end a word, plus the three line breaks.
// Not separators: tab, "$", "=", "`" and every letter.
constexpr bool isSeparatorSlow(char16_t c) {
    switch (c) {
    case 0x000A: case 0x000B: case 0x000D:
    case 0x0020: case 0x0021: case 0x0022: case 0x0023:
    case 0x00A7: case 0x00B0: case 0x00B5: case 0x20AC:
    case 0x003E: case 0x003F: case 0x0040:
    case 0x005B: case 0x005C: case 0x005D: case 0x005E: case 0x005F:
    case 0x007B: case 0x007C: case 0x007D: case 0x007E:
        return true;
    default:
        return c >= 0x0025 && c <= 0x003C;  // "%" to "<", digits included
    }
}

// The same for the first 256 characters as a table: every exported character passes here.
struct SeparatorTable {
    bool low[256] = {};
    constexpr SeparatorTable() {
        for (int c = 0; c < 256; ++c) low[c] = isSeparatorSlow(char16_t(c));
    }
};
constexpr SeparatorTable kSeparators;

bool isSeparator(char16_t c) { return c < 256 ? kSeparators.low[c] : isSeparatorSlow(c); }

// Most texts hold no "." or "," and no character past Latin-1: their words are
// the starts of separator runs, counted without a branch per character (a branch
// at every word end was guessed wrong about once a word). Gives -1 for the rest.
qint32 countPlainWords(const char16_t *text, qsizetype size) {
    unsigned sepStarts = 0;
    unsigned previous = kSeparators.low[text[0] < 256 ? text[0] : 0];
    char16_t unusual = 0;  // a character past Latin-1, or a point or comma, shows here
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i];
        unusual |= char16_t(c & 0xFF00) | char16_t(c == u'.' || c == u',');
        const unsigned separator = kSeparators.low[c & 0xFF];
        sepStarts += separator & ~previous;
        previous = separator;
    }
    if (unusual) return -1;
    // One word more than the separator runs between words; a run at the end ends none.
    const auto count = qint64(1) + sepStarts - (previous ? 1 : 0);
    return qint32(std::min<qint64>(count, INT32_MAX));
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isNumberCharacter(char16_t c) { return isDigit(c) || c == u'.' || c == u','; }

}  // namespace

qint32 CountWords(const QString &text) {
    if (text.isEmpty()) return 0;
    if (text.size() == 1 && isSeparator(text.at(0).unicode())) return 0;
    if (const qint32 plain = countPlainWords(reinterpret_cast<const char16_t *>(text.utf16()), text.size()); plain >= 0)
        return plain;

    qint32 count = 1;
    bool inSeparator = isSeparator(text.at(0).unicode());
    bool inNumber = false;
    bool numberHasPoint = false;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (isDigit(c)) inNumber = true;
        if (inNumber) {
            if (c == u'.' || c == u',') numberHasPoint = true;
            if (!isNumberCharacter(c)) {
                if (numberHasPoint && count < INT32_MAX) ++count;
                inNumber = false;
                numberHasPoint = false;
            }
        }
        if (isSeparator(c)) {
            if (!inSeparator) {
                inSeparator = true;
                if (count < INT32_MAX) ++count;
            }
        } else {
            inSeparator = false;
        }
    }
    if (inSeparator) --count;
    return count;
}

}  // namespace celltrove::count
