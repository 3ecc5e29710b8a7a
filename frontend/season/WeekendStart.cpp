#include "frontend/season/WeekendStart.h"

#include <algorithm>

#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"

namespace
{
constexpr uint32_t kStatusPlayer = 1;
constexpr uint32_t kFewestOpponents = 4;

bool IsChampionship(GameMode mode)
{
    return mode == GameMode::Championship || mode == GameMode::ChampionshipSeries;
}

Weather SlotWeather(const MenuState& settings, uint32_t session)
{
    const uint8_t weather =
        settings.U8At(MenuState::kSessionWeatherOffset + WeatherSlotOfSession(session));
    return weather < kWeatherCount ? static_cast<Weather>(weather) : Weather::Fine;
}
}  // namespace

uint32_t OpponentsOfSettings(const MenuState& settings, BikeClass bikeClass)
{
    return std::clamp(settings.U32At(MenuState::kOpponentsOffset), kFewestOpponents,
                      RidersOfClass(bikeClass) - 1);
}

uint32_t ChooseField(const WeekendRiders& riders, uint32_t opponents,
                     std::span<int32_t, MenuState::kRiders> positions, const RandomSource& random)
{
    const uint32_t ridersOfClass =
        std::min<uint32_t>({RidersOfClass(riders.bikeClass), MenuState::kRiders,
                            static_cast<uint32_t>(riders.rating.size())});
    std::array<double, MenuState::kRiders> score{};
    for (uint32_t rider = 0; rider < ridersOfClass; ++rider)
    {
        score[rider] = rider == riders.player
                           ? 0.0
                           : riders.rating[rider] * (18000 + (random() & 0x3FF)) * 0.0005;
    }
    std::array<bool, MenuState::kRiders> chosen{};
    uint32_t mask = 0;
    int32_t next = 1;
    if (riders.player < ridersOfClass)
    {
        chosen[riders.player] = true;
        mask |= 1u << riders.player;
        positions[riders.player] = next++;
    }
    for (uint32_t pick = 0; pick < opponents; ++pick)
    {
        int32_t best = -1;
        for (uint32_t rider = 0; rider < ridersOfClass; ++rider)
        {
            if (!chosen[rider] && (best < 0 || score[rider] > score[best]))
            {
                best = static_cast<int32_t>(rider);
            }
        }
        if (best < 0)
        {
            break;
        }
        chosen[best] = true;
        mask |= 1u << best;
        positions[best] = next++;
    }
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        if (!chosen[rider])
        {
            positions[rider] = next++;
        }
    }
    return mask;
}

std::array<uint32_t, MenuState::kRiders> TimedSessionStatus(uint32_t fieldMask, uint32_t player)
{
    std::array<uint32_t, MenuState::kRiders> status{};
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        status[rider] = rider == player                   ? kStatusPlayer
                        : ((fieldMask >> rider) & 1) != 0 ? kStatusTakingPart
                                                          : kStatusNotTakingPart;
    }
    return status;
}

void SendRidersOut(std::span<uint32_t, MenuState::kRiders> status, uint32_t fieldSize,
                   const RandomTable& table)
{
    constexpr uint32_t kFewestToSendOut = 6;
    if (fieldSize < kFewestToSendOut)
    {
        return;
    }
    const uint32_t count = 2 + (table.words[0] & 1);
    for (uint32_t k = 0; k < count; ++k)
    {
        const auto waiting = static_cast<uint32_t>(std::ranges::count(status, kStatusTakingPart));
        if (waiting == 0)
        {
            return;
        }
        uint32_t pick = table.words[1 + k] % waiting;
        for (uint32_t& rider : status)
        {
            if (rider == kStatusTakingPart && pick-- == 0)
            {
                rider = kStatusRacing;
                break;
            }
        }
    }
}

WeekendSessionStart StartWeekendSession(MenuState& settings, GameMode mode,
                                        const WeekendRiders& riders, const SkippedSessions& skip,
                                        const RandomSource& random)
{
    WeekendSessionStart start;
    start.session = settings.U32At(MenuState::kSessionOffset);
    if (start.session > kRaceSession)
    {
        start.session = 0;
    }
    uint32_t circuit = settings.U32At(MenuState::kCircuitOffset);
    if (IsChampionship(mode) && circuit > kLastChampionshipRound)
    {
        circuit = 0;
        start.session = 0;
        settings.SetU32At(MenuState::kCircuitOffset, circuit);
    }
    const bool championshipBegins = IsChampionship(mode) && circuit == 0 && start.session == 0;
    if (championshipBegins)
    {
        ClearChampionship(settings);
    }
    if (start.session == 0)
    {
        ClearWeekend(settings);
    }

    const bool newField = championshipBegins || (mode == GameMode::GrandPrix && start.session == 0);
    if (newField)
    {
        start.fieldMask = ChooseField(riders, OpponentsOfSettings(settings, riders.bikeClass),
                                      start.positions, random);
        settings.SetU32At(MenuState::kFieldMaskOffset, start.fieldMask);
    }
    else
    {
        start.fieldMask = settings.U32At(MenuState::kFieldMaskOffset);
    }

    const std::array<uint32_t, MenuState::kRiders> status =
        TimedSessionStatus(start.fieldMask, riders.player);
    while (start.session < std::min(skip.skipTo, kRaceSession))
    {
        const SimulatedSessionInputs inputs{.referenceSectorMs = skip.referenceSectorMs,
                                            .weather = SlotWeather(settings, start.session),
                                            .difficulty = skip.difficulty,
                                            .raceStatus = status,
                                            .rating = riders.rating};
        SimulateTimedSession(settings, start.session, inputs, true, random);
        ++start.session;
    }
    if (!newField)
    {
        GridFromWeekendBest(settings, start.fieldMask, start.positions);
    }
    settings.SetU32At(MenuState::kSessionOffset, start.session);
    return start;
}

void AdvanceChampionshipRound(MenuState& settings)
{
    settings.SetU32At(MenuState::kCircuitOffset, settings.U32At(MenuState::kCircuitOffset) + 1);
    settings.SetU32At(MenuState::kSessionOffset, 0);
}
