#pragma once

#include <QtGlobal>

#include "office/memory/GrowableBlock.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace office::doc {

/// A sequence of trivially copyable items with a movable gap, so that a run of
/// edits near one place (typing at the end, replacing while walking forward)
/// costs time proportional to the edit, not to the sequence.
/// The store is a GrowableBlock: a long export builds stories of hundreds of
/// megabytes, where zero-filled copies and page faults would otherwise dominate.
template <typename T>
class GapBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GapBuffer() = default;
    GapBuffer(const GapBuffer &other) { *this = other; }
    GapBuffer &operator=(const GapBuffer &other) {
        if (this == &other) return *this;
        clear();
        const qsizetype n = other.size();
        makeRoom(n);
        other.copyTo(0, n, m_buf);
        m_gapStart = n;
        return *this;
    }
    GapBuffer(GapBuffer &&other) noexcept { swap(other); }
    GapBuffer &operator=(GapBuffer &&other) noexcept {
        swap(other);
        return *this;
    }
    ~GapBuffer() { memory::GrowableBlock::release(m_buf, bytes(m_capacity)); }

    qsizetype size() const { return m_capacity - gapLength(); }

    T at(qsizetype i) const { return i < m_gapStart ? m_buf[i] : m_buf[i + gapLength()]; }
    T &ref(qsizetype i) { return i < m_gapStart ? m_buf[i] : m_buf[i + gapLength()]; }

    /// Inserts n items copied from src at pos (0 <= pos <= size()).
    void insert(qsizetype pos, const T *src, qsizetype n) {
        if (n <= 0) return;
        makeRoom(n);
        moveGap(pos);
        std::memcpy(static_cast<void *>(m_buf + m_gapStart), src, size_t(n) * sizeof(T));
        m_gapStart += n;
    }
    /// Inserts n copies of value at pos.
    void insertFill(qsizetype pos, qsizetype n, const T &value) {
        if (n <= 0) return;
        makeRoom(n);
        moveGap(pos);
        std::fill(m_buf + m_gapStart, m_buf + m_gapStart + n, value);
        m_gapStart += n;
    }
    /// Makes room for n items at pos and returns where they go; the caller fills
    /// all n before the buffer is used again. Saves copying items that are made
    /// one by one into an array of their own first.
    T *insertSlots(qsizetype pos, qsizetype n) {
        if (n <= 0) return m_buf + m_gapStart;
        makeRoom(n);
        moveGap(pos);
        T *slots = m_buf + m_gapStart;
        m_gapStart += n;
        return slots;
    }
    /// Calls visit(items, count) for the one or two pieces of [pos, pos + n) that
    /// lie in one piece of memory, in order.
    template <typename Visit>
    void forEachPiece(qsizetype pos, qsizetype n, Visit visit) const {
        const qsizetype before = std::clamp<qsizetype>(m_gapStart - pos, 0, n);
        if (before > 0) visit(m_buf + pos, before);
        if (n > before) visit(m_buf + pos + before + gapLength(), n - before);
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
        if (before > 0) std::memcpy(static_cast<void *>(dst), m_buf + pos, size_t(before) * sizeof(T));
        if (n > before)
            std::memcpy(static_cast<void *>(dst + before), m_buf + pos + before + gapLength(),
                        size_t(n - before) * sizeof(T));
    }
    /// The n items from pos in place when they lie on one side of the gap, else nullptr.
    const T *contiguous(qsizetype pos, qsizetype n) const {
        if (pos + n <= m_gapStart) return m_buf + pos;
        if (pos >= m_gapStart) return m_buf + pos + gapLength();
        return nullptr;
    }
    /// Room for n items in all before the store has to grow again.
    void reserve(qsizetype n) {
        if (n > size()) makeRoom(n - size());
    }
    /// Gives back the room behind the last item (the gap goes to the end): an
    /// edit at the front then moves the items within pages already in use.
    void shrinkToFit() {
        closeGap();
        const qsizetype used = size();
        if (used == 0) return clear();
        if (used == m_capacity) return;
        m_buf = static_cast<T *>(memory::GrowableBlock::resize(m_buf, bytes(m_capacity), bytes(used)));
        m_capacity = m_gapStart = m_gapEnd = used;
    }
    /// Moves the gap behind the last item, so that all items lie in one piece.
    void closeGap() { moveGap(size()); }
    /// Removes every item but keeps the room, so that refilling touches no fresh memory.
    void removeAll() {
        m_gapStart = 0;
        m_gapEnd = m_capacity;
    }
    void clear() {
        memory::GrowableBlock::release(m_buf, bytes(m_capacity));
        m_buf = nullptr;
        m_capacity = m_gapStart = m_gapEnd = 0;
    }

private:
    qsizetype gapLength() const { return m_gapEnd - m_gapStart; }
    static size_t bytes(qsizetype items) { return size_t(items) * sizeof(T); }

    void swap(GapBuffer &other) noexcept {
        std::swap(m_buf, other.m_buf);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_gapStart, other.m_gapStart);
        std::swap(m_gapEnd, other.m_gapEnd);
    }

    void moveGap(qsizetype pos) {
        if (m_gapStart == m_gapEnd) {  // no gap (a story read and shrunk to fit): nothing moves
            m_gapStart = m_gapEnd = pos;
            return;
        }
        if (pos < m_gapStart) {
            const qsizetype n = m_gapStart - pos;
            std::memmove(static_cast<void *>(m_buf + m_gapEnd - n), m_buf + pos, size_t(n) * sizeof(T));
            m_gapStart -= n;
            m_gapEnd -= n;
        } else if (pos > m_gapStart) {
            const qsizetype n = pos - m_gapStart;
            std::memmove(static_cast<void *>(m_buf + m_gapStart), m_buf + m_gapEnd, size_t(n) * sizeof(T));
            m_gapStart += n;
            m_gapEnd += n;
        }
    }

    // Grows geometrically so that a long run of insertions stays linear. The
    // items behind the gap move to the new end; while text is added at the end
    // of a story they are only its last few characters.
    void makeRoom(qsizetype n) {
        if (gapLength() >= n) return;
        const qsizetype used = size();
        const qsizetype capacity = std::max<qsizetype>(used + n + used / 2, 64);
        const qsizetype tail = m_capacity - m_gapEnd;
        m_buf = static_cast<T *>(memory::GrowableBlock::resize(m_buf, bytes(m_capacity), bytes(capacity)));
        if (tail > 0)
            std::memmove(static_cast<void *>(m_buf + capacity - tail), m_buf + m_gapEnd, size_t(tail) * sizeof(T));
        m_gapEnd = capacity - tail;
        m_capacity = capacity;
    }

    T *m_buf = nullptr;
    qsizetype m_capacity = 0;
    qsizetype m_gapStart = 0;
    qsizetype m_gapEnd = 0;
};

}  // namespace office::doc
