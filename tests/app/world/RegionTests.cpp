// The 3D region's blocks and links.

#include <gtest/gtest.h>

#include "core/world/Region.h"
#include "core/world/RegionRef.h"

namespace
{
constexpr uint32_t kMiB = 1u << 20;

TEST(Region, BlocksAreAlignedAndGivenBack)
{
    ASSERT_TRUE(region::Reserve());
    const uint32_t small = region::Allocate(1);
    EXPECT_GE(small, region::kFirstUsableOffset);
    EXPECT_EQ(small % region::kAlignment, 0u);
    EXPECT_GE(region::BlockSize(small), 1u);

    // Two halves fill the region; freed, they join into one block again.
    const uint32_t first = region::Allocate(30 * kMiB);
    const uint32_t second = region::Allocate(30 * kMiB);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(region::Allocate(30 * kMiB), 0u);
    region::Free(first);
    region::Free(second);
    const uint32_t whole = region::Allocate(60 * kMiB);
    EXPECT_NE(whole, 0u);
    region::Free(whole);
    region::Free(small);
    EXPECT_EQ(region::Allocate(region::kSize), 0u);
}

TEST(Region, LinksAreOffsetsFromTheBase)
{
    ASSERT_TRUE(region::Reserve());
    const uint32_t block = region::Allocate(64);
    auto* words = reinterpret_cast<uint32_t*>(region::Address(block));
    const RegionRef<uint32_t> link = RegionRef<uint32_t>::To(words + 3);
    EXPECT_EQ(link.Offset(), block + 12);
    EXPECT_EQ(link.get(), words + 3);
    EXPECT_FALSE(RegionRef<uint32_t>::To(nullptr));
    EXPECT_EQ(RegionRef<uint32_t>::FromOffset(0).get(), nullptr);
    // Any address inside the region names it.
    EXPECT_TRUE(region::AdoptContaining(words + 7));
    EXPECT_TRUE(region::Contains(words, 64));
    EXPECT_FALSE(region::Contains(region::Base() + region::kSize - 4, 8));
    region::Free(block);
}
}  // namespace
