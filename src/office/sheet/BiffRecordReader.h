#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace office::sheet {

/// One record of a workbook stream with the bodies of the CONTINUE records that follow
/// it appended (their start offsets in body are the boundaries).
struct BiffRecord {
    std::uint16_t id = 0;
    qint64 offset = 0;     ///< stream offset of the record header
    qint64 endOffset = 0;  ///< stream offset after the record and its CONTINUE records
    QByteArray body;       ///< shares the stream's bytes when there is no CONTINUE
    std::vector<int> boundaries;
};

/// Walks the records of a workbook stream from a start offset. A record whose length
/// runs past the end of the stream stops the walk with truncated() set.
class BiffRecordReader {
public:
    /// gatherContinues false: CONTINUE records come back as records of their own.
    BiffRecordReader(const QByteArray &stream, qint64 start, bool gatherContinues = true);

    /// Records with this id keep their CONTINUE bodies where they lie: body holds the
    /// record's own body only, endOffset still covers the CONTINUE records, and the whole
    /// body is read with SegmentCursor. Spares copying a large record together.
    void leaveInPlace(std::uint16_t id) { m_inPlaceId = id; }

    /// Reads the next record; false at the end of the stream or on a truncated record.
    bool next(BiffRecord &out);
    /// Offset of the next record header.
    qint64 position() const { return m_pos; }
    bool truncated() const { return m_truncated; }

private:
    bool header(qint64 at, std::uint16_t &id, int &size) const;

    const QByteArray &m_stream;
    qint64 m_pos;
    bool m_gatherContinues;
    std::optional<std::uint16_t> m_inPlaceId;
    bool m_truncated = false;
};

}  // namespace office::sheet
