#pragma once

#include "office/memory/HugePageAllocator.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace office::sheet {

/// The workbook's texts. A large workbook holds hundreds of thousands of short strings,
/// and one allocation per string would cost more than the characters themselves, so
/// texts are stored back to back as UTF-16 code units. Shared strings that lie whole in
/// the workbook stream are not copied at all: the pool keeps the stream and decodes
/// such a string from its place when it is asked for. Strings are only ever appended.
class StringPool {
public:
    /// Index that stands for no string; at() gives the empty text for it.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint32_t add(QStringView text);
    /// The bytes that addStreamString() refers to, shared rather than copied; the pool
    /// keeps this version of them even if the caller's array changes later.
    void setStream(const QByteArray &stream) { m_stream = stream; }
    /// A BIFF8 string (character count, flags, optional run count and phonetic size,
    /// then its characters) that lies whole in the stream at offset; the caller has
    /// checked that it does.
    std::uint32_t addStreamString(qint64 offset);
    /// The string at index; empty for kNone or an index out of range.
    QString at(std::uint32_t index) const;
    int count() const { return int(m_entries.size()); }
    void reserve(std::size_t strings) { m_entries.reserve(strings); }

private:
    // An entry is a position in m_chars, where the string's length (two code units)
    // precedes its characters, or with kInStream set a string's offset in m_stream.
    static constexpr std::uint64_t kInStream = std::uint64_t(1) << 63;

    std::vector<char16_t, memory::HugePageAllocator<char16_t>> m_chars;
    std::vector<std::uint64_t, memory::HugePageAllocator<std::uint64_t>> m_entries;
    QByteArray m_stream;
};

}  // namespace office::sheet
