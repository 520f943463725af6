#include "office/memory/GrowableBlock.h"

#include "office/memory/HugePageAllocator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace office::memory {

namespace {

constexpr size_t kMappedFrom = size_t(1) << 20;

bool isMapped(size_t bytes) { return bytes >= kMappedFrom; }

// A mapped block is whole, aligned huge pages (mapHugePages): only whole 2 MiB
// stretches can be huge pages, a block that moves keeps them only if both its
// places are aligned alike, and a block that ended inside one would fault the
// last stretch written before a growth in 4 KiB pages that stay so after it.
// The whole mapping is advised: advising part of it would split it into several
// mappings, which mremap cannot grow as one.

// Grows a mapped block: in place where the addresses behind it are free, else
// moved (page tables, not bytes) to a fresh aligned place.
void *growMapped(void *block, size_t oldBytes, size_t newBytes) {
    const size_t oldSize = wholeHugePages(oldBytes), newSize = wholeHugePages(newBytes);
    if (oldSize == newSize) return block;
    if (void *grown = mremap(block, oldSize, newSize, 0); grown != MAP_FAILED) return grown;
    void *target = mapHugePages(newBytes);
    void *moved = mremap(block, oldSize, newSize, MREMAP_MAYMOVE | MREMAP_FIXED, target);
    if (moved == MAP_FAILED) {
        unmapHugePages(target, newBytes);
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
    void *fresh = isMapped(newBytes) ? mapHugePages(newBytes) : std::malloc(std::max<size_t>(newBytes, 1));
    if (!fresh) throw std::bad_alloc();
    if (block) std::memcpy(fresh, block, std::min(oldBytes, newBytes));
    release(block, oldBytes);
    return fresh;
}

void GrowableBlock::release(void *block, size_t bytes) {
    if (!block) return;
    if (isMapped(bytes))
        unmapHugePages(block, bytes);
    else
        std::free(block);
}

}  // namespace office::memory
