#include "office/memory/GrowableBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace office::memory {

namespace {

constexpr size_t kMappedFrom = size_t(1) << 20;

bool isMapped(size_t bytes) { return bytes >= kMappedFrom; }

// The whole mapping is advised: advising part of it would split it into several
// mappings, which mremap cannot grow as one.
void adviseHugePages(void *block, size_t bytes) { (void)madvise(block, bytes, MADV_HUGEPAGE); }

void *mapPages(size_t bytes) {
    void *block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    adviseHugePages(block, bytes);
    return block;
}

}  // namespace

void *GrowableBlock::resize(void *block, size_t oldBytes, size_t newBytes) {
    if (!block) oldBytes = 0;
    if (!isMapped(newBytes) && !isMapped(oldBytes)) {
        void *grown = std::realloc(block, std::max<size_t>(newBytes, 1));
        if (!grown) throw std::bad_alloc();
        return grown;
    }
    if (isMapped(newBytes) && isMapped(oldBytes)) {
        void *grown = mremap(block, oldBytes, newBytes, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED) throw std::bad_alloc();
        return grown;
    }
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
