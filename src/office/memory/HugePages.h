#pragma once

#include <cstddef>

namespace office::memory {

/// Asks the kernel to back the whole 2 MiB pages inside a large block (a
/// workbook stream, a string table, a story) with transparent huge pages. The
/// first write into such a block then faults a few times instead of thousands,
/// which on virtual machines is most of the time spent filling it. Blocks that
/// hold no whole huge page are left alone; where the kernel declines, nothing
/// changes.
void adviseHugePages(void *block, std::size_t bytes);

}  // namespace office::memory
