#include "platform/PeriodicTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
using namespace std::chrono_literals;

constexpr int64_t kPeriodNs = 2'000'000;
constexpr int64_t kDeadlineNs = 1'000'000'000;

TEST(PlanTimerWakeTest, RunsWhatIsDueUpToTheCapAndDropsTheRest)
{
    struct Case
    {
        const char* what;
        int64_t nowNs;
        uint32_t ticksToRun;
        int64_t nextDeadlineNs;
    };
    const Case cases[] = {
        {"early wake", kDeadlineNs - 1, 0, kDeadlineNs},
        {"on time", kDeadlineNs, 1, kDeadlineNs + kPeriodNs},
        {"late within the period", kDeadlineNs + kPeriodNs - 1, 1, kDeadlineNs + kPeriodNs},
        {"one period late", kDeadlineNs + kPeriodNs, 2, kDeadlineNs + 2 * kPeriodNs},
        {"two and a half periods late", kDeadlineNs + 5 * kPeriodNs / 2, 3,
         kDeadlineNs + 3 * kPeriodNs},
        {"exactly at the cap", kDeadlineNs + 24 * kPeriodNs, 25, kDeadlineNs + 25 * kPeriodNs},
        {"stalled: the rest dropped, next deadline after now", kDeadlineNs + 100 * kPeriodNs + 7,
         25, kDeadlineNs + 101 * kPeriodNs},
    };
    for (const Case& c : cases)
    {
        const TimerWake wake = PlanTimerWake(c.nowNs, kDeadlineNs, kPeriodNs);
        EXPECT_EQ(wake.ticksToRun, c.ticksToRun) << c.what;
        EXPECT_EQ(wake.nextDeadlineNs, c.nextDeadlineNs) << c.what;
        EXPECT_GT(wake.nextDeadlineNs, c.nowNs) << c.what;
    }
}

// Waits (generously, this is no timing test) until the count reaches `atLeast`.
bool WaitForTicks(const std::atomic<int>& ticks, int atLeast)
{
    const auto giveUp = std::chrono::steady_clock::now() + 10s;
    while (ticks.load() < atLeast && std::chrono::steady_clock::now() < giveUp)
    {
        std::this_thread::sleep_for(1ms);
    }
    return ticks.load() >= atLeast;
}

TEST(PeriodicTimerTest, TicksUntilStoppedAndNotAfter)
{
    std::atomic<int> ticks{0};
    PeriodicTimer timer(2, [&] { ++ticks; });
    ASSERT_TRUE(timer.IsRunning());
    ASSERT_TRUE(WaitForTicks(ticks, 3));

    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    const int afterStop = ticks.load();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(ticks.load(), afterStop);
}

TEST(PeriodicTimerTest, StopsWhenDestroyed)
{
    std::atomic<int> ticks{0};
    {
        const PeriodicTimer timer(1, [&] { ++ticks; });
        ASSERT_TRUE(WaitForTicks(ticks, 1));
    }
    const int afterDestruction = ticks.load();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(ticks.load(), afterDestruction);
}

TEST(PeriodicTimerTest, RefusesANullPeriodNoCallbackAndASecondStart)
{
    PeriodicTimer timer;
    EXPECT_FALSE(timer.Start(0, [] {}));
    EXPECT_FALSE(timer.Start(2, nullptr));
    EXPECT_FALSE(timer.IsRunning());

    std::atomic<int> first{0};
    std::atomic<int> second{0};
    ASSERT_TRUE(timer.Start(2, [&] { ++first; }));
    EXPECT_FALSE(timer.Start(2, [&] { ++second; }));
    ASSERT_TRUE(WaitForTicks(first, 1));
    timer.Stop();
    EXPECT_EQ(second.load(), 0);

    ASSERT_TRUE(timer.Start(2, [&] { ++second; }));  // a stopped timer starts again
    EXPECT_TRUE(WaitForTicks(second, 1));
}

// A callback slower than the period makes every wake late, so the catch-up runs ticks back to
// back; they still never overlap.
TEST(PeriodicTimerTest, NeverRunsTheCallbackConcurrentlyWithItself)
{
    std::atomic<bool> inside{false};
    std::atomic<bool> overlapped{false};
    std::atomic<int> ticks{0};
    PeriodicTimer timer(1,
                        [&]
                        {
                            if (inside.exchange(true))
                            {
                                overlapped = true;
                            }
                            std::this_thread::sleep_for(3ms);
                            inside = false;
                            ++ticks;
                        });
    ASSERT_TRUE(WaitForTicks(ticks, 10));
    timer.Stop();
    EXPECT_FALSE(overlapped.load());
}
}  // namespace
