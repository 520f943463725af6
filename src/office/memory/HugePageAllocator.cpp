#include "office/memory/HugePageAllocator.h"

#include "office/memory/HugePages.h"

#include <cstdint>

#include <sys/mman.h>

namespace office::memory {

namespace {

constexpr std::uintptr_t kHugePage = kHugePageBytes;

// Whole 2 MiB pages for bytes from a 2 MiB boundary, not yet advised.
void *mapAligned(std::size_t bytes) {
    const std::size_t length = wholeHugePages(bytes);
    if (length < bytes) throw std::bad_alloc();
    // Map one huge page more than needed and cut the block out at a 2 MiB boundary.
    void *mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(mapped, aligned - start);
    const std::uintptr_t end = start + length + kHugePage;
    if (end > aligned + length) munmap(reinterpret_cast<void *>(aligned + length), end - (aligned + length));
    return reinterpret_cast<void *>(aligned);
}

}  // namespace

std::size_t wholeHugePages(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

void *mapHugePages(std::size_t bytes) {
    void *block = mapAligned(bytes);
    (void)madvise(block, wholeHugePages(bytes), MADV_HUGEPAGE);  // where the kernel declines, small pages serve
    return block;
}

void *mapHugePagesFixed(std::size_t bytes) {
    void *block = mapAligned(bytes);
    adviseHugePages(block, bytes);  // the whole 2 MiB pages within bytes
    return block;
}

void unmapHugePages(void *block, std::size_t bytes) {
    if (block) munmap(block, wholeHugePages(bytes));
}

}  // namespace office::memory
