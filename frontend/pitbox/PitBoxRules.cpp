#include "frontend/pitbox/PitBoxRules.h"

#include <algorithm>

namespace
{
constexpr std::array<uint32_t, 4> kClockRates = {1, 2, 4, 8};
constexpr std::array<uint32_t, 4> kTimeLimitSeconds = {30, 45, 60, 90};
constexpr std::array<uint32_t, 4> kTabBits = {kTrainingBit, kQualifyingBit, kWarmUpBit, kRaceBit};

constexpr PageButtons Buttons(std::initializer_list<uint32_t> indices)
{
    PageButtons buttons = 0;
    for (const uint32_t index : indices)
    {
        buttons |= 1u << index;
    }
    return buttons;
}

bool IsWeekend(GameMode mode)
{
    return mode == GameMode::GrandPrix || mode == GameMode::Championship ||
           mode == GameMode::ChampionshipSeries;
}
}  // namespace

SessionWords BetweenSessionWords(uint32_t session)
{
    switch (session)
    {
        case 0:
            return {{12, 12, 3}, kFridayBit | kTrainingBit};
        case 1:
            return {{4, 12, 3}, kFridayBit | kQualifyingBit};
        case 2:
            return {{0, 12, 3}, kSaturdayBit | kTrainingBit};
        case 3:
            return {{0, 4, 3}, kSaturdayBit | kQualifyingBit};
        case 4:
            return {{0, 0, 3}, kSundayBit | kWarmUpBit};
        case 5:
            return {{0, 0, 1}, kSundayBit | kRaceBit};
        default:
            return {{0, 0, 0}, kSundayBit | kRaceBit};
    }
}

SessionWords InRaceWords(GameMode mode, uint32_t session)
{
    if (mode == GameMode::TestRide || mode == GameMode::GhostRace)
    {
        return {{8, 0, 0}, kFridayBit | kTrainingBit};
    }
    if (mode == GameMode::Race)
    {
        return {{0, 0, 1}, kSundayBit | kRaceBit};
    }
    switch (session)
    {
        case 0:
            return {{8, 0, 0}, kFridayBit | kTrainingBit};
        case 1:
            return {{12, 0, 0}, kFridayBit | kQualifyingBit};
        case 2:
            return {{12, 8, 0}, kSaturdayBit | kTrainingBit};
        case 3:
            return {{12, 12, 0}, kSaturdayBit | kQualifyingBit};
        case 4:
            return {{12, 12, 2}, kSundayBit | kWarmUpBit};
        default:
            return {{12, 12, 3}, kSundayBit | kRaceBit};
    }
}

std::array<bool, 6> CalendarButtons(const SessionWords& words)
{
    const auto& mask = words.dayMask;
    return {(mask[0] & kTrainingBit) != 0, mask[0] != 0,
            (mask[1] & kTrainingBit) != 0, mask[1] != 0,
            (mask[2] & kWarmUpBit) != 0,   true};
}

uint32_t DayOfSession(uint32_t currentSession)
{
    if ((currentSession & kSundayBit) != 0)
    {
        return 2;
    }
    return (currentSession & kSaturdayBit) != 0 ? 1 : 0;
}

uint32_t TabOfSession(uint32_t currentSession)
{
    for (uint32_t tab = 0; tab < kTabBits.size(); ++tab)
    {
        if ((currentSession & kTabBits[tab]) != 0)
        {
            return tab;
        }
    }
    return 0;
}

std::array<std::array<bool, 4>, 3> TabsEnabled(const SessionWords& words)
{
    std::array<std::array<bool, 4>, 3> enabled{};
    for (size_t day = 0; day < enabled.size(); ++day)
    {
        for (size_t tab = 0; tab < kTabBits.size(); ++tab)
        {
            enabled[day][tab] = (words.dayMask[day] & kTabBits[tab]) != 0;
        }
    }
    return enabled;
}

PageButtons PageOneButtons(GameMode mode, bool sessionEnded, uint32_t session, bool ghostLoaded)
{
    switch (mode)
    {
        case GameMode::TestRide:
            return Buttons({0, 2, 4, 6, 7});
        case GameMode::Race:
        case GameMode::NetworkRace:
            return sessionEnded ? Buttons({0, 2}) : Buttons({0, 2, 6, 8, 7});
        case GameMode::GhostRace:
            return Buttons({0, 2, 4, 6, 7, 9}) | (ghostLoaded ? Buttons({10}) : 0);
        default:
            break;
    }
    if (sessionEnded)
    {
        return Buttons({2, 6, 7});
    }
    return session < 5 ? Buttons({0, 1, 2, 3, 4, 5, 6, 7}) : Buttons({0, 2, 6, 7});
}

PageOneLayout ChoosePageOneLayout(GameMode mode, bool sessionEnded, uint32_t session,
                                  bool sessionIsRace)
{
    if (IsWeekend(mode) && !sessionEnded && session <= 4)
    {
        return {.list = PageOneList::Times,
                .resultsLayout = false,
                .headlineStrip = 0,
                .visibleRows = 12,
                .headingY = 175,
                .background = "boxenmenu/zeiten.jpg"};
    }
    PageOneLayout layout{.list = PageOneList::RaceResult,
                         .resultsLayout = true,
                         .headlineStrip = 3,
                         .visibleRows = 16,
                         .headingY = 91,
                         .background = "boxenmenu/ergebnisse.jpg"};
    if (sessionIsRace)
    {
        return layout;
    }
    if (mode == GameMode::TestRide || mode == GameMode::GhostRace)
    {
        layout.list = PageOneList::PersonalLaps;
        layout.headlineStrip = mode == GameMode::TestRide ? 4 : 0;
    }
    else if (mode == GameMode::Race || mode == GameMode::NetworkRace || session > 4)
    {
        layout.list = PageOneList::Classification;
    }
    else
    {
        layout.list = PageOneList::GridTimes;
        layout.headlineStrip = session == 4 ? 2 : (session & 1);
    }
    return layout;
}

uint32_t ClockRateOf(uint32_t index)
{
    return kClockRates[index & 3];
}

bool CountdownEndsMenu(int32_t page, uint32_t timeLimitIndex, int32_t countdownMs)
{
    const int32_t limit = static_cast<int32_t>(kTimeLimitSeconds[std::min(timeLimitIndex, 3u)]);
    if (page == 1)
    {
        return countdownMs < limit * 750;
    }
    if (page == 4)
    {
        return countdownMs < limit * 500;
    }
    return false;
}
