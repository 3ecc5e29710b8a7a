#include "race/standings/TimingServices.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/files/FileSystem.h"
#include "race/RaceSim.h"
#include "race/laps/LapFile.h"
#include "tests/race/standings/StandingsRig.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr uint32_t kPlayer = 0;

class TimingServicesTest : public testing::Test
{
protected:
    TimingServicesTest() : rig(2), sim(std::make_unique<RaceSim>())
    {
        StandingsSession session = rig.RaceSession(10);
        session.isRace = false;
        session.playerRider = kPlayer;
        session.practiceFlag = {1, 1};
        rig.Reset(session);
        services = std::make_unique<TimingServices>(*sim, *rig.standings, *rig.recording, rig.bikes,
                                                    *rig.line);
        services->SetPlayerRider(kPlayer);
        services->SetRiderCount(2);
        services->SetLapHeader({0, 0, 0, kPlayer, 0, 1013, 20, 50});
    }

    // From just short of the line to just past it, through the per-rider update.
    void Cross(uint32_t rider, uint32_t line)
    {
        rig.Place(rider, line);
        rig.Bike(rider).positionZ = StandingsRig::kLineZ[line];
        services->UpdateRiders();
    }

    StandingsRig rig;
    std::unique_ptr<RaceSim> sim;
    std::unique_ptr<TimingServices> services;
};

TEST_F(TimingServicesTest, TheRiderUpdateTimesEveryRiderAndStoresThePlayersLaps)
{
    const TestDirectory directory;
    ASSERT_TRUE(files::MakeDirectories("tempdaten"));
    for (const uint32_t rider : {0u, 1u})
    {
        Cross(rider, 0);
        EXPECT_EQ(rig.Bike(rider).timedLap, 1) << rider;
    }
    for (int i = 0; i < 40; ++i)
    {
        rig.Bike(kPlayer).positionZ = static_cast<float>(i);
        services->AppendLapSample(rig.Bike(kPlayer));
    }
    Cross(kPlayer, 1);
    Cross(kPlayer, 2);
    Cross(kPlayer, 0);
    EXPECT_EQ(rig.recording->sampleCount, 0) << "the lap was ended";
    auto lap = std::make_unique<LapRecord>();
    ASSERT_TRUE(ReadLapFile(SessionLapPath(1), *lap));
    EXPECT_EQ(lap->sampleCount, 40);
    EXPECT_EQ(lap->valid, 1u);

    Cross(1, 1);
    Cross(1, 2);
    Cross(1, 0);
    EXPECT_FALSE(files::Exists(SessionLapPath(2))) << "another rider's lap is not stored";
}

TEST_F(TimingServicesTest, ARollbackRestoresTheStandingsAndTheRecordingCount)
{
    Cross(kPlayer, 0);
    rig.recording->sampleCount = 7;
    services->SaveRollbackState(3);
    Cross(kPlayer, 1);
    rig.recording->sampleCount = 9;
    services->RetireRider(1, false);
    services->RestoreRollbackState(3);
    EXPECT_EQ(rig.standings->splitMs[kPlayer][1][1], -1);
    EXPECT_EQ(rig.standings->sessionRanks[1], session_rank::kRacing);
    EXPECT_EQ(rig.recording->sampleCount, 7);
}

}  // namespace
