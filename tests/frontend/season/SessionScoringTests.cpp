#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>

#include "app/game/CurrentRace.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/FinishedSession.h"
#include "frontend/season/SessionScoring.h"
#include "frontend/season/WeekendSessions.h"
#include "race/RaceContext.h"
#include "tests/support/TestDirectory.h"

namespace
{
int Zero()
{
    return 0;
}

void SetBest(RaceStandings& standings, uint32_t rider, int32_t lapMs)
{
    standings.splitMs[rider][RaceStandings::kLapRow][0] = lapMs;
    standings.splitMs[rider][1][0] = lapMs / 3;
    standings.splitMs[rider][2][0] = lapMs / 3;
    standings.splitMs[rider][0][0] = lapMs - 2 * (lapMs / 3);
}

class LapRecordTest : public testing::Test
{
protected:
    TestDirectory directory;
    RaceAiSystem race{"system.cpr"};
    std::unique_ptr<RaceStandings> standings = std::make_unique<RaceStandings>();
    std::array<CircuitTextRecord, kCircuitCount> texts{};
};

TEST_F(LapRecordTest, OnlyALapThatBeatsTheRecordIsTaken)
{
    struct Case
    {
        int32_t best;
        int32_t before;
        int32_t after;
        uint8_t holder;
    };
    constexpr int32_t kNone = CircuitRecords::kNoTime;
    for (const Case& c :
         {Case{30000, kNone, kNone, CircuitRecords::kNoHolder}, Case{30001, kNone, 30001, 6},
          Case{80000, 80000, 80000, 1}, Case{79999, 80000, 79999, 6}})
    {
        race.records = CircuitRecords();
        race.recordsDirty = false;
        if (c.before != kNone)
        {
            race.records.lapMs[1][4] = c.before;
            race.records.holder[1][4] = 1;
        }
        *standings = RaceStandings();
        SetBest(*standings, 6, c.best);
        TakeLapRecords(race, *standings, 26, BikeClass::Class250, CircuitId::A1Ring, texts);
        EXPECT_EQ(race.records.lapMs[1][4], c.after) << c.best;
        EXPECT_EQ(race.records.holder[1][4], c.holder) << c.best;
        EXPECT_EQ(race.recordsDirty, c.after != c.before) << c.best;
    }
}

TEST_F(LapRecordTest, ShownRecordsTakeTheBetterRecordsOfTheRaceObject)
{
    texts[4].lapRecords[1] = {.timeMs = 81000, .holder = 2, .year = 1998};
    texts[5].lapRecords[1] = {.timeMs = 70000, .holder = 2, .year = 1998};
    race.records.lapMs[1][5] = 75000;
    race.records.holder[1][5] = 9;
    SetBest(*standings, 6, 79999);
    TakeLapRecords(race, *standings, 26, BikeClass::Class250, CircuitId::A1Ring, texts);
    EXPECT_EQ(texts[4].lapRecords[1].timeMs, 79999);
    EXPECT_EQ(texts[4].lapRecords[1].holder, 6);
    EXPECT_EQ(texts[5].lapRecords[1].timeMs, 70000) << "the shown record is better";
    EXPECT_EQ(texts[5].lapRecords[1].holder, 2);
    EXPECT_EQ(texts[6].lapRecords[1].timeMs, 0) << "no record to take";
}

class WeekendScoringTest : public testing::Test
{
protected:
    WeekendScoringTest()
    {
        ClearWeekend(settings);
        ClearChampionship(settings);
        status.fill(5);
        status[4] = 6;
        status[8] = 6;
        rating.fill(1.0f);
        settings.SetU32At(MenuState::kFieldMaskOffset, (1u << 3) | (1u << 4) | (1u << 8));
    }

    SimulatedSessionInputs Simulation() const
    {
        return {.referenceSectorMs = {40000, 40000, 40000}, .raceStatus = status, .rating = rating};
    }

    MenuState settings;
    std::array<uint32_t, 26> status{};
    std::array<float, 26> rating{};
    std::unique_ptr<RaceStandings> standings = std::make_unique<RaceStandings>();
};

TEST_F(WeekendScoringTest, ARiddenSessionIsStoredFromTheStandingsAndSorted)
{
    SetBest(*standings, 8, 95000);
    SetBest(*standings, 3, 91000);
    ScoreWeekendSession(settings, 1, 2, BikeClass::Class250, *standings, Simulation(), Zero);
    EXPECT_EQ(SessionOrderAt(settings, 1, 0), 3);
    EXPECT_EQ(SessionTimesAt(settings, 1, 0).sectorMs[2], 91000 - 2 * (91000 / 3));
    EXPECT_EQ(SessionOrderAt(settings, 1, 1), 8);
    EXPECT_EQ(SessionOrderAt(settings, 1, 2), 0xFF) << "rider 4 rode no lap and is not simulated";
    EXPECT_EQ(WeekendBest(settings, 3), 91000u);
}

TEST_F(WeekendScoringTest, ASessionWithoutTimesIsSimulated)
{
    ScoreWeekendSession(settings, 2, 2, BikeClass::Class250, *standings, Simulation(), Zero);
    EXPECT_EQ(SessionOrderAt(settings, 2, 0), 4);
    EXPECT_EQ(SessionOrderAt(settings, 2, 1), 8);
    EXPECT_GT(SessionTimesAt(settings, 2, 0).lapMs, 120000);
}

TEST_F(WeekendScoringTest, TheRaceGoesIntoTheChampionshipForTheField)
{
    standings->gridOrder = {};
    standings->gridOrder[3] = 2;
    standings->gridOrder[4] = 1;
    standings->gridOrder[8] = 3;
    standings->sessionRanks.fill(-8);
    standings->sessionRanks[3] = 0;
    standings->sessionRanks[4] = 0;
    standings->sessionRanks[8] = -3;
    ScoreWeekendSession(settings, 5, 7, BikeClass::Class250, *standings, Simulation(), Zero);
    EXPECT_EQ(ChampionshipPlace(settings, 4, 7), 0);
    EXPECT_EQ(ChampionshipPlace(settings, 3, 7), 1);
    EXPECT_EQ(ChampionshipPlace(settings, 8, 7), kUnplaced);
    EXPECT_EQ(ChampionshipPlace(settings, 0, 7), kUnplaced) << "not in the field";
    EXPECT_EQ(WeekendBest(settings, 4), MenuState::kNoTime) << "the race is no timed session";
}
TEST(FinishedSession, TheGamesRaceIsScoredByItsMode)
{
    struct Case
    {
        GameMode mode;
        uint8_t place;
    };
    for (const Case& c : {Case{GameMode::Championship, 0}, Case{GameMode::GrandPrix, 0},
                          Case{GameMode::Race, kNotRaced}, Case{GameMode::TestRide, kNotRaced}})
    {
        g_menuState = MenuState();
        ClearChampionship(g_menuState);
        g_menuState.SetU32At(MenuState::kSessionOffset, kRaceSession);
        g_menuState.SetU32At(MenuState::kFieldMaskOffset, 1u << 9);
        g_gameMode = c.mode;
        g_bikeClass = BikeClass::Class500;
        g_circuitIndex = CircuitId::Imola;
        g_race.sessionsToSkip = 3;
        g_standings.gridOrder.fill(2);
        g_standings.gridOrder[9] = 1;
        g_standings.sessionRanks.fill(0);

        ScoreFinishedRace();
        EXPECT_EQ(ChampionshipPlace(g_menuState, 9, 7), c.place) << ToIndex(c.mode);
        EXPECT_EQ(g_race.sessionsToSkip, 0u);
    }
}
}  // namespace
