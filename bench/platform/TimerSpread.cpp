// Runs the real periodic timer at the game's 2 ms for 10 s and prints how evenly the ticks
// came: the spread of the intervals between them and how many came late.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/PeriodicTimer.h"

namespace
{
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr uint32_t kPeriodMs = 2;
constexpr auto kRunTime = 10s;
constexpr auto kPeriod = std::chrono::milliseconds(kPeriodMs);
// An interval this long means the tick came at least half a period after its deadline.
constexpr auto kLateInterval = kPeriod * 3 / 2;

double Microseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::micro>(duration).count();
}
}  // namespace

int main()
{
    const size_t expectedTicks = kRunTime / kPeriod;
    std::vector<Clock::time_point> ticks;
    ticks.reserve(expectedTicks * 2);  // the callback never allocates
    {
        const PeriodicTimer timer(kPeriodMs,
                                  [&]
                                  {
                                      if (ticks.size() < ticks.capacity())
                                      {
                                          ticks.push_back(Clock::now());
                                      }
                                  });
        std::this_thread::sleep_for(kRunTime);
    }  // stopped and joined: the ticks are ours to read

    if (ticks.size() < 2)
    {
        std::printf("bench_timer: only %zu ticks in %lld s\n", ticks.size(),
                    static_cast<long long>(kRunTime.count()));
        return 1;
    }
    std::vector<Clock::duration> intervals;
    intervals.reserve(ticks.size() - 1);
    for (size_t i = 1; i < ticks.size(); ++i)
    {
        intervals.push_back(ticks[i] - ticks[i - 1]);
    }
    const auto late =
        std::count_if(intervals.begin(), intervals.end(),
                      [](Clock::duration interval) { return interval > kLateInterval; });
    std::sort(intervals.begin(), intervals.end());
    const auto at = [&](double fraction)
    { return Microseconds(intervals[static_cast<size_t>(fraction * (intervals.size() - 1))]); };

    std::printf("bench_timer: period %u ms for %lld s\n", kPeriodMs,
                static_cast<long long>(kRunTime.count()));
    std::printf("ticks: %zu (expected %zu)\n", ticks.size(), expectedTicks);
    std::printf("interval us: min %.0f  median %.0f  p99 %.0f  max %.0f\n", at(0.0), at(0.5),
                at(0.99), at(1.0));
    std::printf("late ticks (interval above %.0f us): %td\n", Microseconds(kLateInterval), late);
    return 0;
}
