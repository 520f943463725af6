#include "office/sheet/StringPool.h"

#include "office/memory/HugePages.h"

namespace office::sheet {

std::uint32_t StringPool::add(QStringView text) {
    m_starts.push_back(std::uint32_t(m_chars.size()));
    m_chars.insert(m_chars.end(), text.utf16(), text.utf16() + text.size());
    return std::uint32_t(m_starts.size() - 1);
}

QString StringPool::at(std::uint32_t index) const {
    if (index >= m_starts.size()) return {};
    const std::size_t begin = m_starts[index];
    const std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_chars.size();
    return QString(reinterpret_cast<const QChar *>(m_chars.data() + begin), qsizetype(end - begin));
}

void StringPool::reserve(std::size_t strings, std::size_t characters) {
    m_starts.reserve(strings);
    m_chars.reserve(characters);
    memory::adviseHugePages(m_chars.data(), m_chars.capacity() * sizeof(char16_t));
}

}  // namespace office::sheet
