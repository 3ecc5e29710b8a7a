// Whole Grand Prix weekends and a 15-round championship, headless: every session simulated as
// for a player who rides none, each session seeded by its own time of day as the game seeds
// it at every session start.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <numeric>
#include <tuple>
#include <vector>

#include "core/util/RuntimeRandom.h"
#include "frontend/season/ChampionshipSave.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/SimulatedRace.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/season/WeekendStart.h"
#include "kit/race/ClassSetups.h"
#include "race/RaceContext.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr uint32_t kPlayer = 20;
constexpr BikeClass kClass = BikeClass::Class250;
constexpr CircuitClimate kClimate = {13, 55, 24, 6, 60, 1010};
constexpr std::array<int32_t, 3> kReferenceSectors = {31000, 29000, 30000};

std::array<float, 26> Ratings()
{
    std::array<float, 26> rating{};
    for (uint32_t rider = 0; rider < rating.size(); ++rider)
    {
        rating[rider] = 0.9f + 0.006f * static_cast<float>((rider * 7) % 26);
    }
    return rating;
}

const std::array<float, 26> kRatings = Ratings();

struct RoundLog
{
    std::array<int32_t, 26> gridForRace{};
    SimulatedRaceResult race;
};

uint32_t TimeOfDay(uint32_t circuit, uint32_t session)
{
    return 36000000 + circuit * 7919 + session * 104729;
}

// One weekend or championship round from its first session through its race.
RoundLog RunRound(MenuState& settings, GameMode mode)
{
    const uint32_t circuit = settings.U32At(MenuState::kCircuitOffset);
    RuntimeSeed(TimeOfDay(circuit, 99));
    RollSessionWeather(settings, mode, 1, circuit, kClimate, RuntimeRand);
    const WeekendRiders riders{.bikeClass = kClass, .player = kPlayer, .rating = kRatings};
    RoundLog log;
    for (;;)
    {
        const uint32_t session = settings.U32At(MenuState::kSessionOffset);
        RuntimeSeed(TimeOfDay(settings.U32At(MenuState::kCircuitOffset), session));
        const WeekendSessionStart start = StartWeekendSession(
            settings, mode, riders, {.referenceSectorMs = kReferenceSectors}, RuntimeRand);
        const Weather weather = static_cast<Weather>(
            settings.U8At(MenuState::kSessionWeatherOffset + WeatherSlotOfSession(start.session)));
        if (start.session < kRaceSession)
        {
            // Nobody rode: the session holds no times of its own and is simulated.
            const std::array<uint32_t, 26> status = TimedSessionStatus(start.fieldMask, kPlayer);
            SimulateTimedSession(settings, start.session,
                                 {.referenceSectorMs = kReferenceSectors,
                                  .weather = weather,
                                  .raceStatus = status,
                                  .rating = kRatings},
                                 true, RuntimeRand);
            settings.SetU32At(MenuState::kSessionOffset, start.session + 1);
            continue;
        }
        log.gridForRace = start.positions;
        log.race = SimulateRace({.laps = 5,
                                 .referenceLapMs = 90000,
                                 .weather = weather,
                                 .fieldMask = start.fieldMask,
                                 .rating = kRatings},
                                RuntimeRand);
        std::array<bool, 26> tookPart{};
        for (uint32_t rider = 0; rider < 26; ++rider)
        {
            tookPart[rider] = ((start.fieldMask >> rider) & 1) != 0;
        }
        EnterRacePlaces(settings, settings.U32At(MenuState::kCircuitOffset), RidersOfClass(kClass),
                        log.race.positions, log.race.ranks, tookPart);
        return log;
    }
}

MenuState NewSeason(GameMode mode, uint32_t opponents)
{
    MenuState settings;
    settings.SetU32At(MenuState::kBikeClassOffset, ToIndex(kClass));
    settings.SetU32At(MenuState::kPlayerRiderOffset, kPlayer);
    settings.SetU32At(MenuState::kGameModeOffset, ToIndex(mode));
    settings.SetU32At(MenuState::kOpponentsOffset, opponents);
    return settings;
}

uint32_t FieldSize(uint32_t mask)
{
    return static_cast<uint32_t>(std::popcount(mask));
}

TEST(GrandPrixWeekend, TimedSessionsGridAndRaceFollowTheRules)
{
    MenuState settings = NewSeason(GameMode::GrandPrix, 12);
    settings.SetU32At(MenuState::kCircuitOffset, 8);
    const RoundLog log = RunRound(settings, GameMode::GrandPrix);
    const uint32_t mask = settings.U32At(MenuState::kFieldMaskOffset);
    ASSERT_EQ(FieldSize(mask), 13u);
    ASSERT_TRUE((mask >> kPlayer) & 1);

    // Every timed session: the field's computer riders in the order of their lap times.
    for (uint32_t session = 0; session < kTimedSessions; ++session)
    {
        std::vector<uint8_t> riders;
        int32_t previous = 0;
        for (size_t index = 0; index < 26; ++index)
        {
            const uint8_t rider = SessionOrderAt(settings, session, index);
            const SessionTimes times = SessionTimesAt(settings, session, index);
            if (rider == 0xFF)
            {
                EXPECT_EQ(times.lapMs, -1);
                continue;
            }
            EXPECT_GE(times.lapMs, previous) << "session " << session;
            const int32_t extra =
                times.lapMs - std::accumulate(times.sectorMs.begin(), times.sectorMs.end(), 0);
            EXPECT_TRUE(extra >= 0 && extra <= 0xFF) << "the lap is its sectors and a little more";
            previous = times.lapMs;
            riders.push_back(rider);
        }
        std::ranges::sort(riders);
        std::vector<uint8_t> field;
        for (uint8_t rider = 0; rider < 26; ++rider)
        {
            if (((mask >> rider) & 1) && rider != kPlayer)
            {
                field.push_back(rider);
            }
        }
        EXPECT_EQ(riders, field) << "session " << session;
    }

    // Weekend best: the best lap of any session, practice an hour behind; the race grid from it.
    std::array<uint32_t, 26> best{};
    best.fill(0xFFFFFFFF);
    for (uint32_t session = 0; session < kTimedSessions; ++session)
    {
        for (size_t index = 0; index < 26; ++index)
        {
            const uint8_t rider = SessionOrderAt(settings, session, index);
            if (rider < 26)
            {
                const uint32_t lap = SessionTimesAt(settings, session, index).lapMs +
                                     (session % 2 == 0 ? 3600000u : 0u);
                best[rider] = std::min(best[rider], lap);
            }
        }
    }
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        EXPECT_EQ(WeekendBest(settings, rider), best[rider]) << "rider " << rider;
        if ((mask >> rider) & 1)
        {
            int32_t ahead = 0;
            for (uint32_t other = 0; other < 26; ++other)
            {
                ahead += ((mask >> other) & 1) && (best[other] < best[rider] ||
                                                   (best[other] == best[rider] && other < rider));
            }
            EXPECT_EQ(log.gridForRace[rider], ahead + 1) << "rider " << rider;
        }
    }
    EXPECT_EQ(log.gridForRace[kPlayer], 13) << "the player rode no session: the back of the field";

    // The race: the field placed 0..12 by their totals, the class's other riders unplaced.
    for (uint32_t rider = 0; rider < RidersOfClass(kClass); ++rider)
    {
        const uint8_t place = ChampionshipPlace(settings, rider, 8);
        if ((mask >> rider) & 1)
        {
            EXPECT_EQ(place, log.race.positions[rider] - 1);
            for (uint32_t other = 0; other < 26; ++other)
            {
                if (((mask >> other) & 1) && log.race.totalMs[other] < log.race.totalMs[rider])
                {
                    EXPECT_LT(ChampionshipPlace(settings, other, 8), place);
                }
            }
        }
        else
        {
            EXPECT_EQ(place, kUnplaced);
        }
    }
}

// Runs the rounds from the championship's current circuit through the last.
void RunChampionshipTo(MenuState& settings, uint32_t lastRound)
{
    while (settings.U32At(MenuState::kCircuitOffset) <= lastRound)
    {
        RunRound(settings, GameMode::Championship);
        if (settings.U32At(MenuState::kCircuitOffset) < lastRound)
        {
            AdvanceChampionshipRound(settings);
        }
        else
        {
            break;
        }
    }
}

struct Standing
{
    uint32_t rider;
    uint32_t points;
    uint8_t best;
    uint8_t atLast;
};

// The table worked out afresh from the places: points, best place, place at the last round.
std::vector<Standing> StandingsOf(const MenuState& settings)
{
    constexpr std::array<uint32_t, 15> kPoints = {25, 20, 16, 13, 11, 10, 9, 8,
                                                  7,  6,  5,  4,  3,  2,  1};
    std::vector<Standing> table;
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        Standing standing{rider, 0, 0xFF, ChampionshipPlace(settings, rider, 14)};
        for (size_t circuit = 0; circuit < 18; ++circuit)
        {
            const uint8_t place = ChampionshipPlace(settings, rider, circuit);
            standing.points += place < kPoints.size() ? kPoints[place] : 0;
            standing.best = std::min(standing.best, place);
        }
        table.push_back(standing);
    }
    std::ranges::sort(table,
                      [](const Standing& a, const Standing& b)
                      {
                          return std::tie(b.points, a.best, a.atLast, a.rider) <
                                 std::tie(a.points, b.best, b.atLast, b.rider);
                      });
    return table;
}

TEST(Championship, FifteenRoundsKeepOneFieldAndCrownTheLeader)
{
    MenuState settings = NewSeason(GameMode::Championship, 25);
    settings.SetU32At(MenuState::kCircuitOffset, 15);  // a finished championship starts again
    settings.SetU8At(MenuState::kChampionshipOffset + 3, 0);
    RunRound(settings, GameMode::Championship);
    ASSERT_EQ(settings.U32At(MenuState::kCircuitOffset), 0u);
    const uint32_t mask = settings.U32At(MenuState::kFieldMaskOffset);
    ASSERT_EQ(FieldSize(mask), 26u);
    AdvanceChampionshipRound(settings);
    RunChampionshipTo(settings, 13);
    EXPECT_EQ(settings.U32At(MenuState::kFieldMaskOffset), mask) << "one field throughout";
    EXPECT_FALSE(
        IsChampionshipWon(settings, GameMode::Championship, 13, ChampionshipLeader(settings, 13)))
        << "not over before the last round";
    AdvanceChampionshipRound(settings);
    RunChampionshipTo(settings, 14);

    for (size_t circuit = 0; circuit < 18; ++circuit)
    {
        std::vector<uint8_t> places;
        for (uint32_t rider = 0; rider < 26; ++rider)
        {
            places.push_back(ChampionshipPlace(settings, rider, circuit));
        }
        std::ranges::sort(places);
        std::vector<uint8_t> expected(26, 0xFF);
        if (circuit <= 14)
        {
            std::iota(expected.begin(), expected.end(), 0);
        }
        EXPECT_EQ(places, expected) << "circuit " << circuit;
    }
    const std::vector<Standing> table = StandingsOf(settings);
    const uint32_t champion = table.front().rider;
    EXPECT_EQ(ChampionshipLeader(settings, 14), champion);
    for (const Standing& standing : table)
    {
        EXPECT_EQ(IsChampionshipWon(settings, GameMode::Championship, 14, standing.rider),
                  standing.rider == champion)
            << "rider " << standing.rider;
        EXPECT_EQ(ScoreOfRider(settings, standing.rider, 14).points, standing.points);
    }
    EXPECT_GT(table.front().points, table.back().points);
}

TEST(Championship, SavedLoadedAndContinuedEqualsTheUninterruptedOne)
{
    TestDirectory directory;
    std::filesystem::create_directories(kChampionshipSaveFolder);
    MenuState uninterrupted = NewSeason(GameMode::Championship, 20);
    RunChampionshipTo(uninterrupted, 14);

    g_menuState = NewSeason(GameMode::Championship, 20);
    RunChampionshipTo(g_menuState, 6);
    AdvanceChampionshipRound(g_menuState);
    g_playerRider = kPlayer;
    g_bikes[kPlayer].setup = kit::ClassStandardSetup(kClass);
    ASSERT_TRUE(SaveChampionship("save/wm/Halbzeit"));

    g_menuState = MenuState();  // the game started again
    ASSERT_TRUE(LoadChampionship("save/wm/Halbzeit"));
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 7u);
    RunChampionshipTo(g_menuState, 14);
    EXPECT_EQ(g_menuState, uninterrupted);

    MenuState again = NewSeason(GameMode::Championship, 20);
    RunChampionshipTo(again, 14);
    EXPECT_EQ(again, uninterrupted) << "one seed, one championship";
}
}  // namespace
