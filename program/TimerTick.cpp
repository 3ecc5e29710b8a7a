#include <algorithm>

#include "program/TimerTick.h"

#include "app/clock/RaceClock.h"
#include "core/util/Message.h"
#include "net/NetSession.h"
#include "program/InputStep.h"
#include "sound/WaveOutput.h"

namespace
{
constexpr int32_t kTickMs = static_cast<int32_t>(kTimerPeriodMs);
constexpr int32_t kInputRequestRepeatMs = 200;

bool IsRaceTimeHeld()
{
    return g_clockHold.load(std::memory_order_relaxed) ||
           g_racePaused.load(std::memory_order_relaxed) ||
           g_pumpWatchdogMs.load(std::memory_order_relaxed) >= kPumpWatchdogLimitMs;
}

// The menus may set the countdown at any time; a tick never overwrites a value it did not
// count down from.
void CountDownMenuDelay()
{
    int32_t delayMs = g_menuDelayMs.load(std::memory_order_relaxed);
    while (delayMs > 0 && !g_menuDelayMs.compare_exchange_weak(
                              delayMs, std::max(delayMs - kTickMs, 0), std::memory_order_relaxed))
    {
    }
}
}  // namespace

bool TimerTick::Start()
{
    Stop();
    Platform& platform = CurrentPlatform();
    timerId_ = platform.StartPeriodicTimer(kTimerPeriodMs, [this] { Run(); });
    if (timerId_ == 0)
    {
        ShowMessage("Timer initialization failed!");
        return false;
    }
    timerPlatform_ = &platform;
    return true;
}

void TimerTick::Stop()
{
    if (timerId_ == 0)
    {
        return;
    }
    timerPlatform_->KillTimer(timerId_);
    timerId_ = 0;
    timerPlatform_ = nullptr;
}

void TimerTick::SetWaveOutput(WaveOutput* output)
{
    const std::lock_guard lock(soundMutex_);
    waveOutput_ = output;
}

void TimerTick::Run()
{
    PumpSound();
    const bool network = g_net.IsActive();
    if (network)
    {
        StepNetwork();
    }
    AdvanceRaceTime(network);
    g_timerMs.fetch_add(kTimerPeriodMs, std::memory_order_relaxed);
    CountDownMenuDelay();
}

void TimerTick::PumpSound()
{
    const std::lock_guard lock(soundMutex_);
    if (waveOutput_ == nullptr)
    {
        return;
    }
    const int32_t periodMs = waveOutput_->GetPeriodMs();
    if (periodMs <= 0)
    {
        return;
    }
    int32_t gatheredMs = g_soundPumpMs.load(std::memory_order_relaxed) + kTickMs;
    while (gatheredMs > periodMs)
    {
        gatheredMs -= periodMs;
        waveOutput_->Pump();
    }
    g_soundPumpMs.store(gatheredMs, std::memory_order_relaxed);
}

void TimerTick::StepNetwork()
{
    g_net.Receive();
    g_net.CountDownTimers(kTickMs);
    g_net.ResendPending();
    g_net.CheckTimeouts();
}

void TimerTick::AdvanceRaceTime(bool network)
{
    const std::lock_guard lock(g_raceClockMutex);
    if (IsRaceTimeHeld())
    {
        HoldRaceTime(network);
        return;
    }
    const uint32_t stepMs = kTimerPeriodMs * g_clockRate.load(std::memory_order_relaxed);
    const bool clockOn = g_raceClockOn.load(std::memory_order_relaxed);
    const bool sessionRuns = network && g_net.RaceStarted();
    if (clockOn)
    {
        g_pumpWatchdogMs.fetch_add(static_cast<int32_t>(stepMs), std::memory_order_relaxed);
        const int32_t inputStepMs =
            g_inputStepMs.load(std::memory_order_relaxed) + static_cast<int32_t>(stepMs);
        // At most one input step per tick, however fast the clock runs.
        const bool stepDue = inputStepMs >= kInputStepMs;
        g_inputStepMs.store(stepDue ? inputStepMs - kInputStepMs : inputStepMs,
                            std::memory_order_relaxed);
        if (stepDue)
        {
            inputStep_.Run(network, sessionRuns);
        }
        if (g_inputTick.load(std::memory_order_relaxed) >=
            g_raceStartTick.load(std::memory_order_relaxed))
        {
            g_waitingForStart.store(false, std::memory_order_relaxed);
        }
    }
    // A network race keeps the session's time whether or not the race loop runs.
    if (network ? sessionRuns : clockOn)
    {
        g_raceClockMs.fetch_add(stepMs, std::memory_order_relaxed);
    }
}

void TimerTick::HoldRaceTime(bool network)
{
    const int32_t heldMs = g_holdMs.load(std::memory_order_relaxed) + kTickMs;
    if (heldMs < kInputRequestRepeatMs)
    {
        g_holdMs.store(heldMs, std::memory_order_relaxed);
        return;
    }
    if (network && g_net.RaceStarted())
    {
        g_net.RepeatInputRequests(g_net.AwaitedFrame());
    }
    g_holdMs.store(0, std::memory_order_relaxed);
}

void TimerTick::ResetRaceClock(uint32_t ms)
{
    const std::lock_guard lock(g_raceClockMutex);
    g_inputTick.store(0, std::memory_order_relaxed);
    g_raceClockMs.store(ms, std::memory_order_relaxed);
    g_frameClockMs.store(0, std::memory_order_relaxed);
    g_ticksDone.store(0, std::memory_order_relaxed);
    // A reset also ends a hold of the clock.
    g_clockHold.store(false, std::memory_order_relaxed);
}
