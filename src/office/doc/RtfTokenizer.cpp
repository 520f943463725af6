#include "office/doc/RtfTokenizer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The end of a run of text that starts at `from`: the first byte that ends text,
// or `size`. Runs of text are most of a document's bytes; where the processor
// has SSE2 (every x86-64 one) they are looked at sixteen bytes at a time.
qint64 endOfText(const char *d, qint64 from, qint64 size) {
    qint64 p = from;
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi8('\\'), open = _mm_set1_epi8('{'), close = _mm_set1_epi8('}');
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; p + 16 <= size; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, backslash), _mm_cmpeq_epi8(v, open)),
                                          _mm_or_si128(_mm_cmpeq_epi8(v, close),
                                                       _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(unsigned(mask));
    }
#endif
    while (p < size && classOf(d[p]) != kEndsText) ++p;
    return p;
}

// The end of a control word's letters that start at `from`, with the first eight
// packed into `head` (rtfWordHead). Words differ in length from one to the next,
// which a loop over their letters keeps guessing wrong: with SSE2 they are
// measured in one step.
qint64 endOfWord(const char *d, qint64 from, qint64 size, std::uint64_t &head) {
    qint64 p = from;
#ifdef __SSE2__
    if (from + 16 <= size) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + from));
        const __m128i folded = _mm_or_si128(v, _mm_set1_epi8(0x20));  // upper case to lower, nothing else to a letter
        const __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                              _mm_cmplt_epi8(folded, _mm_set1_epi8('z' + 1)));
        const int n = __builtin_ctz(~unsigned(_mm_movemask_epi8(letters)));  // at most 16
        std::uint64_t first8 = 0;
        std::memcpy(&first8, d + from, 8);  // x86 is little-endian: byte i lands at bit 8 i
        head = n >= 8 ? first8 : first8 & ((std::uint64_t(1) << (8 * n)) - 1);
        if (n < 16) return from + n;
        p = from + 16;
        while (p < size && isLetter(d[p])) ++p;
        return p;
    }
#endif
    head = 0;
    for (const qint64 headEnd = std::min(size, from + 8); p < headEnd && isLetter(d[p]); ++p)
        head |= std::uint64_t(static_cast<unsigned char>(d[p])) << (8 * (p - from));
    if (p - from == 8)
        while (p < size && isLetter(d[p])) ++p;
    return p;
}

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
        m_pos = endOfText(d, start, size);
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
    // The word's letters: the first eight are packed as they are read; an
    // over-long word is cut, not split.
    const qint64 start = m_pos;
    m_pos = endOfWord(d, start, size, t.head);
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
