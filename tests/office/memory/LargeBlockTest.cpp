// Large blocks for the workbook reader and the stores that grow: the mapped
// allocator, growable blocks and the background prefault must hand back exactly
// what was written, whatever the kernel grants.

#include "office/memory/BackgroundPrefault.h"
#include "office/memory/GrowableBlock.h"
#include "office/memory/MappedAllocator.h"
#include "office/memory/MappedBlocks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include <sys/mman.h>

using namespace office::memory;

TEST(MappedAllocator, VectorKeepsItsItemsAcrossTheMappingThreshold) {
    std::vector<std::uint32_t, MappedAllocator<std::uint32_t>> items;
    for (std::uint32_t i = 0; i < 3'000'000; ++i) items.push_back(i * 7);  // small blocks, then mapped ones
    for (std::uint32_t i = 0; i < items.size(); i += 9973) ASSERT_EQ(items[i], i * 7);
    items.resize(1000);
    items.shrink_to_fit();  // back below the threshold: from operator new again
    ASSERT_EQ(items.size(), 1000u);
    EXPECT_EQ(items[999], 999u * 7);
}

TEST(GrowableBlock, KeepsItsBytesGrownInPlaceMovedAndShrunk) {
    const auto byteAt = [](std::size_t i) { return static_cast<unsigned char>(i * 31 + 1); };
    std::size_t size = 1000;
    auto *block = static_cast<unsigned char *>(GrowableBlock::resize(nullptr, 0, size));
    const auto fill = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) block[i] = byteAt(i);
    };
    const auto expectKept = [&](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(block[i], byteAt(i)) << "byte " << i << " of " << count;
    };
    fill(0, size);
    // From malloc to a mapping (copied), then grown where it lies.
    for (const std::size_t next : {(std::size_t(3) << 20) + 5, std::size_t(5) << 20}) {
        block = static_cast<unsigned char *>(GrowableBlock::resize(block, size, next));
        expectKept(size);
        fill(size, next);
        size = next;
    }
    // The addresses behind the block taken (by this test, or already by another
    // mapping): growing has to move it.
    void *behind = mmap(block + wholePages(size), 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE,
                        -1, 0);
    ASSERT_TRUE(behind != MAP_FAILED || errno == EEXIST) << std::strerror(errno);
    const unsigned char *before = block;
    block = static_cast<unsigned char *>(GrowableBlock::resize(block, size, std::size_t(9) << 20));
    EXPECT_NE(block, before);
    expectKept(size);
    if (behind != MAP_FAILED) munmap(behind, 4096);
    fill(size, std::size_t(9) << 20);
    size = std::size_t(9) << 20;
    // Back below the mapping threshold: copied into a small block.
    block = static_cast<unsigned char *>(GrowableBlock::resize(block, size, 500));
    expectKept(500);
    GrowableBlock::release(block, 500);
}

TEST(BackgroundPrefault, OwnerWritesSurviveAndStoppingIsIdempotent) {
    const std::size_t bytes = (std::size_t(24) << 20) + 123;  // not a whole number of pages
    std::vector<unsigned char, MappedAllocator<unsigned char>> block(bytes);
    BackgroundPrefault prefault(block.data(), block.size());
    for (std::size_t i = 0; i < bytes; ++i) block[i] = static_cast<unsigned char>(i * 31 + 1);
    prefault.stop();
    prefault.stop();
    for (std::size_t i = 0; i < bytes; ++i) ASSERT_EQ(block[i], static_cast<unsigned char>(i * 31 + 1)) << "byte " << i;
}

TEST(BackgroundPrefault, SmallAndEmptyBlocksStartNothing) {
    std::vector<char> small(1000, 'x');
    BackgroundPrefault none;
    BackgroundPrefault tiny(small.data(), small.size());
    BackgroundPrefault null(nullptr, std::size_t(64) << 20);
    EXPECT_EQ(small.front(), 'x');
}
