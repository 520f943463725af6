#pragma once

#include "office/memory/GrowableBlock.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace office::memory {

/// An array of plain items that only grows at its end, kept in a GrowableBlock:
/// growing moves page tables instead of copying the items. A workbook's texts
/// grow to tens of megabytes while an import writes them.
template <typename T>
class GrowableArray {
    static_assert(std::is_trivially_copyable_v<T>, "items are moved as bytes");

public:
    GrowableArray() = default;
    GrowableArray(const GrowableArray &) = delete;
    GrowableArray &operator=(const GrowableArray &) = delete;
    ~GrowableArray() { GrowableBlock::release(m_items, m_capacity * sizeof(T)); }

    const T *data() const { return m_items; }
    std::size_t size() const { return m_size; }

    /// Appends n items. Throws std::bad_alloc.
    void append(const T *items, std::size_t n) {
        if (n == 0) return;
        if (m_capacity - m_size < n) grow(n);
        std::memcpy(static_cast<void *>(m_items + m_size), items, n * sizeof(T));
        m_size += n;
    }
    void push_back(T item) { append(&item, 1); }
    /// Appends n items left for the caller to fill in; returns the first. Throws std::bad_alloc.
    T *extend(std::size_t n) {
        if (m_capacity - m_size < n) grow(n);
        T *items = m_items + m_size;
        m_size += n;
        return items;
    }

private:
    // Geometric growth keeps a long run of appends linear.
    void grow(std::size_t n) {
        const std::size_t capacity = std::max<std::size_t>(m_size + n + m_size / 2, 64);
        m_items = static_cast<T *>(GrowableBlock::resize(m_items, m_capacity * sizeof(T), capacity * sizeof(T)));
        m_capacity = capacity;
    }

    T *m_items = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

}  // namespace office::memory
