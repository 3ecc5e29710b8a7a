#pragma once

// The 2 ms timer tick, the game's time base: each tick pumps the sound output, runs the
// network protocol while a session is on, advances the race clock (running the input step
// every 40 ms of race time) and then the free-running clocks.
//
// Threads: Run runs on the timer thread (synchronously with virtual time on the scripted
// platform); Start, Stop, SetWaveOutput and ResetRaceClock run on the main thread. The race
// clock is advanced and rewritten under g_raceClockMutex, the sound output under a lock of the
// tick's own.

#include <cstdint>
#include <mutex>

#include "platform/Platform.h"

class InputStep;
class WaveOutput;

class TimerTick
{
public:
    explicit TimerTick(InputStep& inputStep) : inputStep_(inputStep) {}
    ~TimerTick() { Stop(); }
    TimerTick(const TimerTick&) = delete;
    TimerTick& operator=(const TimerTick&) = delete;

    // Starts the tick through the platform, stopping a running one first. When the platform
    // cannot start it the player is told and the game goes on without race time.
    bool Start();
    void Stop();

    // One tick, in this order: the sound output, the network, the race clock with the input
    // step, then the free-running clocks.
    void Run();

    // Sets the race clock to `ms` and starts the input steps, the simulation steps and the
    // frame clock from 0, whole: the tick never advances the clock it replaced.
    void ResetRaceClock(uint32_t ms);

    // The sound output that the tick pumps; nullptr while sound is off. Returns once a pump
    // of the previous output has ended, so that output may then go. Never call it while
    // holding a lock that a pump takes.
    void SetWaveOutput(WaveOutput* output);

private:
    void PumpSound();
    void StepNetwork();
    void AdvanceRaceTime(bool network);
    void HoldRaceTime(bool network);

    InputStep& inputStep_;
    Platform* timerPlatform_ = nullptr;
    Platform::TimerId timerId_ = 0;
    std::mutex soundMutex_;
    WaveOutput* waveOutput_ = nullptr;
};
