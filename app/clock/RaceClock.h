#pragma once

// The clock words that the 2 ms timer tick advances and the main thread reads and resets.
// Each word is an atomic value of its own and no order between them is relied on; the one
// update that must stay whole against the tick, a rewrite of the race clock, takes
// g_raceClockMutex instead.

#include <atomic>
#include <cstdint>
#include <mutex>

// Free-running: + 2 per tick.
extern std::atomic<uint32_t> g_timerMs;
// Race time in ms: + 2 x g_clockRate per tick while it runs.
extern std::atomic<uint32_t> g_raceClockMs;
// Multiplier of race time (1, 2, 4 or 8).
extern std::atomic<uint32_t> g_clockRate;
// The race loop runs: race time and the input steps advance.
extern std::atomic<bool> g_raceClockOn;
// The race is paused: no race time passes.
extern std::atomic<bool> g_racePaused;
// No race time passes while the main thread or the network protocol holds the clock.
extern std::atomic<bool> g_clockHold;
// Race time since the last message pump; from kPumpWatchdogLimitMs on, race time stands.
extern std::atomic<int32_t> g_pumpWatchdogMs;
// Race time gathered towards the next 40 ms input step.
extern std::atomic<int32_t> g_inputStepMs;
// Input steps taken; the race starts when it reaches g_raceStartTick.
extern std::atomic<uint32_t> g_inputTick;
extern std::atomic<uint32_t> g_raceStartTick;
// Set by the race loader, cleared by the tick once g_inputTick reaches g_raceStartTick.
extern std::atomic<bool> g_waitingForStart;
// Time spent held since the last repeat of the network's input requests.
extern std::atomic<int32_t> g_holdMs;
// Time gathered towards the next pump of the sound output.
extern std::atomic<int32_t> g_soundPumpMs;
// A countdown for the menus: - 2 per tick, never below 0.
extern std::atomic<int32_t> g_menuDelayMs;
// 40 ms simulation steps done since the race started.
extern std::atomic<uint32_t> g_ticksDone;
// Race time as the current frame sampled it.
extern std::atomic<uint32_t> g_frameClockMs;

// Held by the tick while it decides whether race time passes and advances it, and by every
// main-thread rewrite of the race clock, so that a reset is never followed by an advance
// computed from the clock as it stood before. Never held across a wait or a yield: on the
// scripted machine the tick runs on the thread that lets time pass.
extern std::mutex g_raceClockMutex;

inline constexpr uint32_t kTimerPeriodMs = 2;
inline constexpr int32_t kInputStepMs = 40;
inline constexpr int32_t kPumpWatchdogLimitMs = 1200;
inline constexpr uint32_t kInitialRaceStartTick = 4000;
