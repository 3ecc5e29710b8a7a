#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/util/LittleEndian.h"
#include "frontend/season/StartSlotStreams.h"

namespace
{
StartSlots ThreeSlots()
{
    StartSlots slots{};
    slots.count = 3;
    slots.firstPracticeSlot = 2;
    slots.gridHeading = 1.5f;
    slots.x = {};
    slots.x[0] = 10.0f;
    slots.x[1] = -4.5f;
    slots.x[2] = 100.04f;
    slots.z[0] = 1.0f;
    slots.z[1] = 2.0f;
    slots.z[2] = 3.0f;
    slots.node[0] = 7;
    slots.node[1] = 8;
    slots.node[2] = 4749;
    slots.x[3] = 99.0f;  // beyond the count
    return slots;
}

TEST(StartSlotStreams, EmptyBlocksStoreOnlyTheirHeads)
{
    StartSlots slots{};
    slots.count = 0;
    EXPECT_EQ(StoreStartSlots(slots).size(), 8u);
    EXPECT_EQ(StoreStartSlotsCompact(slots).size(), 6u);
}

TEST(StartSlotStreams, FullFormHoldsArraysOneAfterTheOtherAndReadsBack)
{
    const StartSlots slots = ThreeSlots();
    const std::vector<uint8_t> bytes = StoreStartSlots(slots);
    ASSERT_EQ(bytes.size(), 8u + 3 * 10);
    EXPECT_EQ(LoadLe16(&bytes[0]), 3);
    EXPECT_EQ(LoadLe16(&bytes[2]), 2);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&bytes[4])), 1.5f);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&bytes[8 + 4])), -4.5f) << "x of slot 1";
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&bytes[20 + 8])), 3.0f) << "z of slot 2";
    EXPECT_EQ(LoadLe16(&bytes[32 + 4]), 4749) << "node of slot 2";

    StartSlots loaded{};
    loaded.x.fill(-1.0f);
    ASSERT_TRUE(LoadStartSlots(bytes, loaded));
    EXPECT_EQ(loaded.count, 3);
    EXPECT_EQ(loaded.gridHeading, 1.5f);
    EXPECT_EQ(loaded.x[2], 100.04f);
    EXPECT_EQ(loaded.node[2], 4749);
    EXPECT_EQ(loaded.x[3], -1.0f) << "entries past the count are not touched";
}

TEST(StartSlotStreams, DamagedStreamsChangeNothing)
{
    const std::vector<uint8_t> valid = StoreStartSlots(ThreeSlots());
    std::vector<uint8_t> tooMany = valid;
    StoreLe16(&tooMany[0], 71);
    tooMany.resize(8 + 71 * 10, 0);
    for (const std::vector<uint8_t>& bytes :
         {std::vector<uint8_t>(valid.begin(), valid.begin() + 7),
          std::vector<uint8_t>(valid.begin(), valid.end() - 1), tooMany})
    {
        StartSlots slots = ThreeSlots();
        slots.count = 1;
        EXPECT_FALSE(LoadStartSlots(bytes, slots)) << bytes.size() << " bytes";
        EXPECT_EQ(slots.count, 1);
    }
}

TEST(StartSlotStreams, CompactFormTruncatesToItsUnits)
{
    StartSlots slots = ThreeSlots();
    slots.x[2] = std::numeric_limits<float>::infinity();
    slots.z[2] = std::nanf("");
    const std::vector<uint8_t> bytes = StoreStartSlotsCompact(slots);
    ASSERT_EQ(bytes.size(), 6u + 3 * 6);
    EXPECT_EQ(LoadLe16(&bytes[4]), 977) << "1.5 rad x 651.8986...";
    EXPECT_EQ(LoadLe16(&bytes[6]), 250);
    EXPECT_EQ(static_cast<int16_t>(LoadLe16(&bytes[12])), -112) << "-4.5 x 25, towards zero";
    EXPECT_EQ(LoadLe16(&bytes[16]), 8);
    EXPECT_EQ(LoadLe16(&bytes[18]), 0xFFFF) << "held at the largest integer";
    EXPECT_EQ(LoadLe16(&bytes[20]), 0) << "no number";
}

TEST(StartSlotStreams, CopyTakesTheCountedEntriesOnly)
{
    StartSlots to{};
    to.x.fill(5.0f);
    CopyStartSlots(to, ThreeSlots());
    EXPECT_EQ(to.count, 3);
    EXPECT_EQ(to.firstPracticeSlot, 2);
    EXPECT_EQ(to.x[1], -4.5f);
    EXPECT_EQ(to.node[2], 4749);
    EXPECT_EQ(to.x[3], 5.0f);
}
}  // namespace
