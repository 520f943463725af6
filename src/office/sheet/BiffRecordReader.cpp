#include "office/sheet/BiffRecordReader.h"

#include "office/sheet/Biff8Records.h"

namespace office::sheet {

BiffRecordReader::BiffRecordReader(const QByteArray &stream, qint64 start, bool gatherContinues)
    : m_stream(stream), m_pos(start), m_gatherContinues(gatherContinues) {}

bool BiffRecordReader::header(qint64 at, std::uint16_t &id, int &size) const {
    if (at < 0 || at + 4 > m_stream.size()) return false;
    const auto *p = reinterpret_cast<const unsigned char *>(m_stream.constData() + at);
    id = std::uint16_t(p[0] | (p[1] << 8));
    size = p[2] | (p[3] << 8);
    return true;
}

bool BiffRecordReader::next(BiffRecord &out) {
    std::uint16_t id;
    int size;
    if (m_truncated || !header(m_pos, id, size)) return false;
    if (m_pos + 4 + size > m_stream.size()) {
        m_truncated = true;
        return false;
    }
    out.id = id;
    out.offset = m_pos;
    out.boundaries.clear();
    qint64 end = m_pos + 4 + size;
    // Gather the CONTINUE records that carry on this record's body.
    qint64 scan = end;
    std::uint16_t nextId;
    int nextSize;
    while (m_gatherContinues && id != biff::kContinue && header(scan, nextId, nextSize) && nextId == biff::kContinue &&
           scan + 4 + nextSize <= m_stream.size())
        scan += 4 + nextSize;
    if (scan == end || id == m_inPlaceId) {
        out.body = QByteArray::fromRawData(m_stream.constData() + m_pos + 4, size);
        end = scan;
    } else {
        out.body.clear();
        out.body.reserve(qsizetype(scan - end) + size);  // one allocation for the whole body
        out.body.append(m_stream.constData() + m_pos + 4, size);
        while (end < scan) {
            header(end, nextId, nextSize);
            out.boundaries.push_back(int(out.body.size()));
            out.body.append(m_stream.constData() + end + 4, nextSize);
            end += 4 + nextSize;
        }
    }
    out.endOffset = end;
    m_pos = end;
    return true;
}

}  // namespace office::sheet
