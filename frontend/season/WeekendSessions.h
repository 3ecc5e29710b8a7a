#pragma once

// The timed sessions of a Grand Prix weekend as the settings record keeps them: per session
// 0..4 a finishing order (rider numbers, 0xFF none) and beside each entry its lap and three
// sector times (ms, -1 none), and each rider's best time of the weekend, which orders the grid
// of the next session. Free practice (sessions 0, 2 and 4) counts an hour more than
// qualifying (1 and 3), so that any qualifying time ranks before any practice time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"

inline constexpr uint32_t kTimedSessions = 5;
inline constexpr uint32_t kRaceSession = 5;
inline constexpr int32_t kPracticePenaltyMs = 3600000;

struct SessionTimes
{
    int32_t lapMs = -1;
    std::array<int32_t, 3> sectorMs{-1, -1, -1};
};

// Entry `index` of a stored session (the rider at that place once sorted).
uint8_t SessionOrderAt(const MenuState& settings, uint32_t session, size_t index);
SessionTimes SessionTimesAt(const MenuState& settings, uint32_t session, size_t index);
uint32_t WeekendBest(const MenuState& settings, uint32_t rider);

// The order and times of every timed session and the weekend's best times back to none.
void ClearWeekend(MenuState& settings);

// Stores a rider's times of the session at its own entry: the rider's number when it has a lap
// time above 0, else none; its weekend best becomes the lap time (plus the practice hour) when
// that is better.
void StoreRiderTimes(MenuState& settings, uint32_t session, uint32_t rider,
                     const SessionTimes& times);

// What a simulated session needs of the race: the circuit's reference sector times, and per
// rider its race status and rating (the better, the closer to 1.0 and above).
struct SimulatedSessionInputs
{
    std::array<int32_t, 3> referenceSectorMs{};
    Weather weather = Weather::Fine;
    uint32_t difficulty = 0;
    std::span<const uint32_t> raceStatus;
    std::span<const float> rating;
};

// The riders a simulated session gives times: race status 6, 3, or 8 and above but for 10,
// 11, 14 and 16.
bool RidesSimulatedSession(uint32_t raceStatus);

// Times for every rider that rides simulated sessions, drawn from `random` (0..0x7FFF): three
// sectors from the reference scaled by the session, the weather, the difficulty and the
// rider, and the lap their sum, each with a random part; with keepBest a stored better time
// stays. Then the session is sorted.
void SimulateTimedSession(MenuState& settings, uint32_t session,
                          const SimulatedSessionInputs& inputs, bool keepBest,
                          const std::function<int()>& random);

// Orders the session's entries by lap time, the riders without a time (or with no rider
// number) last, reading -1.
void SortStoredSession(MenuState& settings, uint32_t session);

// The grid of the next session: each rider of the field (bit n of fieldMask for rider n) at 1
// + the riders of the field with a better weekend best, ties to the lower rider number; the
// riders outside the field follow in rider order.
void GridFromWeekendBest(const MenuState& settings, uint32_t fieldMask,
                         std::span<int32_t, MenuState::kRiders> positions);
