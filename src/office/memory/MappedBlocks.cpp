#include "office/memory/MappedBlocks.h"

#include <new>

#include <sys/mman.h>

namespace office::memory {

namespace {

constexpr std::size_t kPage = 4096;

}  // namespace

std::size_t wholePages(std::size_t bytes) { return (bytes + kPage - 1) & ~(kPage - 1); }

void *mapBlock(std::size_t bytes) {
    const std::size_t length = wholePages(bytes);
    if (length < bytes || length == 0) throw std::bad_alloc();
    void *block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    return block;
}

void unmapBlock(void *block, std::size_t bytes) {
    if (block) munmap(block, wholePages(bytes));
}

}  // namespace office::memory
