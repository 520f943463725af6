#include "office/sheet/StringPool.h"

#include "office/sheet/RecordCursor.h"

#include <new>

namespace office::sheet {

namespace {

bool fitsOneByte(const char16_t *units, qsizetype count) {
    char16_t all = 0;
    for (qsizetype i = 0; i < count; ++i) all |= units[i];
    return all <= 0xFF;
}

// A hash of a string's code units: equal strings have equal code units, and so
// equal hashes, however they are stored.
std::uint32_t hashOf(const StringPool::Chars &chars) {
    // Four UTF-16 code units go into one step, each step a multiply: a save hashes
    // every new text and every shared string, and a step per character took four
    // times as many.
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ std::uint64_t(chars.count);
    const auto step = [&hash](std::uint64_t units) {
        hash = (hash ^ units) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    };
    const auto fold = [&](auto unitAt) {
        qsizetype i = 0;
        for (; i + 4 <= chars.count; i += 4)
            step(std::uint64_t(unitAt(i)) | (std::uint64_t(unitAt(i + 1)) << 16) |
                 (std::uint64_t(unitAt(i + 2)) << 32) | (std::uint64_t(unitAt(i + 3)) << 48));
        std::uint64_t rest = 0;
        for (int shift = 0; i < chars.count; ++i, shift += 16) rest |= std::uint64_t(unitAt(i)) << shift;
        step(rest);
    };
    if (chars.utf16) fold([&](qsizetype i) { return chars.utf16[i]; });
    else if (!chars.wideBytes) fold([&](qsizetype i) { return char16_t(chars.bytes[i]); });
    else fold([&](qsizetype i) { return chars[i]; });
    // Mixed once more, so that every bit of the result depends on every unit.
    hash ^= hash >> 30;
    hash *= 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 27;
    hash *= 0x94D049BB133111EBull;
    return std::uint32_t(hash ^ (hash >> 31));
}

}  // namespace

std::uint32_t StringPool::add(QStringView text) {
    // Texts of 4 GiB would exhaust the memory long before: treated alike.
    if (m_chars.size() >= kInStream) throw std::bad_alloc();
    m_entries.push_back(std::uint32_t(m_chars.size()));
    const auto size = std::uint32_t(text.size());  // a cell's text is far below 2^31 code units
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const bool narrow = fitsOneByte(units, size);
    // The hash goes with the text: it is worked out while the text is at hand, and
    // a save that compares new texts needs the hashes of all of them.
    Chars chars;
    chars.utf16 = units;
    chars.count = size;
    const std::uint32_t hash = hashOf(chars);
    const char16_t header[kHeader] = {char16_t(size & 0xFFFF), char16_t((size >> 16) | (narrow ? kNarrow : 0)),
                                      char16_t(hash & 0xFFFF), char16_t(hash >> 16)};
    m_chars.append(header, kHeader);
    if (!narrow) {
        m_chars.append(units, size);
    } else {
        // Most texts are Latin-1: one byte a character halves the memory an import
        // fills, and the SST takes them as they lie. Padded to whole code units.
        auto *bytes = reinterpret_cast<unsigned char *>(m_chars.extend((size + 1) / 2));
        for (std::uint32_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(units[i]);
        if (size % 2) bytes[size] = 0;
    }
    return std::uint32_t(m_entries.size() - 1);
}

std::uint32_t StringPool::addStreamString(qint64 offset) {
    m_entries.push_back(std::uint32_t(offset) | kInStream);
    return std::uint32_t(m_entries.size() - 1);
}

StringPool::Chars StringPool::charsAt(std::uint32_t index) const {
    Chars chars;
    if (index >= m_entries.size()) return chars;
    const std::uint32_t entry = m_entries[index];
    if (!(entry & kInStream)) {
        const char16_t *p = m_chars.data() + entry;
        chars.count = qsizetype(p[0]) | (qsizetype(p[1] & ~kNarrow) << 16);
        if (p[1] & kNarrow) chars.bytes = reinterpret_cast<const unsigned char *>(p + kHeader);
        else chars.utf16 = p + kHeader;
        return chars;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(m_stream.constData()) + (entry & ~kInStream);
    const std::uint8_t flags = p[2];
    chars.count = p[0] | (p[1] << 8);
    chars.bytes = p + 3 + ((flags & 0x08) ? 2 : 0) + ((flags & 0x04) ? 4 : 0);
    chars.wideBytes = flags & 0x01;
    return chars;
}

std::uint32_t StringPool::hashAt(std::uint32_t index) const {
    if (index < m_entries.size() && !(m_entries[index] & kInStream)) {
        const char16_t *p = m_chars.data() + m_entries[index] + kHashAt;
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 16);
    }
    return hashOf(charsAt(index));
}

namespace {

template <typename Text>
bool sameChars(const StringPool::Chars &x, const Text &y, qsizetype count) {
    if (x.count != count) return false;
    for (qsizetype i = 0; i < count; ++i)
        if (x[i] != char16_t(y[i])) return false;
    return true;
}

}  // namespace

bool StringPool::equal(std::uint32_t a, std::uint32_t b) const {
    if (a == b) return true;
    const Chars y = charsAt(b);
    return sameChars(charsAt(a), y, y.count);
}

bool StringPool::equal(std::uint32_t index, QStringView text) const {
    return sameChars(charsAt(index), text.utf16(), text.size());
}

QString StringPool::at(std::uint32_t index) const {
    const Chars chars = charsAt(index);
    if (chars.utf16) return QString(reinterpret_cast<const QChar *>(chars.utf16), chars.count);
    const auto *bytes = reinterpret_cast<const char *>(chars.bytes);
    if (!chars.wideBytes) return QString::fromLatin1(bytes, chars.count);  // sized exactly; empty for no string
    QString text;
    appendStringChars(text, bytes, int(chars.count), true);
    return text;
}

}  // namespace office::sheet
