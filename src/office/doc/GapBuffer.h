#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace office::doc {

/// A sequence of trivially copyable items with a movable gap, so that a run of
/// edits near one place (typing at the end, replacing while walking forward)
/// costs time proportional to the edit, not to the sequence.
template <typename T>
class GapBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    qsizetype size() const { return qsizetype(m_buf.size()) - gapLength(); }

    T at(qsizetype i) const { return i < m_gapStart ? m_buf[size_t(i)] : m_buf[size_t(i + gapLength())]; }
    T &ref(qsizetype i) { return i < m_gapStart ? m_buf[size_t(i)] : m_buf[size_t(i + gapLength())]; }

    /// Inserts n items copied from src at pos (0 <= pos <= size()).
    void insert(qsizetype pos, const T *src, qsizetype n) {
        if (n <= 0) return;
        makeRoom(n);
        moveGap(pos);
        std::memcpy(static_cast<void *>(m_buf.data() + m_gapStart), src, size_t(n) * sizeof(T));
        m_gapStart += n;
    }
    /// Inserts n copies of value at pos.
    void insertFill(qsizetype pos, qsizetype n, const T &value) {
        if (n <= 0) return;
        makeRoom(n);
        moveGap(pos);
        std::fill(m_buf.begin() + m_gapStart, m_buf.begin() + m_gapStart + n, value);
        m_gapStart += n;
    }
    /// Removes n items starting at pos.
    void remove(qsizetype pos, qsizetype n) {
        if (n <= 0) return;
        moveGap(pos);
        m_gapEnd += n;
    }
    /// Copies n items starting at pos into dst.
    void copyTo(qsizetype pos, qsizetype n, T *dst) const {
        const qsizetype before = std::clamp<qsizetype>(m_gapStart - pos, 0, n);
        if (before > 0) std::memcpy(static_cast<void *>(dst), m_buf.data() + pos, size_t(before) * sizeof(T));
        if (n > before)
            std::memcpy(static_cast<void *>(dst + before), m_buf.data() + pos + before + gapLength(),
                        size_t(n - before) * sizeof(T));
    }
    void clear() {
        m_buf.clear();
        m_gapStart = m_gapEnd = 0;
    }

private:
    qsizetype gapLength() const { return m_gapEnd - m_gapStart; }

    void moveGap(qsizetype pos) {
        if (pos < m_gapStart) {
            const qsizetype n = m_gapStart - pos;
            std::memmove(static_cast<void *>(m_buf.data() + m_gapEnd - n), m_buf.data() + pos, size_t(n) * sizeof(T));
            m_gapStart -= n;
            m_gapEnd -= n;
        } else if (pos > m_gapStart) {
            const qsizetype n = pos - m_gapStart;
            std::memmove(static_cast<void *>(m_buf.data() + m_gapStart), m_buf.data() + m_gapEnd, size_t(n) * sizeof(T));
            m_gapStart += n;
            m_gapEnd += n;
        }
    }

    // Grows geometrically so that a long run of insertions stays linear.
    void makeRoom(qsizetype n) {
        if (gapLength() >= n) return;
        const qsizetype used = size();
        const qsizetype capacity = std::max<qsizetype>(used + n + used / 2, 64);
        std::vector<T> grown(static_cast<size_t>(capacity));
        const qsizetype tail = qsizetype(m_buf.size()) - m_gapEnd;
        if (m_gapStart > 0)
            std::memcpy(static_cast<void *>(grown.data()), m_buf.data(), size_t(m_gapStart) * sizeof(T));
        if (tail > 0)
            std::memcpy(static_cast<void *>(grown.data() + capacity - tail), m_buf.data() + m_gapEnd,
                        size_t(tail) * sizeof(T));
        m_gapEnd = capacity - tail;
        m_buf.swap(grown);
    }

    std::vector<T> m_buf;
    qsizetype m_gapStart = 0;
    qsizetype m_gapEnd = 0;
};

}  // namespace office::doc
