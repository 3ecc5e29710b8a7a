#include "app/clock/RaceClock.h"

std::atomic<uint32_t> g_timerMs{0};
std::atomic<uint32_t> g_raceClockMs{0};
std::atomic<uint32_t> g_clockRate{1};
std::atomic<bool> g_raceClockOn{false};
std::atomic<bool> g_racePaused{false};
std::atomic<bool> g_clockHold{false};
std::atomic<int32_t> g_pumpWatchdogMs{0};
std::atomic<int32_t> g_inputStepMs{0};
std::atomic<uint32_t> g_inputTick{0};
std::atomic<uint32_t> g_raceStartTick{kInitialRaceStartTick};
std::atomic<bool> g_waitingForStart{true};
std::atomic<int32_t> g_holdMs{0};
std::atomic<int32_t> g_soundPumpMs{0};
std::atomic<int32_t> g_menuDelayMs{0};
std::atomic<uint32_t> g_ticksDone{0};
std::atomic<uint32_t> g_frameClockMs{0};

std::mutex g_raceClockMutex;
