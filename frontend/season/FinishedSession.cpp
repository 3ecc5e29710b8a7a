#include "frontend/season/FinishedSession.h"

#include <array>

#include "app/game/CurrentRace.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/SessionScoring.h"
#include "frontend/toolkit/MenuTexts.h"
#include "race/RaceContext.h"

namespace
{
// The simulated sessions ride the circuit's shown lap record of the class, a third a sector.
std::array<int32_t, 3> ReferenceSectors(const CircuitTextRecord& text, BikeClass bikeClass)
{
    const int32_t lap = text.lapRecords[ToIndex(bikeClass)].timeMs;
    const int32_t sector = lap > 0 ? lap / 3 : 0;
    return {sector, sector, sector};
}
}  // namespace

void ScoreFinishedRace()
{
    g_race.sessionsToSkip = 0;
    const std::span<CircuitTextRecord, kCircuitCount> texts = CircuitTexts();
    TakeLapRecords(g_race, g_standings, g_riderCount, g_bikeClass, g_circuitIndex, texts);

    switch (g_gameMode)
    {
        case GameMode::GrandPrix:
        case GameMode::Championship:
        case GameMode::ChampionshipSeries:
        {
            std::array<uint32_t, kRiderCount> status{};
            std::array<float, kRiderCount> rating{};
            for (size_t rider = 0; rider < kRiderCount; ++rider)
            {
                status[rider] = g_bikes[rider].raceStatus;
                rating[rider] = g_riderProfiles[rider].paceBase;
            }
            const SimulatedSessionInputs simulation{
                .referenceSectorMs = ReferenceSectors(texts[ToIndex(g_circuitIndex)], g_bikeClass),
                .weather = g_weather,
                .difficulty = g_difficulty,
                .raceStatus = status,
                .rating = rating};
            ScoreWeekendSession(g_menuState, g_menuState.U32At(MenuState::kSessionOffset),
                                ToIndex(g_circuitIndex), g_bikeClass, g_standings, simulation,
                                RuntimeRand);
            break;
        }
        case GameMode::NetworkRace:
            EnterNetworkPlaces(g_menuState, ToIndex(g_circuitIndex), g_standings.positionTable,
                               g_standings.sessionRanks);
            break;
        default:
            break;
    }
}
