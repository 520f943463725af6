#pragma once

#include "office/memory/MappedBlocks.h"

#include <cstddef>
#include <new>

namespace office::memory {

/// Allocator for arrays that grow to megabytes (a sheet's cells, the string
/// table's index, a save's lists): blocks from kMappedFrom up come from
/// mapBlock, smaller ones from operator new.
template <typename T>
struct MappedAllocator {
    using value_type = T;

    MappedAllocator() = default;
    template <typename U>
    MappedAllocator(const MappedAllocator<U> &) {}

    T *allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMappedFrom) return static_cast<T *>(::operator new(bytes));
        return static_cast<T *>(mapBlock(bytes));
    }
    void deallocate(T *block, std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMappedFrom)
            ::operator delete(block);
        else
            unmapBlock(block, bytes);
    }

    template <typename U>
    bool operator==(const MappedAllocator<U> &) const {
        return true;
    }
};

}  // namespace office::memory
