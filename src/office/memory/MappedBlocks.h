#pragma once

#include <cstddef>

namespace office::memory {

/// Blocks from this size up are mapped (mapBlock); smaller ones come from malloc,
/// where a few pages more or less do not matter.
inline constexpr std::size_t kMappedFrom = std::size_t(1) << 20;

/// A block of at least bytes, in whole pages mapped from the kernel rather than
/// taken from malloc: freeing it gives its memory straight back, and a block of
/// megabytes freed through malloc would raise malloc's threshold for mapping, so
/// that what is allocated next stays in its heap. Pages are touched only when
/// written. Throws std::bad_alloc.
///
/// The blocks do not ask for transparent huge pages. On the virtual machines we
/// measure on, a huge page is backed by memory the host has taken back more
/// often than not: its first write cost about 2 ms per MB, against 0.45 ms for
/// small pages, which come from memory just freed. Only right after another
/// large run were huge pages cheaper, so an import started as a user starts it
/// (after a few idle seconds) took 0.54 s with them and 0.48 s without.
void *mapBlock(std::size_t bytes);
/// Releases a block from mapBlock of the same size.
void unmapBlock(void *block, std::size_t bytes);
/// bytes rounded up to whole pages: what mapBlock maps for them.
std::size_t wholePages(std::size_t bytes);

}  // namespace office::memory
