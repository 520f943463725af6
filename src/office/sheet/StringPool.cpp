#include "office/sheet/StringPool.h"

#include "office/sheet/RecordCursor.h"

namespace office::sheet {

std::uint32_t StringPool::add(QStringView text) {
    m_entries.push_back(m_chars.size());
    const auto size = std::uint32_t(text.size());  // a cell's text is far below 2^32 code units
    m_chars.push_back(char16_t(size & 0xFFFF));
    m_chars.push_back(char16_t(size >> 16));
    m_chars.insert(m_chars.end(), text.utf16(), text.utf16() + size);
    return std::uint32_t(m_entries.size() - 1);
}

std::uint32_t StringPool::addStreamString(qint64 offset) {
    m_entries.push_back(std::uint64_t(offset) | kInStream);
    return std::uint32_t(m_entries.size() - 1);
}

QString StringPool::at(std::uint32_t index) const {
    if (index >= m_entries.size()) return {};
    const std::uint64_t entry = m_entries[index];
    if (!(entry & kInStream)) {
        const char16_t *p = m_chars.data() + entry;
        const qsizetype size = qsizetype(p[0]) | (qsizetype(p[1]) << 16);
        return QString(reinterpret_cast<const QChar *>(p + 2), size);
    }
    const auto *p = reinterpret_cast<const unsigned char *>(m_stream.constData()) + (entry & ~kInStream);
    const int count = p[0] | (p[1] << 8);
    const std::uint8_t flags = p[2];
    p += 3 + ((flags & 0x08) ? 2 : 0) + ((flags & 0x04) ? 4 : 0);
    if (!(flags & 0x01)) return QString::fromLatin1(reinterpret_cast<const char *>(p), count);  // sized exactly
    QString text;
    appendStringChars(text, reinterpret_cast<const char *>(p), count, true);
    return text;
}

}  // namespace office::sheet
