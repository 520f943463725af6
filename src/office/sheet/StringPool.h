#pragma once

#include "office/memory/GrowableArray.h"
#include "office/memory/MappedAllocator.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace office::sheet {

/// The workbook's texts. A large workbook holds hundreds of thousands of short strings,
/// and one allocation per string would cost more than the characters themselves, so
/// texts are stored back to back: one byte a character where every character is
/// Latin-1, as UTF-16 code units otherwise. Shared strings that lie whole in
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
    /// A hash of the string at index, equal for equal strings however they are
    /// stored; no copy of the string is made (a text added with add() keeps its
    /// hash from then).
    std::uint32_t hashAt(std::uint32_t index) const;
    /// Whether the strings at a and b are equal, compared in place.
    bool equal(std::uint32_t a, std::uint32_t b) const;
    /// Whether the string at index is `text`, compared in place.
    bool equal(std::uint32_t index, QStringView text) const;
    int count() const { return int(m_entries.size()); }
    void reserve(std::size_t strings) { m_entries.reserve(strings); }

    /// A string's characters where they lie: UTF-16 or Latin-1 in the pool, or
    /// Latin-1 or unaligned little-endian UTF-16 bytes in the stream. Valid until
    /// the next add.
    struct Chars {
        const char16_t *utf16 = nullptr;
        const unsigned char *bytes = nullptr;
        bool wideBytes = false;
        qsizetype count = 0;
        char16_t operator[](qsizetype i) const {
            if (utf16) return utf16[i];
            return wideBytes ? char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)) : char16_t(bytes[i]);
        }
    };
    /// The characters of the string at index, in place; none for kNone or an index out of range.
    Chars charsAt(std::uint32_t index) const;

private:
    // An entry is a position in m_chars, where a header of kHeader code units
    // precedes the string's characters: its length (two units, kNarrow set in the
    // second for one byte a character), then its hash (two units, from kHashAt).
    // With kInStream set, an entry is a string's offset in m_stream instead. Four
    // bytes an entry: a workbook stream is below 1 GiB, and the pool below 2^31
    // code units.
    static constexpr std::uint32_t kInStream = std::uint32_t(1) << 31;
    static constexpr char16_t kNarrow = 0x8000;
    static constexpr int kHashAt = 2;
    static constexpr int kHeader = 4;

    memory::GrowableArray<char16_t> m_chars;
    std::vector<std::uint32_t, memory::MappedAllocator<std::uint32_t>> m_entries;
    QByteArray m_stream;
};

}  // namespace office::sheet
