#include "import/StreamedStory.h"

#include <algorithm>
#include <string>

namespace celltrove::importing {

namespace {

constexpr qsizetype kPiece = 256 * 1024;

// The find's comparison without match case: equal, or the same letter in the
// other case (ASCII by its case bit, other characters by Unicode folding).
bool sameIgnoringCase(char16_t c, char16_t p) {
    if (c == p) return true;
    if (c < 0x80 && p < 0x80) return (c | 0x20) == (p | 0x20) && QChar::isLetter(p);
    return QChar::toCaseFolded(char32_t(c)) == QChar::toCaseFolded(char32_t(p));
}

}  // namespace

bool StreamedStory::readMore() {
    if (m_ended || m_failed) return false;
    if (m_text.size() >= kMaxWindow) {
        m_failed = true;
        return false;
    }
    const qsizetype before = m_text.size();
    const bool more = m_stream.readMore(m_text, kPiece);
    if (!more) {
        if (m_stream.readWholeNeeded()) m_failed = true;
        else m_ended = true;
    }
    return m_text.size() > before || more;
}

void StreamedStory::forget(qint64 pos) {
    const qsizetype drop = qsizetype(std::min(pos, readEnd()) - m_base);
    // Moving the kept text down costs its length: do it once half the window is done with.
    if (drop <= 0 || drop < kPiece || drop < m_text.size() / 2) return;
    m_text.remove(0, drop);
    m_base += drop;
}

bool StreamedStory::matchesAt(const QString &pattern, qsizetype index) const {
    const char16_t *t = reinterpret_cast<const char16_t *>(m_text.constData()) + index;
    const char16_t *p = reinterpret_cast<const char16_t *>(pattern.constData());
    for (qsizetype k = 0; k < pattern.size(); ++k)
        if (!sameIgnoringCase(t[k], p[k])) return false;
    return true;
}

qint64 StreamedStory::findRead(const QString &pattern, qint64 from) const {
    if (pattern.isEmpty()) return -1;
    const char16_t *t = reinterpret_cast<const char16_t *>(m_text.constData());
    const qsizetype last = m_text.size() - pattern.size();
    const char16_t first = pattern.front().unicode();
    const bool foldFirst = first >= 0x80 || QChar::isLetter(first);
    for (qsizetype i = std::max<qsizetype>(0, qsizetype(from - m_base)); i <= last; ++i) {
        if (!foldFirst) {
            // Most of the story is not the pattern's first character: skip to it quickly.
            const char16_t *hit = std::char_traits<char16_t>::find(t + i, size_t(last - i + 1), first);
            if (!hit) return -1;
            i = hit - t;
        } else if (!sameIgnoringCase(t[i], first)) {
            continue;
        }
        if (matchesAt(pattern, i)) return m_base + i;
    }
    return -1;
}

qint64 StreamedStory::find(const QString &pattern, qint64 from) {
    for (;;) {
        const qint64 at = findRead(pattern, from);
        if (at >= 0) return at;
        // A match may start in the last characters read and end in the next piece.
        from = std::max(from, readEnd() - pattern.size() + 1);
        if (!readMore()) return -1;
    }
}

qint64 StreamedStory::findChar(char16_t a, char16_t b, qint64 from) {
    for (;;) {
        for (qsizetype i = std::max<qsizetype>(0, qsizetype(from - m_base)); i < m_text.size(); ++i) {
            const char16_t c = m_text.at(i).unicode();
            if (c == a || c == b) return m_base + i;
        }
        from = std::max(from, readEnd());
        if (!readMore()) return -1;
    }
}

QString StreamedStory::text(qint64 from, qint64 to) const {
    return m_text.mid(qsizetype(from - m_base), qsizetype(to - from));
}

}  // namespace celltrove::importing
