#include "office/memory/GrowableBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace office::memory {

namespace {

constexpr size_t kMappedFrom = size_t(1) << 20;
constexpr size_t kHugePage = size_t(2) << 20;

bool isMapped(size_t bytes) { return bytes >= kMappedFrom; }

// The whole mapping is advised: advising part of it would split it into several
// mappings, which mremap cannot grow as one.
void adviseHugePages(void *block, size_t bytes) { (void)madvise(block, bytes, MADV_HUGEPAGE); }

// Fresh pages that start on a huge page boundary: only whole, aligned 2 MiB
// stretches can be huge pages, and a block that moves keeps them only if both
// its places are aligned alike.
void *mapPages(size_t bytes) {
    const size_t span = bytes + kHugePage;
    void *mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
    const std::uintptr_t end = (aligned + bytes + pageSize - 1) & ~std::uintptr_t(pageSize - 1);
    if (aligned > start) munmap(mapped, aligned - start);
    if (start + span > end) munmap(reinterpret_cast<void *>(end), start + span - end);
    void *block = reinterpret_cast<void *>(aligned);
    adviseHugePages(block, bytes);
    return block;
}

// Grows a mapped block: in place where the addresses behind it are free, else
// moved (page tables, not bytes) to a fresh aligned place.
void *growMapped(void *block, size_t oldBytes, size_t newBytes) {
    if (void *grown = mremap(block, oldBytes, newBytes, 0); grown != MAP_FAILED) return grown;
    void *target = mapPages(newBytes);
    void *moved = mremap(block, oldBytes, newBytes, MREMAP_MAYMOVE | MREMAP_FIXED, target);
    if (moved == MAP_FAILED) {
        munmap(target, newBytes);
        throw std::bad_alloc();
    }
    return moved;
}

}  // namespace

void *GrowableBlock::resize(void *block, size_t oldBytes, size_t newBytes) {
    if (!block) oldBytes = 0;
    if (!isMapped(newBytes) && !isMapped(oldBytes)) {
        void *grown = std::realloc(block, std::max<size_t>(newBytes, 1));
        if (!grown) throw std::bad_alloc();
        return grown;
    }
    if (isMapped(newBytes) && isMapped(oldBytes)) return growMapped(block, oldBytes, newBytes);
    // Crossing between the two kinds: copy once.
    void *fresh = isMapped(newBytes) ? mapPages(newBytes) : std::malloc(std::max<size_t>(newBytes, 1));
    if (!fresh) throw std::bad_alloc();
    if (block) std::memcpy(fresh, block, std::min(oldBytes, newBytes));
    release(block, oldBytes);
    return fresh;
}

void GrowableBlock::release(void *block, size_t bytes) {
    if (!block) return;
    if (isMapped(bytes))
        munmap(block, bytes);
    else
        std::free(block);
}

}  // namespace office::memory
