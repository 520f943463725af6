#pragma once

#include <cstddef>

namespace office::memory {

/// Raw memory for stores that grow to hundreds of megabytes (a long export's
/// story). Small blocks come from malloc; large ones are page mappings that grow
/// with mremap, so growing moves page tables instead of copying bytes, and
/// pages are touched only when items are written into them.
class GrowableBlock {
public:
    /// Resizes block (nullptr or from an earlier call, of oldBytes) to newBytes,
    /// keeping its first min(oldBytes, newBytes) bytes. Throws std::bad_alloc.
    static void *resize(void *block, size_t oldBytes, size_t newBytes);
    /// Releases a block of bytes from resize().
    static void release(void *block, size_t bytes);
};

}  // namespace office::memory
