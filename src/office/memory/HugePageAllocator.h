#pragma once

#include <cstddef>
#include <new>

namespace office::memory {

/// A block of at least bytes in whole, aligned 2 MiB pages that ask for transparent
/// huge pages. malloc hands out large blocks at arbitrary page offsets, so up to two
/// huge pages' worth at their edges would still be faulted in 4 KiB at a time.
/// Throws std::bad_alloc.
void *mapHugePages(std::size_t bytes);
/// The same for a block that never grows (an array allocated at its capacity): only
/// the whole 2 MiB pages within bytes ask for huge pages. A huge page for the last,
/// partial one would fault in up to 2 MiB the block never uses, on every array of
/// a few megabytes a save keeps.
void *mapHugePagesFixed(std::size_t bytes);
/// Releases a block from mapHugePages or mapHugePagesFixed of the same size.
void unmapHugePages(void *block, std::size_t bytes);
/// bytes rounded up to whole 2 MiB pages: what mapHugePages maps for them.
std::size_t wholeHugePages(std::size_t bytes);

/// Allocator for arrays that grow to megabytes while a workbook is read (a sheet's
/// cells, the string table's index): blocks from 1 MiB up come from
/// mapHugePagesFixed, smaller ones from operator new.
template <typename T>
struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t kMappedFrom = std::size_t(1) << 20;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U> &) {}

    T *allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMappedFrom) return static_cast<T *>(::operator new(bytes));
        return static_cast<T *>(mapHugePagesFixed(bytes));
    }
    void deallocate(T *block, std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMappedFrom)
            ::operator delete(block);
        else
            unmapHugePages(block, bytes);
    }

    template <typename U>
    bool operator==(const HugePageAllocator<U> &) const {
        return true;
    }
};

}  // namespace office::memory
