#include "office/memory/GrowableBlock.h"

#include "office/memory/MappedBlocks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace office::memory {

namespace {

bool isMapped(size_t bytes) { return bytes >= kMappedFrom; }

// Grows a mapped block: in place where the addresses behind it are free, else
// moved (page tables, not bytes) to another place.
void *growMapped(void *block, size_t oldBytes, size_t newBytes) {
    const size_t oldSize = wholePages(oldBytes), newSize = wholePages(newBytes);
    if (oldSize == newSize) return block;
    void *grown = mremap(block, oldSize, newSize, MREMAP_MAYMOVE);
    if (grown == MAP_FAILED) throw std::bad_alloc();
    return grown;
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
    void *fresh = isMapped(newBytes) ? mapBlock(newBytes) : std::malloc(std::max<size_t>(newBytes, 1));
    if (!fresh) throw std::bad_alloc();
    if (block) std::memcpy(fresh, block, std::min(oldBytes, newBytes));
    release(block, oldBytes);
    return fresh;
}

void GrowableBlock::release(void *block, size_t bytes) {
    if (!block) return;
    if (isMapped(bytes))
        unmapBlock(block, bytes);
    else
        std::free(block);
}

}  // namespace office::memory
