#include "office/sheet/RecordCursor.h"

#include <QTextCodec>

#include <algorithm>
#include <cstring>

namespace office::sheet {

RecordCursor::RecordCursor(const char *data, int size, const std::vector<int> *boundaries)
    : m_data(data), m_size(size < 0 ? 0 : size), m_boundaries(boundaries) {}

bool RecordCursor::need(qint64 bytes) {
    if (!m_ok || bytes < 0 || bytes > m_size - m_pos) {
        m_ok = false;
        m_pos = m_size;
        return false;
    }
    return true;
}

std::uint8_t RecordCursor::u8() {
    if (!need(1)) return 0;
    return std::uint8_t(m_data[m_pos++]);
}

std::uint16_t RecordCursor::u16() {
    if (!need(2)) return 0;
    const auto *p = reinterpret_cast<const unsigned char *>(m_data + m_pos);
    m_pos += 2;
    return std::uint16_t(p[0] | (p[1] << 8));
}

std::uint32_t RecordCursor::u32() {
    if (!need(4)) return 0;
    const auto *p = reinterpret_cast<const unsigned char *>(m_data + m_pos);
    m_pos += 4;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

double RecordCursor::f64() {
    if (!need(8)) return 0;
    double value;
    std::memcpy(&value, m_data + m_pos, 8);  // little-endian hosts only, as Qt's targets here
    m_pos += 8;
    return value;
}

void RecordCursor::skip(qint64 bytes) {
    if (need(bytes)) m_pos += int(bytes);
}

QByteArray RecordCursor::bytes(int count) {
    if (!need(count)) return {};
    QByteArray out(m_data + m_pos, count);
    m_pos += count;
    return out;
}

int RecordCursor::segmentEnd() const {
    if (!m_boundaries) return m_size;
    const auto it = std::upper_bound(m_boundaries->begin(), m_boundaries->end(), m_pos);
    return it == m_boundaries->end() ? m_size : std::min(*it, m_size);
}

bool RecordCursor::atSegmentStart() const {
    return m_boundaries && std::binary_search(m_boundaries->begin(), m_boundaries->end(), m_pos);
}

QString RecordCursor::unicodeChars(int count, std::uint8_t flags) {
    QString out;
    unicodeCharsInto(count, flags, out);
    return out;
}

void RecordCursor::unicodeCharsInto(int count, std::uint8_t flags, QString &out) {
    out.resize(0);
    out.reserve(std::min(count, remaining()));
    int left = count;
    // Characters that begin in a new CONTINUE body begin with their own flags.
    if (left > 0 && atSegmentStart()) flags = u8();
    while (left > 0 && m_ok) {
        const bool wide = flags & 0x01;
        const int avail = segmentEnd() - m_pos;
        const int take = std::min(left, wide ? avail / 2 : avail);
        appendStringChars(out, m_data + m_pos, take, wide);
        m_pos += wide ? 2 * take : take;
        left -= take;
        if (left == 0) break;
        // The rest follows in the next CONTINUE body, after its flag byte; anything else
        // (the end of the data, half a character before the boundary) is a broken string.
        if (!atSegmentStart()) {
            m_ok = false;
            m_pos = m_size;
            break;
        }
        flags = u8();
    }
}

QString RecordCursor::unicodeString(int lengthBytes) {
    const int count = lengthBytes == 1 ? u8() : u16();
    const std::uint8_t flags = u8();
    int runs = 0;
    qint64 phonetic = 0;
    if (flags & 0x08) runs = u16();
    if (flags & 0x04) phonetic = u32();
    QString text = unicodeChars(count, flags);
    skip(qint64(runs) * 4);
    skip(phonetic);
    return text;
}

QString RecordCursor::byteString(int lengthBytes, const QTextCodec *codec) {
    const int count = lengthBytes == 1 ? u8() : u16();
    if (!need(count)) return {};
    QString text = decodeBytes(m_data + m_pos, count, codec);
    m_pos += count;
    return text;
}

void appendStringChars(QString &out, const char *data, int count, bool wide) {
    if (!wide) {
        out += QLatin1StringView(data, count);
        return;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const qsizetype at = out.size();
    out.resize(at + count);
    auto *d = reinterpret_cast<char16_t *>(out.data()) + at;
    for (int i = 0; i < count; ++i) d[i] = char16_t(p[2 * i] | (p[2 * i + 1] << 8));
}

QString decodeBytes(const char *data, int size, const QTextCodec *codec) {
    if (!codec) codec = QTextCodec::codecForName("windows-1252");
    if (!codec) return QString::fromLatin1(data, size);
    return codec->toUnicode(data, size);
}

}  // namespace office::sheet
