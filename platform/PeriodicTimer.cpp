#include "platform/PeriodicTimer.h"

#include <time.h>

#include <algorithm>
#include <cassert>
#include <utility>

namespace
{
constexpr int64_t kNsPerSecond = 1'000'000'000;
constexpr int64_t kNsPerMs = 1'000'000;

int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kNsPerSecond + now.tv_nsec;
}

// May return early when a signal interrupts the sleep; the caller re-plans from the clock.
void SleepUntil(int64_t deadlineNs)
{
    const timespec deadline{static_cast<time_t>(deadlineNs / kNsPerSecond),
                            static_cast<long>(deadlineNs % kNsPerSecond)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
}
}  // namespace

TimerWake PlanTimerWake(int64_t nowNs, int64_t deadlineNs, int64_t periodNs)
{
    assert(periodNs > 0);
    if (nowNs < deadlineNs)
    {
        return {0, deadlineNs};
    }
    const int64_t ticksDue = (nowNs - deadlineNs) / periodNs + 1;
    const auto ticksToRun =
        static_cast<uint32_t>(std::min<int64_t>(ticksDue, PeriodicTimer::kMaxTicksPerWake));
    // Ticks beyond the cap are dropped: the next deadline is the first one after now.
    return {ticksToRun, deadlineNs + ticksDue * periodNs};
}

PeriodicTimer::PeriodicTimer(uint32_t periodMs, Tick tick)
{
    Start(periodMs, std::move(tick));
}

PeriodicTimer::~PeriodicTimer()
{
    Stop();
}

bool PeriodicTimer::Start(uint32_t periodMs, Tick tick)
{
    if (IsRunning() || periodMs == 0 || !tick)
    {
        return false;
    }
    tick_ = std::move(tick);
    stopping_.store(false, std::memory_order_relaxed);
    thread_ = std::thread(&PeriodicTimer::Run, this, int64_t{periodMs} * kNsPerMs);
    return true;
}

void PeriodicTimer::Stop()
{
    if (!IsRunning())
    {
        return;
    }
    assert(std::this_thread::get_id() != thread_.get_id() && "a timer cannot stop itself");
    stopping_.store(true, std::memory_order_relaxed);
    thread_.join();
    tick_ = nullptr;
}

void PeriodicTimer::Run(int64_t periodNs)
{
    int64_t deadlineNs = MonotonicNs() + periodNs;
    while (!stopping_.load(std::memory_order_relaxed))
    {
        SleepUntil(deadlineNs);
        const TimerWake wake = PlanTimerWake(MonotonicNs(), deadlineNs, periodNs);
        for (uint32_t i = 0; i < wake.ticksToRun && !stopping_.load(std::memory_order_relaxed); ++i)
        {
            tick_();
        }
        deadlineNs = wake.nextDeadlineNs;
    }
}
