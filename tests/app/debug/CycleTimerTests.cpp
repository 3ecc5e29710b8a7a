#include "app/debug/CycleTimer.h"

#include <gtest/gtest.h>

namespace
{

TEST(CycleTimerTest, ElapsedCountsOnFromStart)
{
    CycleTimer timer;
    timer.Start();
    volatile uint64_t sink = 0;
    for (int i = 0; i < 100000; ++i)
    {
        sink = sink + static_cast<uint64_t>(i);
    }
    const uint64_t first = timer.Elapsed();
    const uint64_t second = timer.Elapsed();
    EXPECT_GT(first, 0u);
    EXPECT_GE(second, first);
}

}  // namespace
