#include "frontend/season/SessionStart.h"

#include <algorithm>
#include <array>

#include "core/util/RuntimeRandom.h"
#include "frontend/season/CircuitStems.h"
#include "frontend/season/RiderShuffle.h"
#include "frontend/season/SessionField.h"
#include "frontend/season/SessionWeather.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/season/WeekendStart.h"
#include "frontend/toolkit/MenuTexts.h"

namespace
{
constexpr uint32_t kStatusPlayerInRace = 0;
constexpr uint32_t kStatusPlayer = 1;
constexpr uint32_t kStatusTestRide = 3;
constexpr uint32_t kLapsOfFullDistance = 21;
// A test ride has no end; a timed session of the weekend ends after 30 minutes, or with the
// settings' short sessions after 12 laps within an hour.
constexpr uint16_t kTestRideLaps = 34;
constexpr float kTestRideSeconds = 20000000.0f;
constexpr uint16_t kTimedSessionLaps = 33;
constexpr float kTimedSessionSeconds = 1800.0f;
constexpr uint16_t kShortSessionLaps = 12;
constexpr float kShortSessionSeconds = 3600.0f;

// How close a computer rider comes to a player's rider, by the opponents' behaviour: aggressive,
// normal or cautious.
float CautionDistanceSq(const MenuState& settings)
{
    switch (settings.U8At(MenuState::kOpponentBehaviourOffset))
    {
        case 0:
            return 81.0f;
        case 1:
            return 225.0f;
        default:
            return 400.0f;
    }
}

std::array<float, kRiderCount> Ratings(const RaceContext& race)
{
    std::array<float, kRiderCount> rating{};
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        rating[rider] = race.riderProfiles[rider].paceBase;
    }
    return rating;
}

uint16_t RaceLaps(const MenuState& settings, const RaceContext& race)
{
    const uint32_t laps = settings.U32At(MenuState::kRaceLapsOffset);
    return static_cast<uint16_t>(laps < kLapsOfFullDistance ? laps : race.race.lapLengthUnits);
}

std::array<int32_t, 3> ReferenceSectors(CircuitId circuit, BikeClass bikeClass)
{
    const int32_t lap = CircuitTexts()[ToIndex(circuit)].lapRecords[ToIndex(bikeClass)].timeMs;
    const int32_t sector = lap > 0 ? lap / 3 : 0;
    return {sector, sector, sector};
}

struct Field
{
    uint32_t size = 0;
    std::array<int32_t, kRiderCount> positions{};
    std::array<uint32_t, kRiderCount> status{};
};

Field WeekendField(RaceContext& race, MenuState& settings, GameMode mode, uint32_t player,
                   SessionStart& start)
{
    const std::array<float, kRiderCount> rating = Ratings(race);
    const WeekendRiders riders{
        .bikeClass = race.current.bikeClass, .player = player, .rating = rating};
    const SkippedSessions skip{
        .skipTo = race.race.sessionsToSkip,
        .referenceSectorMs = ReferenceSectors(race.current.circuitIndex, race.current.bikeClass),
        .difficulty = race.current.difficulty};
    const WeekendSessionStart weekend =
        StartWeekendSession(settings, mode, riders, skip, RuntimeRand);
    start.session = weekend.session;
    start.isRace = weekend.session == kRaceSession;
    start.isQualifying = weekend.session == 1 || weekend.session == 3;

    Field field;
    field.positions = weekend.positions;
    field.status = TimedSessionStatus(weekend.fieldMask, player);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        if ((weekend.fieldMask >> rider) & 1)
        {
            ++field.size;
            if (start.isRace)
            {
                field.status[rider] = rider == player ? kStatusPlayerInRace : kStatusRacing;
            }
        }
    }
    if (start.isRace)
    {
        start.laps = RaceLaps(settings, race);
        return field;
    }
    start.flyingStart = settings.U8At(MenuState::kStartPointOffset) != 0;
    if (settings.U32At(MenuState::kTrainingLengthOffset) == 0)
    {
        start.laps = kTimedSessionLaps;
        start.sessionSeconds = kTimedSessionSeconds;
    }
    else
    {
        start.laps = kShortSessionLaps;
        start.sessionSeconds = kShortSessionSeconds;
    }
    return field;
}
}  // namespace

SessionStart StartSession(RaceContext& race, MenuState& settings, uint32_t timeOfDayMs,
                          CprArchive* dataArchive, CprArchive* menuArchive)
{
    SessionStart start;
    const GameMode mode = static_cast<GameMode>(settings.U32At(MenuState::kGameModeOffset));
    if (mode != GameMode::GhostRace)
    {
        race.race.ghostTag = RaceAi::kNoGhost;
    }
    RuntimeSeed(timeOfDayMs);
    start.options = SessionOptionsOf(settings);
    race.race.cautionDistanceSq = CautionDistanceSq(settings);
    CurrentRace& current = race.current;
    current.gameMode = mode;
    const CircuitId chosen = CircuitOrChosen(
        static_cast<int32_t>(settings.U32At(MenuState::kCircuitOffset)), CircuitId::ShahAlam);
    if (mode == GameMode::NetworkRace)
    {
        // The network session sets the field; the circuit is its list's current entry.
        const size_t entry = std::min<size_t>(settings.U32At(MenuState::kNetworkRaceIndexOffset),
                                              MenuState::kNetworkCircuitEntries - 1);
        current.circuitIndex =
            CircuitOrChosen(settings.I8At(MenuState::kNetworkCircuitsOffset + entry), chosen);
        current.circuitName = CircuitStem(current.circuitIndex);
        ApplyNetworkRaceWeather(settings, current);
        start.lineRead = dataArchive != nullptr && race.LoadRacingLine(dataArchive);
        start.isRace = true;
        start.laps = RaceLaps(settings, race);
        race.race.totalLaps = start.laps;
        race.randomTable.Fill();
        return start;
    }

    current.bikeClass = static_cast<BikeClass>(settings.U32At(MenuState::kBikeClassOffset));
    current.difficulty = DifficultyOfLevel(settings.U8At(MenuState::kLevelOffset));
    current.circuitIndex = chosen;
    current.circuitName = CircuitStem(current.circuitIndex);
    start.lineRead = dataArchive != nullptr && race.LoadRacingLine(dataArchive);
    race.LoadRiderProfiles();
    PrepareRiderProfiles(settings, mode, current.bikeClass, race.riderProfiles);
    const uint32_t player = race.playerRider.load() % kRiderCount;

    Field field;
    switch (mode)
    {
        case GameMode::TestRide:
        case GameMode::GhostRace:
        {
            const SessionGrid grid = TestRideGrid(player);
            start.withGhost = mode == GameMode::GhostRace &&
                              race.race.ghostTag != RaceAi::kNoGhost &&
                              race.race.ghostRecord != nullptr;
            field.size = start.withGhost ? 2 : grid.fieldSize;
            field.positions = grid.positions;
            field.status.fill(kStatusTestRide);
            field.status[player] = kStatusPlayer;
            settings.SetU32At(MenuState::kTrainingLengthOffset, 0);
            start.laps = kTestRideLaps;
            start.sessionSeconds = kTestRideSeconds;
            break;
        }
        case GameMode::Race:
        {
            const std::array<float, kRiderCount> rating = Ratings(race);
            const SessionGrid grid = SingleRaceGrid(settings, current.bikeClass, player, rating);
            field.size = grid.fieldSize;
            field.positions = grid.positions;
            field.status.fill(kStatusRacing);
            field.status[player] = kStatusPlayerInRace;
            start.isRace = true;
            start.laps = RaceLaps(settings, race);
            break;
        }
        default:
            field = WeekendField(race, settings, mode, player, start);
            break;
    }
    ApplySessionWeather(settings, start.session, current);
    // The race's shared chance follows from the session's start, as everything rolled above.
    race.randomTable.Fill();
    const bool weekend = mode == GameMode::GrandPrix || mode == GameMode::Championship ||
                         mode == GameMode::ChampionshipSeries;
    if (weekend && !start.isRace)
    {
        SendRidersOut(field.status, field.size, race.randomTable);
    }

    std::array<int16_t, kRiderCount> ranks{};
    ranks.fill(-1);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        if (field.status[rider] == kStatusNotTakingPart)
        {
            ranks[rider] = -8;
        }
    }
    const TrimmedField trimmed = TrimField(field.size, field.positions, field.status, ranks);
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        race.bikes[rider].raceStatus = field.status[rider];
        // Only the riders left out now keep the flags: one left out of an earlier session, such
        // as a test ride, may ride in this one.
        race.bikes[rider].flags = field.status[rider] == kStatusNotTakingPart ? kLeftOutFlags : 0;
        race.standings.gridOrder[rider] = field.positions[rider];
        race.standings.sessionRanks[rider] = ranks[rider];
        race.standings.sessionTimes[rider] = -1.0f;
    }
    // A set-up the player tuned for the class rides; the computer riders take their own.
    start.setupsRead = race.LoadSessionBikeSetups(menuArchive);
    current.riderCount = trimmed.riderCount;
    race.race.riderCount = static_cast<uint16_t>(trimmed.riderCount);
    race.race.totalLaps = start.laps;
    start.fieldSize = field.size;
    return start;
}
