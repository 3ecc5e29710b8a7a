#pragma once

// The bookkeeping of a Grand Prix weekend and a championship round before each session: which
// session comes, when the championship and the weekend start afresh, the sessions the player
// skips, and the field with its grid. A championship keeps the field of its first round.

#include <array>
#include <cstdint>
#include <span>

#include "app/settings/MenuState.h"
#include "core/game/GameEnums.h"
#include "frontend/season/SessionWeather.h"
#include "race/RandomTable.h"

inline constexpr uint32_t kStatusNotTakingPart = 5;
inline constexpr uint32_t kStatusTakingPart = 6;
inline constexpr uint32_t kStatusRacing = 9;

// The riders of the class as the session start sees them.
struct WeekendRiders
{
    BikeClass bikeClass = BikeClass::Class250;
    uint32_t player = 0;
    std::span<const float> rating;  // per rider, the better the higher
};

// The opponents chosen in the settings, within 4 .. the class's riders - 1.
uint32_t OpponentsOfSettings(const MenuState& settings, BikeClass bikeClass);

// A new field: every computer rider of the class scores its rating times a random part, the
// best `opponents` (the lower number on ties) join the player at grid positions 2, 3 ... in
// the order they were chosen; the riders left out follow. Gives the field mask.
uint32_t ChooseField(const WeekendRiders& riders, uint32_t opponents,
                     std::span<int32_t, MenuState::kRiders> positions, const RandomSource& random);

// The race status of every rider for a timed session: the player 1, the field 6, the others 5.
std::array<uint32_t, MenuState::kRiders> TimedSessionStatus(uint32_t fieldMask, uint32_t player);

// A timed session of more than five riders does not start empty: two or three of the computer
// riders waiting in their pit boxes, picked with the race's shared random table, ride out at
// once.
void SendRidersOut(std::span<uint32_t, MenuState::kRiders> status, uint32_t fieldSize,
                   const RandomTable& table);

struct WeekendSessionStart
{
    uint32_t session = 0;
    uint32_t fieldMask = 0;
    std::array<int32_t, MenuState::kRiders> positions{};
};

// What the skipped sessions are simulated with: the circuit's reference sector times and the
// difficulty; the weather is each session's own.
struct SkippedSessions
{
    uint32_t skipTo = 0;  // sessions below it are simulated, not ridden
    std::array<int32_t, 3> referenceSectorMs{};
    uint32_t difficulty = 0;
};

// Brings the settings to the session about to start (modes 2 to 4): a session above 5 starts
// the weekend again; a championship past its last round starts again at its first; the first
// session of a championship clears its table, the first of any weekend its timed sessions;
// a new field is chosen at the first session of a Grand Prix weekend and of a championship's
// first round, else the field stays and the grid follows the weekend's best times; then the
// skipped sessions are simulated. The session and the field are stored in the settings.
WeekendSessionStart StartWeekendSession(MenuState& settings, GameMode mode,
                                        const WeekendRiders& riders, const SkippedSessions& skip,
                                        const RandomSource& random);

// After the race of a championship round: on to the next circuit's first session.
void AdvanceChampionshipRound(MenuState& settings);
