// Large blocks for the workbook reader: the huge-page allocator and the background
// prefault must hand back exactly what was written, whatever the kernel grants.

#include "office/memory/BackgroundPrefault.h"
#include "office/memory/HugePageAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace office::memory;

TEST(HugePageAllocator, VectorKeepsItsItemsAcrossTheMappingThreshold) {
    std::vector<std::uint32_t, HugePageAllocator<std::uint32_t>> items;
    for (std::uint32_t i = 0; i < 3'000'000; ++i) items.push_back(i * 7);  // small blocks, then mapped ones
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(items.data()) % (std::uintptr_t(2) << 20), 0u);
    for (std::uint32_t i = 0; i < items.size(); i += 9973) ASSERT_EQ(items[i], i * 7);
    items.resize(1000);
    items.shrink_to_fit();  // back below the threshold: from operator new again
    ASSERT_EQ(items.size(), 1000u);
    EXPECT_EQ(items[999], 999u * 7);
}

TEST(BackgroundPrefault, OwnerWritesSurviveAndStoppingIsIdempotent) {
    const std::size_t bytes = (std::size_t(24) << 20) + 123;  // not a whole number of pages
    std::vector<unsigned char, HugePageAllocator<unsigned char>> block(bytes);
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
