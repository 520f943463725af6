#include "office/sheet/SegmentCursor.h"

#include "office/sheet/RecordCursor.h"

#include <algorithm>

namespace office::sheet {

std::vector<StreamRange> recordBodyRanges(const QByteArray &stream, qint64 recordOffset, qint64 endOffset) {
    std::vector<StreamRange> parts;
    const auto *p = reinterpret_cast<const unsigned char *>(stream.constData());
    endOffset = std::min<qint64>(endOffset, stream.size());
    for (qint64 at = recordOffset; at >= 0 && at + 4 <= endOffset;) {
        const qint64 size = p[at + 2] | (p[at + 3] << 8);
        const qint64 end = std::min(at + 4 + size, endOffset);
        parts.push_back({at + 4, end});
        at = end;
    }
    return parts;
}

SegmentCursor::SegmentCursor(const QByteArray &stream, std::vector<StreamRange> parts)
    : m_data(stream.constData()), m_parts(std::move(parts)) {
    for (const StreamRange &part : m_parts) m_left += part.end - part.begin;
    if (!m_parts.empty()) {
        m_pos = m_parts.front().begin;
        advance(0);  // an empty first part
    }
}

void SegmentCursor::fail() {
    m_ok = false;
    m_left = 0;
    m_part = m_parts.size();
}

bool SegmentCursor::need(qint64 bytes) {
    if (!m_ok || bytes < 0 || bytes > m_left) {
        fail();
        return false;
    }
    return true;
}

void SegmentCursor::advance(qint64 bytes) {
    m_pos += bytes;
    m_left -= bytes;
    while (m_part + 1 < m_parts.size() && m_pos == m_parts[m_part].end) m_pos = m_parts[++m_part].begin;
}

std::uint8_t SegmentCursor::u8() {
    if (!need(1)) return 0;
    const auto value = std::uint8_t(m_data[m_pos]);
    advance(1);
    return value;
}

std::uint16_t SegmentCursor::u16() {
    if (!need(2)) return 0;
    if (partEnd() - m_pos < 2) {  // straddles two parts
        const std::uint16_t low = u8();
        return std::uint16_t(low | (u8() << 8));
    }
    const auto *p = reinterpret_cast<const unsigned char *>(m_data + m_pos);
    advance(2);
    return std::uint16_t(p[0] | (p[1] << 8));
}

std::uint32_t SegmentCursor::u32() {
    const std::uint32_t low = u16();
    return low | (std::uint32_t(u16()) << 16);
}

void SegmentCursor::skip(qint64 bytes) {
    if (!need(bytes)) return;
    while (bytes > 0) {
        const qint64 step = std::min(bytes, partEnd() - m_pos);
        advance(step);
        bytes -= step;
    }
}

QByteArray SegmentCursor::bytes(qint64 count) {
    if (!need(count)) return {};
    QByteArray out;
    out.reserve(count);
    while (count > 0) {
        const qint64 step = std::min(count, partEnd() - m_pos);
        out.append(m_data + m_pos, step);
        advance(step);
        count -= step;
    }
    return out;
}

void SegmentCursor::unicodeCharsInto(int count, std::uint8_t flags, QString &out) {
    out.resize(0);
    out.reserve(int(std::min<qint64>(count, m_left)));
    int left = count;
    // Characters that begin in a new CONTINUE body begin with their own flags.
    if (left > 0 && atPartStart()) flags = u8();
    while (left > 0 && m_ok) {
        const bool wide = flags & 0x01;
        const qint64 avail = partEnd() - m_pos;
        const int take = int(std::min<qint64>(left, wide ? avail / 2 : avail));
        appendStringChars(out, m_data + m_pos, take, wide);
        advance(wide ? 2 * qint64(take) : take);
        left -= take;
        if (left == 0) break;
        // The rest follows in the next CONTINUE body, after its flag byte; anything else
        // (the end of the data, half a character before the boundary) is a broken string.
        if (!atPartStart()) {
            fail();
            break;
        }
        flags = u8();
    }
}

}  // namespace office::sheet
