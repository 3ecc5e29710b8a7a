#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/race/standings/StandingsRig.h"

namespace
{
constexpr size_t kLapRow = RaceStandings::kLapRow;

// A race from the grid: every rider crosses the start line once to begin lap 1 at 0 ms.
class RaceTimingTest : public testing::Test
{
protected:
    explicit RaceTimingTest(uint32_t riders = 3, uint32_t laps = 2) : rig(riders)
    {
        rig.Reset(rig.RaceSession(laps));
        for (uint32_t rider = 0; rider < riders; ++rider)
        {
            rig.Cross(rider, 0, 0);
        }
    }

    RaceStandings& standings() { return *rig.standings; }

    StandingsRig rig;
};

TEST_F(RaceTimingTest, SectionsAndLapsAreCountedFromLineCrossings)
{
    const BikeRecord& bike = rig.Bike(0);
    EXPECT_EQ(bike.timedLap, 1) << "the grid's crossing starts lap 1";
    EXPECT_EQ(bike.lapsStarted, 1);

    EXPECT_EQ(rig.Cross(0, 1, 21000), 0u);
    EXPECT_EQ(rig.Cross(0, 2, 44000), 0u);
    EXPECT_EQ(rig.Cross(0, 0, 61500), 0u) << "a race stores no lap file";
    const auto& split = standings().splitMs[0];
    EXPECT_EQ(split[1][1], 21000);
    EXPECT_EQ(split[2][1], 23000);
    EXPECT_EQ(split[0][1], 17500);
    EXPECT_EQ(split[kLapRow][1], 61500);
    EXPECT_EQ(split[kLapRow][0], 61500) << "best lap";
    EXPECT_EQ(split[1][0], 21000) << "best first section";
    EXPECT_EQ(bike.timedLap, 2);
    EXPECT_EQ(bike.lapsStarted, 2);
    EXPECT_EQ(standings().fastestLapMs, 61500u);
    EXPECT_EQ(std::string(standings().fastestLapText.data()), "Schnellste Runde Rider 0");
    EXPECT_EQ(std::string(standings().fastestLapTimeText.data()), " 1:01:500");
    EXPECT_EQ(standings().firstCrossingMs[1][1], 21000);

    rig.Cross(1, 1, 22250);
    EXPECT_EQ(standings().firstCrossingMs[1][1], 21000) << "the leader's";
    EXPECT_EQ(standings().lastCrossingMs[1][1], 22250);
}

TEST_F(RaceTimingTest, ALapTimeIsStoredOnceAndABestOfNoneTakesAnyLap)
{
    rig.RideLap(0, 0);
    rig.Bike(0).timedLap = 1;  // lap 1 again, as after backing over the line
    rig.Bike(0).lapsStarted = 1;
    rig.Cross(0, 0, 130000);
    EXPECT_EQ(standings().splitMs[0][kLapRow][1], 60000) << "the first stays";
    EXPECT_EQ(standings().splitMs[0][kLapRow][0], 60000) << "70 s is no better";
}

TEST_F(RaceTimingTest, BackingOverTheStartLineTakesTheLapBack)
{
    rig.Cross(0, 1, 20000);
    // Back over line 0 and forward again: still lap 1.
    rig.Place(0, 0);
    rig.Bike(0).positionZ = 1.0f;
    rig.Bike(0).aiFlags &= ~ai_flags::kTimingSide0;
    rig.Bike(0).positionZ = -1.0f;
    standings().UpdateSectors(0);
    EXPECT_EQ(rig.Bike(0).timedLap, 0);
    rig.Cross(0, 0, 30000);
    EXPECT_EQ(rig.Bike(0).timedLap, 1);
    EXPECT_EQ(rig.Bike(0).lapsStarted, 1);
    EXPECT_EQ(standings().splitMs[0][kLapRow][0], -1) << "no lap was timed";
}

TEST_F(RaceTimingTest, ACrossingBeyondTheLinesEndsDoesNotCount)
{
    for (const float x : {10.0f, -10.0f, 25.0f})
    {
        rig.Cross(0, 1, 20000, 0.0f, x);
        EXPECT_EQ(standings().splitMs[0][1][1], -1) << x;
    }
    rig.Cross(0, 1, 20000, 0.0f, 9.5f);
    EXPECT_EQ(standings().splitMs[0][1][1], 20000);
}

TEST_F(RaceTimingTest, ACrossingIsDatedBackByTheWayPastTheLine)
{
    // 0.15 m past at 10 m/s: 15 ms ago. Beyond a step's way, 38 ms.
    rig.Cross(0, 1, 20000, 0.15f);
    EXPECT_EQ(standings().splitMs[0][1][1], 20000 - 15);
    rig.Cross(1, 1, 20000, 3.0f);
    EXPECT_EQ(standings().splitMs[1][1][1], 20000 - 38);

    // Riding at an angle to the line: the way back along the heading.
    BikeRecord& bike = rig.Bike(2);
    rig.Place(2, 1);
    bike.heading = 0.5f;
    bike.positionX = 0.1f * std::sin(0.5f);
    bike.positionZ = 100.0f + 0.1f * std::cos(0.5f);
    standings().Session().raceTime = 20.0f;
    standings().UpdateSectors(2);
    EXPECT_EQ(standings().splitMs[2][1][1], 20000 - 10);
}

TEST_F(RaceTimingTest, TheSpeedTrapKeepsEachLapsSpeedAndTheHighest)
{
    standings().head.speedTrapLine = 2;
    rig.Bike(0).speed = 70.0f;
    rig.Cross(0, 2, 40000);
    EXPECT_EQ(standings().trapSpeed[0][1], 70.0f);
    EXPECT_EQ(standings().trapSpeed[0][0], 70.0f);
}

class FinishTest : public RaceTimingTest
{
protected:
    FinishTest() : RaceTimingTest(3, 2) {}
};

TEST_F(FinishTest, TheLeaderTakesTheFlagAndALappedRiderFinishesALapDown)
{
    // Rider 0 wins, rider 1 second on the same lap, rider 2 a lap behind.
    rig.RideLap(0, 0);
    rig.RideLap(1, 1000);
    rig.Cross(2, 1, 30000);
    rig.Cross(2, 2, 70000);
    rig.RideLap(0, 60000);
    EXPECT_EQ(rig.Bike(0).timedLap, 3) << "past the last lap";
    EXPECT_EQ(rig.Bike(0).raceStatus, 10u);
    EXPECT_EQ(standings().sessionRanks[0], 0) << "no lap down";
    EXPECT_EQ(standings().sessionTimes[0], 120.0f);
    EXPECT_EQ(standings().finishCount, 1);
    EXPECT_EQ(rig.hooks.finished, (std::vector<uint32_t>{0}));
    EXPECT_EQ(standings().sessionOver, 0u);

    // The leader is in: the lapped rider finishes at its next crossing of the line.
    rig.Cross(2, 0, 130000);
    EXPECT_EQ(standings().sessionRanks[2], 1) << "a lap down";
    EXPECT_EQ(rig.Bike(2).timedLap, 3);
    EXPECT_EQ(rig.Bike(2).lapsStarted, 2);

    rig.RideLap(1, 61000);
    EXPECT_EQ(standings().sessionRanks[1], 0);
    EXPECT_EQ(standings().sessionOver, 1u) << "nobody left on the track";

    standings().Resort(true);
    EXPECT_EQ(standings().positionTable[0], 0);
    EXPECT_EQ(standings().positionTable[1], 1);
    EXPECT_EQ(standings().positionTable[2], 2);
    EXPECT_EQ(standings().podiumRider[0], 0u);
    EXPECT_EQ(std::string(standings().podiumTimeText[0].data()), " 2:00:000");
}

TEST_F(FinishTest, CuttingTheCourseCostsTenSecondsInItsRangeAndTheRaceElsewhere)
{
    standings().Session().penaltyFirstNode = 10;
    standings().Session().penaltyLastNode = 20;
    rig.RideLap(0, 0);
    rig.RideLap(1, 0);
    rig.Bike(0).aiFlags |= ai_flags::kPenaltyPending;
    rig.Bike(0).aiLineNode = 15;
    rig.Bike(1).aiFlags |= ai_flags::kPenaltyPending;
    rig.Bike(1).aiLineNode = 100;
    rig.RideLap(0, 60000);
    rig.RideLap(1, 60000);
    EXPECT_EQ(standings().sessionTimes[0], 130.0f);
    EXPECT_EQ(standings().sessionRanks[0], 0);
    EXPECT_EQ(standings().sessionRanks[1], session_rank::kDisqualified);
    EXPECT_NE(rig.Bike(1).aiFlags & ai_flags::kDisqualified, 0u);
}

TEST(PlayerFinishTest, EndsTheRaceTwentySecondsLaterAndShowsTheFinish)
{
    StandingsRig rig(26);
    rig.Reset(rig.RaceSession(1));
    rig.Cross(25, 0, 0);
    rig.RideLap(25, 0);
    EXPECT_EQ(rig.hooks.playerFinishedAt, 60.0f);
    EXPECT_EQ(rig.hooks.finishViews, (std::vector<uint32_t>{25}));
    EXPECT_EQ(rig.standings->display.displayTimer, 600.0f);
}

// Practice: laps are timed from the line and stored by the caller.
class PracticeTimingTest : public testing::Test
{
protected:
    PracticeTimingTest() : rig(2)
    {
        StandingsSession session = rig.RaceSession(10);
        session.isRace = false;
        session.practiceFlag = {1, 1};
        rig.Reset(session);
        rig.Cross(0, 0, 5000);  // out of the pits onto the flying lap
    }

    StandingsRig rig;
};

TEST_F(PracticeTimingTest, ATimedLapMayBeStored)
{
    EXPECT_EQ(rig.Bike(0).timedLap, 1);
    rig.Cross(0, 1, 20000);
    rig.Cross(0, 2, 40000);
    EXPECT_EQ(rig.Cross(0, 0, 60000), 1u);
    EXPECT_EQ(rig.standings->splitMs[0][kLapRow][1], 55000) << "from the line";
    EXPECT_EQ(rig.standings->splitMs[0][1][1], 15000) << "the first section too";
    EXPECT_EQ(rig.standings->gridOrder[0], 1) << "ranked by best lap";
    EXPECT_EQ(rig.standings->gridOrder[1], 2);
}

TEST_F(PracticeTimingTest, ALapFromThePitsIsNotTimed)
{
    rig.recording->sampleCount = 12;
    rig.standings->pitRuleFlag[25] = 0;
    rig.Bike(25).timedLap = 0;
    // The player came out of the pit lane: its lap did not start on the main line.
    StandingsRig& r = rig;
    r.standings->Session().playerRider = 0;
    r.standings->pitRuleFlag[0] = 0;
    r.Cross(0, 1, 20000);
    EXPECT_EQ(r.Cross(0, 0, 60000), 0u);
    EXPECT_EQ(r.standings->splitMs[0][kLapRow][1], -1);
    EXPECT_EQ(r.standings->splitMs[0][1][1], -1) << "its sections go too";
    EXPECT_EQ(r.recording->sampleCount, 0) << "the recording starts again";
    EXPECT_EQ(r.standings->pitRuleFlag[0], 1u) << "the next lap starts on the main line";
}

}  // namespace
