// The race's own systems as the tick drives them: every rider timed at the timing lines, the
// player's laps filed, and the standings and lap counts taken back by a rollback.

#include <gtest/gtest.h>

#include <memory>

#include "core/files/FileSystem.h"
#include "race/RaceContext.h"
#include "race/RaceRollback.h"
#include "race/RaceSim.h"
#include "race/laps/LapFile.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr uint32_t kPlayer = 0;
constexpr uint32_t kRiders = 2;
constexpr float kLineZ[3] = {0.0f, 100.0f, 200.0f};
constexpr uint16_t kNodes = 300;

// A straight main line towards +z with the three timing lines across it, two riders on it in
// a practice session.
class RaceSystemsTest : public testing::Test
{
protected:
    RaceSystemsTest()
        : race(std::make_unique<RaceContext>("records.cpr")), sim(std::make_unique<RaceSim>())
    {
        race->race.nodeCount = race->race.pitLaneFirstNode = race->race.pitLaneEndNode =
            race->race.linkLimit = kNodes;
        for (size_t k = 0; k < 3; ++k)
        {
            race->standings.head.lineX[k] = {10.0f, -10.0f};  // forwards towards +z
            race->standings.head.lineZ[k] = {kLineZ[k], kLineZ[k]};
            race->standings.head.lineOffset[k] = kLineZ[k];
        }
        StandingsSession session;
        session.isRace = false;
        session.riderCount = kRiders;
        session.inRace = {1, 1};
        session.practiceFlag = {1, 1};
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            race->bikes[rider].raceStatus = 9;
            race->bikes[rider].lapsStarted = 1;
            race->bikes[rider].speed = 10.0f;
            race->standings.gridOrder[rider] = static_cast<int32_t>(rider + 1);
        }
        race->standings.ResetForRace(session);
        race->lapHeader = {0, 0, 0, kPlayer, 0, 1013, 20, 50};
        sim->SetRace(race.get());
        sim->SetPlayerRider(kPlayer);
    }

    // From just short of the line to just past it, through the riders' update.
    void Cross(uint32_t rider, uint32_t line)
    {
        BikeRecord& bike = race->bikes[rider];
        bike.aiFlags &= ~(ai_flags::kTimingSide0 * 7);
        for (uint32_t k = 0; k < 3; ++k)
        {
            if (kLineZ[line] - 1.0f < kLineZ[k])
            {
                bike.aiFlags |= ai_flags::kTimingSide0 << k;
            }
        }
        bike.positionZ = kLineZ[line];
        race->race.UpdateRiders(*sim, kRiders);
    }

    std::unique_ptr<RaceContext> race;
    std::unique_ptr<RaceSim> sim;
};

TEST_F(RaceSystemsTest, TheRiderUpdateTimesEveryRiderAndFilesThePlayersLaps)
{
    const TestDirectory directory;
    ASSERT_TRUE(files::MakeDirectories("tempdaten"));
    for (const uint32_t rider : {0u, 1u})
    {
        Cross(rider, 0);
        EXPECT_EQ(race->bikes[rider].timedLap, 1) << rider;
    }
    for (int i = 0; i < 40; ++i)
    {
        race->bikes[kPlayer].positionZ = static_cast<float>(i);
        race->lapRecord.AppendSample(race->bikes[kPlayer], 0.04f * static_cast<float>(i));
    }
    Cross(kPlayer, 1);
    Cross(kPlayer, 2);
    Cross(kPlayer, 0);
    EXPECT_EQ(race->lapRecord.sampleCount, 0) << "the lap was ended";
    auto lap = std::make_unique<LapRecord>();
    ASSERT_TRUE(ReadLapFile(SessionLapPath(1), *lap));
    EXPECT_EQ(lap->sampleCount, 40);
    EXPECT_EQ(lap->valid, 1u);

    Cross(1, 1);
    Cross(1, 2);
    Cross(1, 0);
    EXPECT_FALSE(files::Exists(SessionLapPath(2))) << "another rider's lap is not stored";
}

TEST_F(RaceSystemsTest, ARollbackRestoresTheStandingsAndTheRecordingCount)
{
    const auto rollback = std::make_unique<RaceRollback>();
    Cross(kPlayer, 0);
    race->lapRecord.sampleCount = 7;
    rollback->Save(3, *race);
    Cross(kPlayer, 1);
    race->lapRecord.sampleCount = 9;
    race->standings.RetireRider(1, false);
    rollback->Restore(3, *race);
    EXPECT_EQ(race->standings.splitMs[kPlayer][1][1], -1);
    EXPECT_EQ(race->standings.sessionRanks[1], session_rank::kRacing);
    EXPECT_EQ(race->lapRecord.sampleCount, 7);
}
}  // namespace
