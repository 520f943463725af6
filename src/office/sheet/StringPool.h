#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace office::sheet {

/// The workbook's texts, stored back to back as UTF-16 code units: a large workbook
/// holds hundreds of thousands of short strings, and one allocation per string would
/// cost more than the characters themselves. Strings are only ever appended.
class StringPool {
public:
    /// Index that stands for no string; at() gives the empty text for it.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint32_t add(QStringView text);
    /// The string at index; empty for kNone or an index out of range.
    QString at(std::uint32_t index) const;
    int count() const { return int(m_starts.size()); }
    void reserve(std::size_t strings, std::size_t characters);

private:
    std::vector<char16_t> m_chars;
    std::vector<std::uint32_t> m_starts;  // start of each string; the next start (or the end) closes it
};

}  // namespace office::sheet
