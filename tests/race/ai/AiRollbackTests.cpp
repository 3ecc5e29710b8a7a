// A rollback takes the computer riders' state back with the records: a step simulated again
// after it must meet the pit crews, the hazard zone and the field as they were.

#include <gtest/gtest.h>

#include <memory>

#include "race/RaceRollback.h"
#include "race/ai/PitLane.h"
#include "race/ai/RiderStep.h"
#include "tests/race/ai/AiRig.h"

namespace
{
constexpr size_t kSlot = 5;

class AiRollbackTest : public testing::Test
{
protected:
    AiRollbackTest() : rig(3), rollback(std::make_unique<RaceRollback>()) {}

    void Save()
    {
        bikes = rig.race->bikes;
        rollback->Save(kSlot, *rig.race);
    }
    void Restore()
    {
        rig.race->bikes = bikes;
        rollback->Restore(kSlot, *rig.race);
    }

    AiRig rig;
    std::unique_ptr<RaceRollback> rollback;
    std::array<BikeRecord, kRiderCount> bikes{};
};

TEST_F(AiRollbackTest, APitStopSimulatedAgainTakesTheSameCrew)
{
    rig.AddPitLane();
    RaceServices services;
    rig.Ai().services = &services;
    rig.PutOnNode(1, static_cast<uint16_t>(rig.PitBox(1) - 7), 15.0f);
    rig.Bike(1).raceStatus = race_status::kInPitLane;
    Save();
    const auto comeIn = [&]
    {
        RiderStep step{rig.Ai(), *rig.race, 1, rig.Bike(1), rig.race->riderProfiles[1]};
        pit_lane::TargetPitBox(step);
        return rig.Bike(1).aiPitSlot;
    };
    const uint16_t first = comeIn();
    Restore();
    EXPECT_EQ(comeIn(), first);
}

TEST_F(AiRollbackTest, AHazardZoneThatEndedAfterTheSnapshotIsOpenAgain)
{
    RaceAi& ai = rig.Ai();
    ai.raceTime = 10.0f;
    ASSERT_TRUE(ai.OpenHazardZone(rig.OpenNode(), 0));
    const RaceAi::HazardZone zone = ai.hazard;
    ai.hazardPlace[2] = 3;
    Save();
    ai.raceTime = 30.0f;
    ai.ExpireHazard();
    ASSERT_FALSE(ai.hazard.active);
    Restore();
    EXPECT_TRUE(ai.hazard.active);
    EXPECT_EQ(ai.hazard.firstNode, zone.firstNode);
    EXPECT_EQ(ai.hazard.expiry, zone.expiry);
    EXPECT_EQ(ai.hazardPlace[2], 3);
    EXPECT_FALSE(ai.OpenHazardZone(rig.OpenNode(), 0)) << "only one zone at a time";
}

TEST_F(AiRollbackTest, TheFieldTheStartPhaseTheIncidentsAndTheRidingParametersComeBack)
{
    RaceAi& ai = rig.Ai();
    RiderProfile& profile = rig.race->riderProfiles[0];
    const float pace = profile.pace;
    const float paceBase = profile.paceBase;
    Save();
    ai.RetireRider(2);
    ai.startPhase = 0;
    ai.celebrationsLeft[1] = 0;
    rig.race->incidentRequests.any = rig.race->incidentRequests.crash = true;
    profile.SwapParameters(rig.race->riderProfiles[1], rig.race->riderProfiles[2]);
    profile.pace = 2.0f;
    Restore();
    EXPECT_EQ(ai.inRace[2], 1u);
    EXPECT_EQ(ai.startPhase, 1u);
    EXPECT_EQ(ai.celebrationsLeft[1], RaceAi::kCelebrations);
    EXPECT_FALSE(rig.race->incidentRequests.any);
    EXPECT_FALSE(rig.race->incidentRequests.crash);
    EXPECT_EQ(profile.pace, pace);
    EXPECT_EQ(profile.paceBase, paceBase);
}
}  // namespace
