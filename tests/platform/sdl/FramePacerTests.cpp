#include "platform/sdl/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using namespace std::chrono_literals;
using Clock = FramePacer::Clock;

TEST(FramePacerTest, SpacesFramesARefreshApartWithoutMakingUpLostTime)
{
    FramePacer pacer(50);  // 20 ms a refresh
    ASSERT_EQ(pacer.Period(), 20ms);
    struct Frame
    {
        Clock::duration arrives;  // since the first frame
        Clock::duration waits;
    };
    const std::vector<Frame> frames = {
        {0ms, 0ms},    // the first frame goes at once
        {5ms, 15ms},   // early: waits for the rest of the refresh
        {25ms, 15ms},  // timed from where the previous one went (20 ms), not from its arrival
        {90ms, 0ms},   // late: goes at once ...
        {95ms, 15ms},  // ... and the next is timed from it, no burst to catch up
        {130ms, 0ms},  // exactly a refresh after the previous frame went
    };
    const Clock::time_point start{};
    for (const Frame& frame : frames)
    {
        EXPECT_EQ(pacer.WaitBeforeFrame(start + frame.arrives), frame.waits)
            << "frame arriving at " << (frame.arrives / 1ms) << " ms";
    }
}

TEST(FramePacerTest, AnUnknownRefreshRateIsTakenAsSixtyHertz)
{
    for (const int unknown : {0, -1})
    {
        EXPECT_EQ(FramePacer(unknown).Period(), FramePacer(60).Period());
    }
    EXPECT_EQ(FramePacer().Period(), FramePacer(60).Period());
}
}  // namespace
