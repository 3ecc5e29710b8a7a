#pragma once

// The pit box's rules that follow from the game mode and the weekend: which days and sessions
// the calendar and the times page offer, which page buttons a page shows, which list the
// results page holds, the race-clock rates, and when the network countdown ends the menu.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/game/GameEnums.h"

// Session bits of a day's mask and of currentSession.
inline constexpr uint32_t kTrainingBit = 8;
inline constexpr uint32_t kQualifyingBit = 4;
inline constexpr uint32_t kWarmUpBit = 2;
inline constexpr uint32_t kRaceBit = 1;
inline constexpr uint32_t kFridayBit = 0x400;
inline constexpr uint32_t kSaturdayBit = 0x800;
inline constexpr uint32_t kSundayBit = 0x1000;

struct SessionWords
{
    std::array<uint32_t, 3> dayMask{};  // Friday, Saturday, Sunday
    uint32_t currentSession = 0;
    bool operator==(const SessionWords&) const = default;
};

// Set by the owner before the calendar page (between sessions) and the in-race page.
SessionWords BetweenSessionWords(uint32_t session);
SessionWords InRaceWords(GameMode mode, uint32_t session);

// The calendar's six session buttons (Friday training .. Sunday race).
std::array<bool, 6> CalendarButtons(const SessionWords& words);

// The day (0..2) and session tab (0..3: training, qualifying, warm-up, race) of currentSession.
uint32_t DayOfSession(uint32_t currentSession);
uint32_t TabOfSession(uint32_t currentSession);
// Per day, the four tabs that have data.
std::array<std::array<bool, 4>, 3> TabsEnabled(const SessionWords& words);

// Page buttons, by index.
enum PageButton : uint32_t
{
    kLeaveButton = 0,
    kHideButton = 1,
    kCircuitInfoButton = 2,
    kListKindButton = 3,
    kSetupButton = 4,
    kClockRateButton = 5,
    kContinueButton = 6,
    kTelemetryButton = 7,
    kQuitRaceButton = 8,
    kKeepGhostButton = 9,
    kUseGhostButton = 10,
    kPageButtonCount = 11,
};
using PageButtons = uint32_t;  // bit n for button n

// The buttons page 1 offers (those below 9 enabled; 9 and 10 shown, enabled by the lap list).
PageButtons PageOneButtons(GameMode mode, bool sessionEnded, uint32_t session, bool ghostLoaded);

// What page 1 holds.
enum class PageOneList
{
    Times,  // the live times of a weekend session
    PersonalLaps,
    Classification,
    GridTimes,
    RaceResult,
};
struct PageOneLayout
{
    PageOneList list = PageOneList::Times;
    bool resultsLayout = false;
    uint32_t headlineStrip = 0;
    int32_t visibleRows = 12;
    int32_t headingY = 175;
    std::string_view background;
};
PageOneLayout ChoosePageOneLayout(GameMode mode, bool sessionEnded, uint32_t session,
                                  bool sessionIsRace);

// The clock-rate button's rates: index & 3 into {1, 2, 4, 8}.
uint32_t ClockRateOf(uint32_t index);

// The network countdown (ms left) ends page 1 below time limit x 750 ms, page 4 below x 500 ms;
// the time limit in s by the settings' index {30, 45, 60, 90}.
bool CountdownEndsMenu(int32_t page, uint32_t timeLimitIndex, int32_t countdownMs);
