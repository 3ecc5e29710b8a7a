// Races left before every rider finished: completed by simulation behind the real finishers,
// or each running rider's time projected along the racing line.

#include <gtest/gtest.h>

#include <memory>

#include "frontend/season/RaceCompletion.h"

namespace
{
constexpr size_t kLapRow = RaceStandings::kLapRow;

int NoRandom()
{
    return 0;
}

// Riders 0..count-1 race, in rider order, still running.
std::unique_ptr<RaceStandings> Race(uint16_t count)
{
    auto standings = std::make_unique<RaceStandings>();
    standings->ridersInRace = count;
    standings->sessionRanks.fill(session_rank::kNotEntered);
    standings->sessionTimes.fill(-1.0f);
    for (uint16_t rider = 0; rider < RaceStandings::kRiders; ++rider)
    {
        standings->positionTable[rider] = rider;
        standings->gridOrder[rider] = rider + 1;
        standings->sortKey[rider] = -rider;
        for (auto& row : standings->splitMs[rider])
        {
            row.fill(-1);
        }
    }
    for (uint16_t rider = 0; rider < count; ++rider)
    {
        standings->sessionRanks[rider] = session_rank::kRacing;
    }
    return standings;
}

void RideLaps(RaceStandings& standings, size_t rider, std::initializer_list<int32_t> laps)
{
    size_t lap = 1;
    for (const int32_t ms : laps)
    {
        standings.splitMs[rider][kLapRow][lap++] = ms;
    }
}
}  // namespace

TEST(RaceCompletion, RunningRidersFinishBehindTheRealFinishersAndTheStoppedAreUnclassified)
{
    auto standings = Race(5);
    RideLaps(*standings, 0, {100000, 100000, 100000});  // finished
    standings->sessionRanks[0] = 0;
    RideLaps(*standings, 1, {100000});  // one lap ridden, two to go
    RideLaps(*standings, 2, {90000});   // stands by the track
    // Rider 3 (the player) stands too; rider 4 has not finished a lap.
    const bool inField[] = {true, true, true, true, true};
    const bool stopped[] = {false, false, true, true, false};
    const int32_t baseLapMs[] = {100000, 100000, 100000, 100000, 150000};
    CompleteRaceBySimulation(
        *standings,
        {.laps = 3, .player = 3, .inField = inField, .stopped = stopped, .baseLapMs = baseLapMs},
        NoRandom);

    const auto& ranks = standings->sessionRanks;
    EXPECT_EQ(ranks[0], 0);
    EXPECT_EQ(ranks[1], 0);
    EXPECT_EQ(ranks[4], 1) << "153000 + 2 x 150000 is a lap and more behind the winner";
    EXPECT_EQ(ranks[2], session_rank::kNotEntered);
    EXPECT_EQ(ranks[3], session_rank::kRacing) << "the player left standing is not unclassified";
    // Equal to the winner's time is not good enough.
    EXPECT_FLOAT_EQ(standings->sessionTimes[1], 300.001f);
    EXPECT_FLOAT_EQ(standings->sessionTimes[4], 453.0f);
    EXPECT_EQ(standings->sessionTimes[2], -1.0f);
    EXPECT_EQ(standings->splitMs[4][kLapRow][1], 153000) << "a standing start";
    EXPECT_EQ(standings->splitMs[4][kLapRow][0], 150000) << "its best lap";

    const int32_t order[] = {0, 1, 4, 2, 3};
    for (int32_t place = 0; place < 5; ++place)
    {
        EXPECT_EQ(standings->positionTable[place], order[place]) << place;
        EXPECT_EQ(standings->gridOrder[order[place]], place + 1);
    }
}

TEST(RaceCompletion, ANetworkRaceStartsEachRiderByItsGridPosition)
{
    auto standings = Race(3);
    const bool inField[] = {true, true, true};
    const bool stopped[] = {false, false, false};
    const int32_t baseLapMs[] = {90000, 90000, 90000};
    CompleteRaceBySimulation(*standings,
                             {.laps = 1,
                              .player = 0,
                              .networkStart = true,
                              .inField = inField,
                              .stopped = stopped,
                              .baseLapMs = baseLapMs},
                             NoRandom);
    for (int32_t rider = 0; rider < 3; ++rider)
    {
        EXPECT_EQ(standings->splitMs[rider][kLapRow][1], 90000 + 103 * (rider + 1));
    }
    EXPECT_EQ(standings->positionTable[0], 0);
}

namespace
{
// A closed line of ten nodes, 100 units apart, where the line allows 50.
std::unique_ptr<RacingLine> TenNodeLine(float speedFactor)
{
    auto line = std::make_unique<RacingLine>();
    line->nodeCount = 10;
    for (size_t node = 0; node < 10; ++node)
    {
        line->nodes[node].speedFactor = speedFactor;
        line->nodes[node].stepLength = 100;
    }
    return line;
}
}  // namespace

TEST(RaceCompletion, TheProjectedTimeRisesToTheLinesSpeedWithinTheClassCap)
{
    struct Case
    {
        BikeClass bikeClass;
        float lineSpeed;
        float startSpeed;
        float riderFactor;
        double seconds;
    };
    const Case cases[] = {
        {BikeClass::Class125, 50.0f, 50.0f, 1.0f, 5 * 2.0},
        {BikeClass::Class125, 100.0f, 60.0f, 1.0f, 5 * 100.0 / 60.0},  // the class cap
        {BikeClass::Class500, 100.0f, 82.0f, 0.5f, 5 * 100.0 / 41.0},  // the rider's factor
        {BikeClass::Class250, 100.0f, 70.0f, 1.0f, 100.0 / 71.7 + 4 * 100.0 / 72.0},
    };
    for (const Case& c : cases)
    {
        const auto line = TenNodeLine(c.lineSpeed);
        EXPECT_NEAR(ProjectedSecondsToFinish(*line, 5, 0, c.startSpeed, c.bikeClass, c.riderFactor),
                    c.seconds, 1e-4)
            << ToIndex(c.bikeClass);
    }
    const auto line = TenNodeLine(50.0f);
    EXPECT_EQ(ProjectedSecondsToFinish(*line, 12, 0, 50.0f, BikeClass::Class125, 1.0f), 0.0);
}

TEST(RaceCompletion, ProjectedRidersRankByLapsThenTimeAndARiderOffTheLineRetires)
{
    auto standings = Race(5);
    standings->sessionRanks[0] = 0;
    standings->sessionTimes[0] = 300.0f;
    standings->sortKey[0] = 80000;
    const auto line = TenNodeLine(50.0f);
    auto bikes = std::make_unique<std::array<BikeRecord, 5>>();
    const struct
    {
        uint32_t status;
        uint32_t node;
        uint16_t lap;
    } riders[] = {{0, 0, 3}, {9, 5, 3}, {8, 8, 2}, {9, 50, 3}, {5, 5, 3}};
    for (size_t rider = 0; rider < 5; ++rider)
    {
        (*bikes)[rider].raceStatus = riders[rider].status;
        (*bikes)[rider].aiLineNode = riders[rider].node;
        (*bikes)[rider].lapsStarted = riders[rider].lap;
        (*bikes)[rider].speed = 50.0f;
        (*bikes)[rider].aiPerformanceRoot = 1.0f;
    }
    const bool inField[] = {true, true, true, true, true};
    ProjectRunningRiders(*standings,
                         {.laps = 3,
                          .bikeClass = BikeClass::Class125,
                          .line = line.get(),
                          .finishNode = 0,
                          .bikes = *bikes,
                          .inField = inField},
                         NoRandom);
    EXPECT_FLOAT_EQ(standings->sessionTimes[1], 310.0f);
    EXPECT_FLOAT_EQ(standings->sessionTimes[2], 304.0f);
    EXPECT_EQ(standings->sessionRanks[1], 0);
    EXPECT_EQ(standings->sessionRanks[2], 1);
    EXPECT_EQ(standings->sessionRanks[3], session_rank::kRetired);
    EXPECT_EQ(standings->sessionRanks[4], session_rank::kRacing) << "not a racing status";
    EXPECT_EQ(standings->sortKey[1], 3 * 20000 - 1 + 19900);
    EXPECT_EQ(standings->sortKey[2], 2 * 20000 + 19900);
    const int32_t order[] = {0, 1, 2};
    for (int32_t place = 0; place < 3; ++place)
    {
        EXPECT_EQ(standings->positionTable[place], order[place]) << place;
    }
    EXPECT_GT(standings->gridOrder[3], 3);
}
