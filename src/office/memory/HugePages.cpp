#include "office/memory/HugePages.h"

#include <cstdint>

#include <sys/mman.h>

namespace office::memory {

void adviseHugePages(void *block, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = kHugePageBytes;
    if (!block || bytes < kHugePage) return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > begin) (void)madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace office::memory
