#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

namespace office::doc {

/// Little-endian output for the structures of a Word binary file.
class DocBytesOut {
public:
    void u8(quint32 v) { m_bytes.append(char(v & 0xFF)); }
    void u16(quint32 v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(quint32 v) {
        u16(v);
        u16(v >> 16);
    }
    void bytes(const QByteArray &b) { m_bytes.append(b); }
    void zeros(qsizetype n) { m_bytes.append(n, '\0'); }
    /// Pads with zero bytes to a multiple of `unit`.
    void alignTo(qsizetype unit) {
        if (const qsizetype rest = m_bytes.size() % unit) zeros(unit - rest);
    }
    /// Overwrites four bytes at `at`, which must already be written.
    void patch32(qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i) m_bytes[at + i] = char((v >> (8 * i)) & 0xFF);
    }
    void patch16(qsizetype at, quint32 v) {
        m_bytes[at] = char(v & 0xFF);
        m_bytes[at + 1] = char((v >> 8) & 0xFF);
    }
    qsizetype size() const { return m_bytes.size(); }
    void reserve(qsizetype n) { m_bytes.reserve(n); }
    QByteArray &data() { return m_bytes; }
    QByteArray take() { return std::move(m_bytes); }

private:
    QByteArray m_bytes;
};

/// Bounds-checked little-endian reads from a stream held in memory. A read
/// outside the stream answers 0 and sets failed(); callers check before they
/// trust a value that sizes anything.
class DocBytesIn {
public:
    explicit DocBytesIn(const QByteArray &bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}
    qint64 size() const { return m_size; }
    bool has(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    quint32 u8(qint64 at) const { return has(at, 1) ? quint8(m_data[at]) : fail(); }
    quint32 u16(qint64 at) const {
        if (!has(at, 2)) return fail();
        return quint32(quint8(m_data[at])) | quint32(quint8(m_data[at + 1])) << 8;
    }
    quint32 u32(qint64 at) const {
        if (!has(at, 4)) return fail();
        return u16(at) | u16(at + 2) << 16;
    }
    const char *at(qint64 offset) const { return m_data + offset; }
    bool failed() const { return m_failed; }

private:
    quint32 fail() const {
        m_failed = true;
        return 0;
    }
    const char *m_data;
    qint64 m_size;
    mutable bool m_failed = false;
};

}  // namespace office::doc
