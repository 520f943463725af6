#pragma once

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace office::doc {

/// The RTF writer's output: bytes appended at the end of one growing block.
/// QByteArray's own appends check for sharing and aliasing on every call, which
/// the writer makes several times per run of text.
///
/// A buffer made for a device passes its bytes on whenever a chunk has gathered,
/// so that writing a file of hundreds of megabytes needs one chunk of memory, not
/// a copy of the whole file.
class RtfBuffer {
public:
    RtfBuffer() = default;
    /// Writes to `device` in pieces of about `chunk` bytes (flush() sends the rest).
    RtfBuffer(QIODevice *device, qsizetype chunk) : m_device(device) { makeRoom(chunk); }
    RtfBuffer(const RtfBuffer &) = delete;
    RtfBuffer &operator=(const RtfBuffer &) = delete;

    void append(char c) {
        makeRoom(1);
        m_data[m_size++] = c;
    }
    void append(const char *bytes, qsizetype n) {
        makeRoom(n);
        std::memcpy(m_data + m_size, bytes, size_t(n));
        m_size += n;
    }
    /// A NUL-terminated string, mostly a literal whose length the compiler knows.
    void append(const char *text) { append(text, qsizetype(std::strlen(text))); }
    void append(const QByteArray &bytes) { append(bytes.constData(), bytes.size()); }

    /// Room for n more bytes at the end, to be filled and then committed.
    char *room(qsizetype n) {
        makeRoom(n);
        return m_data + m_size;
    }
    /// Counts n bytes written into room() as appended.
    void commit(qsizetype n) { m_size += n; }

    /// Bytes appended so far, those already passed to the device included.
    qsizetype size() const { return m_passed + m_size; }
    void reserve(qsizetype n) { makeRoom(n); }
    /// The bytes written; the buffer is empty afterwards. For a buffer without a device.
    QByteArray take() {
        m_bytes.truncate(m_size);
        QByteArray out = std::move(m_bytes);
        m_bytes = QByteArray();
        m_data = nullptr;
        m_size = m_capacity = 0;
        return out;
    }
    /// Passes the bytes gathered to the device. False once any write to it fell
    /// short; later bytes are then dropped, and the caller gives the file up.
    bool flush() {
        if (m_device && m_size > 0) {
            if (!m_failed && m_device->write(m_data, m_size) != m_size) m_failed = true;
            m_passed += m_size;
            m_size = 0;
        }
        return !m_failed;
    }

private:
    void makeRoom(qsizetype n) {
        if (m_size + n <= m_capacity) return;
        if (m_device && m_size > 0) {  // the chunk is full: pass it on and start again
            flush();
            if (n <= m_capacity) return;
        }
        m_bytes.resize(std::max({m_capacity * 2, m_size + n, qsizetype(256)}));  // new bytes are not filled
        m_data = m_bytes.data();
        m_capacity = m_bytes.size();
    }

    QByteArray m_bytes;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    QIODevice *m_device = nullptr;
    qsizetype m_passed = 0;  // bytes already handed to the device
    bool m_failed = false;
};

}  // namespace office::doc
