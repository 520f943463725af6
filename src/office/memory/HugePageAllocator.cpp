#include "office/memory/HugePageAllocator.h"

#include <cstdint>

#include <sys/mman.h>

namespace office::memory {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;

// Whole 2 MiB pages for bytes from a 2 MiB boundary; the first `advised` bytes ask for huge pages.
void *mapAligned(std::size_t bytes, std::size_t advised) {
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
    auto *block = reinterpret_cast<void *>(aligned);
    if (advised > 0) (void)madvise(block, advised, MADV_HUGEPAGE);  // where the kernel declines, small pages serve
    return block;
}

}  // namespace

std::size_t wholeHugePages(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

void *mapHugePages(std::size_t bytes) { return mapAligned(bytes, wholeHugePages(bytes)); }

void *mapHugePagesFixed(std::size_t bytes) { return mapAligned(bytes, bytes & ~std::size_t(kHugePage - 1)); }

void unmapHugePages(void *block, std::size_t bytes) {
    if (block) munmap(block, wholeHugePages(bytes));
}

}  // namespace office::memory
