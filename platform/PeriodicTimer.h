#pragma once

// A callback every period on a thread of its own: the machine's stand-in for a multimedia
// timer. Deadlines are absolute, so the callback's own run time does not stretch the period,
// and the callback never runs concurrently with itself. When the thread wakes late it runs
// the missed ticks back to back, at most kMaxTicksPerWake of them, drops the rest and goes on
// from the next whole period, so that a stall never turns into an endless burst.

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// What one wake-up of the timer thread does: the ticks due by nowNs for a pending deadline,
// and the deadline after them. Nothing is due before the deadline (an early wake).
struct TimerWake
{
    uint32_t ticksToRun = 0;
    int64_t nextDeadlineNs = 0;
};
TimerWake PlanTimerWake(int64_t nowNs, int64_t deadlineNs, int64_t periodNs);

class PeriodicTimer
{
public:
    using Tick = std::function<void()>;
    static constexpr uint32_t kMaxTicksPerWake = 25;

    PeriodicTimer() = default;
    PeriodicTimer(uint32_t periodMs, Tick tick);  // starts at once; see IsRunning
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // The first tick comes one period from now. False when the timer runs already, the
    // period is 0 or there is no callback.
    bool Start(uint32_t periodMs, Tick tick);

    // Returns once the callback has run for the last time: waits for a running tick and for
    // the thread's current sleep (at most one period). Never call it from the callback.
    void Stop();

    bool IsRunning() const { return thread_.joinable(); }

private:
    void Run(int64_t periodNs);

    Tick tick_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
