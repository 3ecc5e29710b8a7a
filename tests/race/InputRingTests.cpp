#include "race/InputRing.h"

#include <gtest/gtest.h>

namespace
{

TEST(InputRingTest, AnEntryCountsOnlyForTheStepItHolds)
{
    InputRing ring;
    EXPECT_FALSE(ring.Read(0).has_value()) << "empty";
    EXPECT_FALSE(ring.Read(InputRing::kEmpty).has_value());

    const InputFrame frame{-127, 99, 64, InputFrame::kWheelie | InputFrame::kShiftUp};
    ring.Publish(300, frame);
    EXPECT_EQ(ring.Read(300), frame);
    EXPECT_FALSE(ring.Read(300 - 256).has_value()) << "same slot, other step";
    EXPECT_FALSE(ring.Read(301).has_value());

    ring.Publish(300 + 256, InputFrame{});
    EXPECT_FALSE(ring.Read(300).has_value()) << "overwritten";
    EXPECT_EQ(ring.Read(556), InputFrame{});

    ring.Clear();
    EXPECT_FALSE(ring.Read(556).has_value());
}

}  // namespace
