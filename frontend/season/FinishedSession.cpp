#include "frontend/season/FinishedSession.h"

#include <array>

#include "app/game/CurrentRace.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/RaceCompletion.h"
#include "frontend/season/SessionScoring.h"
#include "frontend/season/SimulatedRace.h"
#include "frontend/toolkit/MenuTexts.h"
#include "net/NetSession.h"
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

// A bike that stands still after the race was left goes no further.
constexpr float kStandingSpeed = 0.02f;
// Laps beyond ten minutes are no reference: a circuit without a record.
constexpr int32_t kLongestReferenceLapMs = 600000;
constexpr int32_t kFallbackReferenceLapMs = 120000;

// The circuit's record of the class, else the session's fastest lap.
int32_t ReferenceLapMs(const CircuitTextRecord& text)
{
    for (const int64_t lap :
         {int64_t{text.lapRecords[ToIndex(g_bikeClass)].timeMs}, int64_t{g_standings.fastestLapMs}})
    {
        if (lap > 0 && lap < kLongestReferenceLapMs)
        {
            return static_cast<int32_t>(lap);
        }
    }
    return kFallbackReferenceLapMs;
}

// The riders still on the track when the race was left ride to the flag in simulation.
void CompleteLeftRace(const CircuitTextRecord& text)
{
    const int32_t referenceLapMs = ReferenceLapMs(text);
    std::array<bool, kRiderCount> inField{};
    std::array<bool, kRiderCount> stopped{};
    std::array<int32_t, kRiderCount> baseLapMs{};
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        inField[rider] = g_race.inRace[rider] != 0;
        stopped[rider] = g_bikes[rider].speed < kStandingSpeed;
        baseLapMs[rider] = BaseLapMs(referenceLapMs, g_weather, g_riderProfiles[rider].paceBase);
    }
    CompleteRaceBySimulation(g_standings,
                             {.laps = g_race.totalLaps,
                              .player = g_playerRider.load(std::memory_order_relaxed),
                              .networkStart = g_gameMode == GameMode::NetworkRace,
                              .inField = inField,
                              .stopped = stopped,
                              .baseLapMs = baseLapMs},
                             RuntimeRand);
}

// The riders still on the track get the time they would have needed from where they are.
void ProjectLeftRace()
{
    std::array<bool, kRiderCount> inField{};
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        inField[rider] = g_race.inRace[rider] != 0;
    }
    ProjectRunningRiders(g_standings,
                         {.laps = g_race.totalLaps,
                          .bikeClass = g_bikeClass,
                          .line = &g_race,
                          .finishNode = g_standings.startNode,
                          .bikes = g_bikes,
                          .inField = inField},
                         RuntimeRand);
}
}  // namespace

void ScoreFinishedRace()
{
    g_race.sessionsToSkip = 0;
    const std::span<CircuitTextRecord, kCircuitCount> texts = CircuitTexts();
    TakeLapRecords(g_race, g_standings, g_riderCount, g_bikeClass, g_circuitIndex, texts);

    const CircuitTextRecord& text = texts[ToIndex(g_circuitIndex)];
    const uint32_t player = g_playerRider.load(std::memory_order_relaxed) % kRiderCount;
    switch (g_gameMode)
    {
        case GameMode::Race:
            if (g_standings.sessionRanks[player] >= 0)
            {
                ProjectLeftRace();
            }
            else
            {
                CompleteLeftRace(text);
            }
            break;
        case GameMode::GrandPrix:
        case GameMode::Championship:
        case GameMode::ChampionshipSeries:
        {
            if (g_menuState.U32At(MenuState::kSessionOffset) == kRaceSession)
            {
                CompleteLeftRace(text);
            }
            std::array<uint32_t, kRiderCount> status{};
            std::array<float, kRiderCount> rating{};
            for (size_t rider = 0; rider < kRiderCount; ++rider)
            {
                status[rider] = g_bikes[rider].raceStatus;
                rating[rider] = g_riderProfiles[rider].paceBase;
            }
            const SimulatedSessionInputs simulation{
                .referenceSectorMs = ReferenceSectors(text, g_bikeClass),
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
            // A client's standings are the host's result, complete already.
            if (!g_net.IsActive() || g_net.IsHost())
            {
                ProjectLeftRace();
            }
            EnterNetworkPlaces(g_menuState, ToIndex(g_circuitIndex), g_standings.positionTable,
                               g_standings.sessionRanks);
            break;
        default:
            break;
    }
}
