#include "office/doc/RtfTokenizer.h"

#include <algorithm>
#include <array>
#include <climits>

namespace office::doc {

namespace {

// What a byte is to the tokenizer, looked up once per byte: letters of control
// words, and the bytes that end a run of text.
enum ByteClass : unsigned char { kOther = 0, kLetter = 1, kEndsText = 2 };

constexpr std::array<unsigned char, 256> makeByteClasses() {
    std::array<unsigned char, 256> classes{};
    for (int c = 'a'; c <= 'z'; ++c) classes[size_t(c)] = kLetter;
    for (int c = 'A'; c <= 'Z'; ++c) classes[size_t(c)] = kLetter;
    for (const char c : {'\\', '{', '}', '\r', '\n'}) classes[size_t(static_cast<unsigned char>(c))] = kEndsText;
    return classes;
}
constexpr std::array<unsigned char, 256> kByteClasses = makeByteClasses();

unsigned char classOf(char c) { return kByteClasses[static_cast<unsigned char>(c)]; }
bool isLetter(char c) { return classOf(c) == kLetter; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr int kMaxWordLength = 32;

}  // namespace

RtfToken RtfTokenizer::next() {
    const qint64 size = m_data.size();
    const char *d = m_data.constData();
    while (m_pos < size && (d[m_pos] == '\r' || d[m_pos] == '\n')) ++m_pos;
    RtfToken t;
    if (m_pos >= size) return t;
    const char c = d[m_pos];
    if (c == '{') {
        ++m_pos;
        t.type = RtfToken::GroupStart;
        return t;
    }
    if (c == '}') {
        ++m_pos;
        t.type = RtfToken::GroupEnd;
        return t;
    }
    if (c != '\\') {
        const qint64 start = m_pos;
        while (m_pos < size && classOf(d[m_pos]) != kEndsText) ++m_pos;
        t.type = RtfToken::Text;
        t.word = QByteArrayView(d + start, m_pos - start);
        return t;
    }
    // A backslash: control word, control symbol or \'hh.
    if (m_partial && size - m_pos < 4) m_cutShort = true;
    ++m_pos;
    if (m_pos >= size) {
        t.type = RtfToken::ControlSymbol;
        t.symbol = '\\';
        return t;
    }
    const char s = d[m_pos];
    if (!isLetter(s)) {
        ++m_pos;
        if (s == '\'') {
            const int hi = m_pos < size ? hexValue(d[m_pos]) : -1;
            const int lo = m_pos + 1 < size ? hexValue(d[m_pos + 1]) : -1;
            if (hi >= 0 && lo >= 0) {
                m_pos += 2;
                t.type = RtfToken::HexByte;
                t.byte = std::uint8_t(hi * 16 + lo);
                return t;
            }
        }
        t.type = RtfToken::ControlSymbol;
        t.symbol = (s == '\r' || s == '\n') ? '\n' : s;
        return t;
    }
    const qint64 start = m_pos;
    std::uint64_t head = 0;
    for (int shift = 0; m_pos < size && shift < 64 && isLetter(d[m_pos]); ++m_pos, shift += 8)
        head |= std::uint64_t(static_cast<unsigned char>(d[m_pos])) << shift;
    t.head = head;
    while (m_pos < size && isLetter(d[m_pos]) && m_pos - start < kMaxWordLength) ++m_pos;
    while (m_pos < size && isLetter(d[m_pos])) ++m_pos;  // an over-long word is cut, not split
    t.type = RtfToken::ControlWord;
    t.word = QByteArrayView(d + start, std::min<qint64>(m_pos - start, kMaxWordLength));
    bool negative = false;
    if (m_pos < size && d[m_pos] == '-' && m_pos + 1 < size && isDigit(d[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < size && isDigit(d[m_pos])) {
        qint64 value = 0;
        while (m_pos < size && isDigit(d[m_pos])) {
            if (value < 100000000000LL) value = value * 10 + (d[m_pos] - '0');
            ++m_pos;
        }
        if (negative) value = -value;
        t.hasParameter = true;
        t.parameter = int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
    }
    if (m_pos < size && d[m_pos] == ' ') ++m_pos;
    if (m_partial && m_pos >= size) m_cutShort = true;
    if (t.hasParameter && t.word.size() == 3 && t.word[0] == 'b' && t.word[1] == 'i' && t.word[2] == 'n') {
        if (m_partial && t.parameter > size - m_pos) m_cutShort = true;
        const qint64 n = std::clamp<qint64>(t.parameter, 0, size - m_pos);
        t.type = RtfToken::Binary;
        t.word = QByteArrayView(d + m_pos, n);
        m_pos += n;
    }
    return t;
}

}  // namespace office::doc
