#include "frontend/netlobby/LobbySettings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "core/game/GameEnums.h"

namespace
{
// A value of the range first..last, stepped by delta and wrapped within it.
uint32_t Wrapped(uint32_t value, int32_t delta, uint32_t first, uint32_t last)
{
    const int32_t span = static_cast<int32_t>(last - first + 1);
    const int32_t kept = static_cast<int32_t>(std::clamp(value, first, last) - first);
    return first + static_cast<uint32_t>(((kept + delta) % span + span) % span);
}

void Step(MenuState& settings, size_t offset, int32_t delta, uint32_t first, uint32_t last)
{
    settings.SetU32At(offset, Wrapped(settings.U32At(offset), delta, first, last));
}

uint32_t RidersOf(const MenuState& settings)
{
    return RidersOfClass(static_cast<BikeClass>(
        std::min<uint32_t>(settings.U32At(MenuState::kNetworkClassOffset), 2)));
}
}  // namespace

void StepLobbySetting(MenuState& settings, LobbySetting setting)
{
    switch (setting)
    {
        case LobbySetting::BikeClass:
        {
            Step(settings, MenuState::kNetworkClassOffset, 1, 0, 2);
            const uint32_t riders = RidersOf(settings);
            if (settings.U32At(MenuState::kNetworkRiderCountOffset) > riders)
            {
                settings.SetU32At(MenuState::kNetworkRiderCountOffset, riders);
            }
            break;
        }
        case LobbySetting::Level:
            Step(settings, MenuState::kNetworkLevelOffset, 1, 0, 2);
            break;
        case LobbySetting::Weather:
            Step(settings, MenuState::kNetworkWeatherChoiceOffset, 1, 0, 4);
            break;
        case LobbySetting::GridOrder:
            Step(settings, MenuState::kNetworkGridOrderOffset, 1, 0, 1);
            break;
        case LobbySetting::InputDelayDown:
        case LobbySetting::InputDelayUp:
            Step(settings, MenuState::kNetworkInputDelayOffset,
                 setting == LobbySetting::InputDelayUp ? 1 : -1, 1, 3);
            break;
        case LobbySetting::LapsDown:
        case LobbySetting::LapsUp:
            Step(settings, MenuState::kNetworkLapsOffset, setting == LobbySetting::LapsUp ? 1 : -1,
                 1, 20);
            break;
        case LobbySetting::CountdownDown:
        case LobbySetting::CountdownUp:
            Step(settings, MenuState::kTimeLimitIndexOffset,
                 setting == LobbySetting::CountdownUp ? 1 : -1, 0, 3);
            break;
        case LobbySetting::RiderCountDown:
        case LobbySetting::RiderCountUp:
            Step(settings, MenuState::kNetworkRiderCountOffset,
                 setting == LobbySetting::RiderCountUp ? 1 : -1, 2, RidersOf(settings));
            break;
    }
}

int32_t CountdownSeconds(uint32_t index)
{
    constexpr std::array<int32_t, 4> kSeconds = {30, 45, 60, 90};
    return kSeconds[std::min<uint32_t>(index, 3)];
}

std::string PortTextOf(int32_t portChoice)
{
    std::array<char, 16> text{};
    const int32_t shown = portChoice == kAutomaticPort ? 0x8080 : (portChoice & 0xFFFF);
    std::snprintf(text.data(), text.size(), "%.4x", static_cast<unsigned>(shown));
    return text.data();
}

uint32_t CalendarLength(const MenuState& settings)
{
    uint32_t length = 0;
    while (length < kMaxCalendarRaces && CalendarAt(settings, length) >= 0)
    {
        ++length;
    }
    return length;
}

int8_t CalendarAt(const MenuState& settings, uint32_t race)
{
    if (race >= kMaxCalendarRaces)
    {
        return -1;
    }
    const int8_t circuit = settings.I8At(MenuState::kNetworkCircuitsOffset + race);
    return circuit < static_cast<int8_t>(kMaxCalendarRaces) ? circuit : int8_t{-1};
}

std::optional<uint32_t> CalendarPlaceOf(const MenuState& settings, uint32_t circuit)
{
    const uint32_t length = CalendarLength(settings);
    for (uint32_t race = 0; race < length; ++race)
    {
        if (static_cast<uint32_t>(CalendarAt(settings, race)) == circuit)
        {
            return race;
        }
    }
    return std::nullopt;
}

void ToggleCalendarCircuit(MenuState& settings, uint32_t circuit)
{
    if (circuit >= kMaxCalendarRaces)
    {
        return;
    }
    const size_t base = MenuState::kNetworkCircuitsOffset;
    uint32_t length = CalendarLength(settings);
    if (const std::optional<uint32_t> place = CalendarPlaceOf(settings, circuit))
    {
        for (uint32_t race = *place; race + 1 < length; ++race)
        {
            settings.SetI8At(base + race, CalendarAt(settings, race + 1));
        }
        --length;
    }
    else if (length < kMaxCalendarRaces)
    {
        settings.SetI8At(base + length, static_cast<int8_t>(circuit));
        ++length;
    }
    else
    {
        return;  // a damaged calendar of 18 with a circuit twice: no place for another
    }
    settings.SetI8At(base + length, -1);
}
