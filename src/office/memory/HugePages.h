#pragma once

#include <cstddef>

namespace office::memory {

/// The size of a transparent huge page on x86-64.
inline constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

/// Asks the kernel to back the whole 2 MiB pages inside a large block (a
/// workbook stream, a string table, a story) with transparent huge pages. The
/// first write into such a block then faults a few times instead of thousands,
/// which on virtual machines is most of the time spent filling it. Blocks that
/// hold no whole huge page are left alone; where the kernel declines, nothing
/// changes.
void adviseHugePages(void *block, std::size_t bytes);

}  // namespace office::memory
