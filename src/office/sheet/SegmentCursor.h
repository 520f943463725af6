#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace office::sheet {

/// A stretch of the workbook stream: [begin, end).
struct StreamRange {
    qint64 begin = 0;
    qint64 end = 0;
};

/// Where the body of the record at recordOffset lies in the stream, followed by the
/// bodies of the CONTINUE records up to endOffset (as BiffRecordReader reported them).
std::vector<StreamRange> recordBodyRanges(const QByteArray &stream, qint64 recordOffset, qint64 endOffset);

/// Reads a record body that goes on in CONTINUE records where it lies in the stream,
/// without copying the parts together (the shared-string table of a large workbook is
/// tens of megabytes). Fixed-size fields that straddle two parts read as if the parts
/// were joined; characters that go on in a new part start with a fresh flag byte, as
/// in RecordCursor. Reading past the end returns zeros and clears ok().
class SegmentCursor {
public:
    SegmentCursor(const QByteArray &stream, std::vector<StreamRange> parts);

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(qint64 bytes);
    QByteArray bytes(qint64 count);
    /// As RecordCursor::unicodeCharsInto.
    void unicodeCharsInto(int count, std::uint8_t flags, QString &out);

    /// Stream offset of the next byte.
    qint64 pos() const { return m_pos; }
    /// End of the part the next byte lies in.
    qint64 partEnd() const { return m_part < m_parts.size() ? m_parts[m_part].end : m_pos; }
    /// True when the next byte opens a CONTINUE body.
    bool atPartStart() const { return m_part > 0 && m_part < m_parts.size() && m_pos == m_parts[m_part].begin; }
    qint64 remaining() const { return m_left; }
    bool ok() const { return m_ok; }

private:
    bool need(qint64 bytes);
    // Moves on by bytes that lie in the current part; steps into the next part at its end.
    void advance(qint64 bytes);
    void fail();

    const char *m_data;
    std::vector<StreamRange> m_parts;
    std::size_t m_part = 0;
    qint64 m_pos = 0;
    qint64 m_left = 0;
    bool m_ok = true;
};

}  // namespace office::sheet
