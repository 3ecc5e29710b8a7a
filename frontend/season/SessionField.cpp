#include "frontend/season/SessionField.h"

#include <algorithm>

#include "frontend/season/WeekendStart.h"
#include "race/standings/RaceStandings.h"

namespace
{
uint16_t HeaderWord(const LapHeader& header, LapHeaderWord word)
{
    return header[static_cast<size_t>(word)];
}
}  // namespace

uint32_t DifficultyOfLevel(uint8_t level)
{
    return (0u - level - 2u) & 3u;
}

SessionGrid TestRideGrid(uint32_t player)
{
    SessionGrid grid;
    int32_t next = 1;
    if (player < MenuState::kRiders)
    {
        grid.positions[player] = next++;
    }
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        if (rider != player)
        {
            grid.positions[rider] = next++;
        }
    }
    return grid;
}

SessionGrid SingleRaceGrid(const MenuState& settings, BikeClass bikeClass, uint32_t player,
                           std::span<const float> rating)
{
    const uint32_t ridersOfClass = std::min<uint32_t>(
        {RidersOfClass(bikeClass), MenuState::kRiders, static_cast<uint32_t>(rating.size())});
    const int32_t chosen = static_cast<int32_t>(
        std::clamp<uint32_t>(settings.U32At(MenuState::kGridPositionOffset), 1, ridersOfClass));
    SessionGrid grid;
    grid.fieldSize =
        std::max(OpponentsOfSettings(settings, bikeClass) + 1, static_cast<uint32_t>(chosen));
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        grid.positions[rider] = static_cast<int32_t>(rider) + 1;
    }
    if (player >= ridersOfClass)
    {
        return grid;
    }
    grid.positions[player] = chosen;
    for (uint32_t rider = 0; rider < ridersOfClass; ++rider)
    {
        if (rider == player)
        {
            continue;
        }
        int32_t ahead = 0;
        for (uint32_t other = 0; other < ridersOfClass; ++other)
        {
            if (other != player && other != rider &&
                (rating[other] > rating[rider] ||
                 (rating[other] == rating[rider] && other < rider)))
            {
                ++ahead;
            }
        }
        // From 1, and behind the player from the chosen position on.
        const int32_t position = ahead + 1;
        grid.positions[rider] = position >= chosen ? position + 1 : position;
    }
    return grid;
}

TrimmedField TrimField(uint32_t fieldSize, std::span<const int32_t, MenuState::kRiders> positions,
                       std::span<uint32_t, MenuState::kRiders> status,
                       std::span<int16_t, MenuState::kRiders> ranks)
{
    TrimmedField trimmed;
    trimmed.startList.fill(-1);
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        const int32_t position = positions[rider];
        if (position > static_cast<int32_t>(fieldSize))
        {
            status[rider] = kStatusNotTakingPart;
            ranks[rider] = session_rank::kNotEntered;
        }
        if (position >= 1 && position <= static_cast<int32_t>(MenuState::kRiders))
        {
            trimmed.startList[position - 1] = static_cast<int32_t>(rider);
        }
    }
    trimmed.riderCount = MenuState::kRiders;
    while (trimmed.riderCount > 0 && status[trimmed.riderCount - 1] == kStatusNotTakingPart)
    {
        --trimmed.riderCount;
    }
    trimmed.leftOut = trimmed.riderCount - std::min(trimmed.riderCount, fieldSize);
    return trimmed;
}

bool TakeGhostSession(const LapHeader& header, MenuState& settings, BikeClass& bikeClass)
{
    const uint16_t circuit = HeaderWord(header, LapHeaderWord::Circuit);
    const uint16_t lapClass = HeaderWord(header, LapHeaderWord::BikeClass);
    const uint16_t level = HeaderWord(header, LapHeaderWord::Level);
    const uint16_t weather = HeaderWord(header, LapHeaderWord::Weather);
    if (circuit >= kCircuitCount || lapClass >= kBikeClassCount || level > 2 ||
        weather >= kWeatherCount)
    {
        return false;
    }
    settings.SetU32At(MenuState::kGameModeOffset, ToIndex(GameMode::GhostRace));
    settings.SetU32At(MenuState::kCircuitOffset, circuit);
    settings.SetU8At(MenuState::kLevelOffset, static_cast<uint8_t>(level));
    for (size_t slot = 0; slot < MenuState::kSessionSlotCount; ++slot)
    {
        settings.SetU8At(MenuState::kSessionWeatherOffset + slot, static_cast<uint8_t>(weather));
        settings.SetU8At(MenuState::kSessionHumidityOffset + slot,
                         static_cast<uint8_t>(std::min<uint16_t>(
                             HeaderWord(header, LapHeaderWord::HumidityPercent), 0xFF)));
        settings.SetU8At(MenuState::kSessionTemperatureOffset + slot,
                         static_cast<uint8_t>(std::min<uint16_t>(
                             HeaderWord(header, LapHeaderWord::TemperatureC), 0xFF)));
        settings.SetU16At(MenuState::kSessionPressureOffset + slot * 2,
                          HeaderWord(header, LapHeaderWord::PressureMbar));
    }
    bikeClass = static_cast<BikeClass>(lapClass);
    return true;
}
