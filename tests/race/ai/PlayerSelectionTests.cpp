// Taking over the player's rider on the line or in its pit box, the camera leaving a rider
// deep in the pit lane, and the end of a session.

#include <gtest/gtest.h>

#include "race/RaceServices.h"
#include "race/ai/RiderStep.h"
#include "tests/race/ai/AiRig.h"

namespace
{
constexpr uint32_t kPlayer = 1;

class CameraLog : public RaceServices
{
public:
    void ViewNeighbourRiders() override { ++neighbourMoves; }
    void SetTvView(uint32_t camera) override { tvCamera = static_cast<int32_t>(camera); }

    int neighbourMoves = 0;
    int32_t tvCamera = -1;
};

class PlayerSelectionTest : public testing::Test
{
protected:
    PlayerSelectionTest() : rig(3)
    {
        rig.race->playerRider.store(kPlayer);
        rig.sim->SetServices(&camera);
        rig.Ai().services = &camera;
        BikeRecord& bike = rig.Bike(kPlayer);
        bike.lapsStarted = 3;
        bike.timedLap = 3;
        rig.race->standings.splitMs[kPlayer][3][3] = 90000;
    }

    AiRig rig;
    CameraLog camera;
};

TEST_F(PlayerSelectionTest, AfterAFlyingStartThePlayerStandsAtTheEdgeOfTheLanesBehindTheStart)
{
    RaceAi& ai = rig.Ai();
    ai.startGridMode = 1;
    ai.SelectRider(true);
    const BikeRecord& bike = rig.Bike(kPlayer);
    EXPECT_EQ(ai.currentRider, kPlayer);
    EXPECT_EQ(bike.raceStatus, race_status::kPlayerReleased);
    EXPECT_EQ(bike.gear, 1);
    EXPECT_EQ(bike.clutch, 0.0f);
    const RacingLineNode& at = ai.nodes[bike.aiTargetNode];
    EXPECT_FLOAT_EQ(bike.positionX, at.x);
    EXPECT_TRUE(at.sideLink0 >= ai.linkLimit || at.sideLink1 >= ai.linkLimit)
        << "at the edge of the lanes";
    const uint32_t start = ai.CanonicalNode(ai.startSlots.node[0]);
    const uint32_t lap = ai.pitLaneFirstNode;
    const uint32_t behind = (start + lap - bike.aiLineNode) % lap;
    EXPECT_GT(behind, 0u);
    EXPECT_LT(behind, lap / 2) << "behind the start, not ahead of it";
    // The lap is timed again from the next crossing of the start line.
    EXPECT_EQ(bike.timedLap, 2u);
    EXPECT_EQ(rig.race->standings.splitMs[kPlayer][3][3], -1);
}

TEST_F(PlayerSelectionTest, OtherwiseThePlayerWaitsInItsPitBoxAskingForThePitLane)
{
    rig.AddPitLane();
    RaceAi& ai = rig.Ai();
    rig.race->standings.Session().isRace = false;
    ai.tvCameraCount = 5;
    ai.tvCameraByNode[ai.CanonicalNode(rig.PitBox(kPlayer))] = 4;
    rig.Bike(kPlayer).aiPitSlot = 2;
    ai.pitCrewBusy[2] = 1;
    ai.SelectRider(true);  // without a flying start
    const BikeRecord& bike = rig.Bike(kPlayer);
    EXPECT_EQ(bike.raceStatus, race_status::kFirstPitBox);
    EXPECT_EQ(bike.aiTargetNode, rig.PitBox(kPlayer));
    EXPECT_EQ(bike.pitRequest, 1);
    EXPECT_NE(bike.aiFlags & ai_flags::kPitCrewClaimed, 0u) << "ready to leave";
    EXPECT_EQ(bike.aiPitSlot, BikeRecord::kNoPitSlot);
    EXPECT_EQ(ai.pitCrewBusy[2], 0) << "its crew released";
    EXPECT_EQ(bike.timedLap, 2u);
    EXPECT_EQ(camera.tvCamera, 4) << "a timed session shows its stretch";
}

TEST_F(PlayerSelectionTest, OutOfThePitLaneThePlayerTakesTheControlsBackAtRacingSpeed)
{
    RaceAi& ai = rig.Ai();
    BikeRecord& bike = rig.Bike(kPlayer);
    rig.race->current.viewedRider = 0;
    // A slow stretch where the racing line is fast, then the line as it is.
    const uint16_t slow = static_cast<uint16_t>(rig.OpenNode() + 50);
    const uint16_t fast = rig.OpenNode();
    ASSERT_GE(ai.nodes[fast].speedFactor, 22.222f);
    for (uint16_t node = slow - 5; node < slow + 40; ++node)
    {
        ai.nodes[node].speedFactor = 15.0f;
    }
    const auto leave = [&](uint16_t node, int32_t pitRequest)
    {
        rig.PutOnNode(kPlayer, node, 20.0f);
        bike.raceStatus = race_status::kLeavingPits;
        bike.pitRequest = pitRequest;
        RiderStep step{ai, *rig.race, kPlayer, bike, rig.race->riderProfiles[kPlayer]};
        rider_control::AdvanceTarget(step);
        return bike.raceStatus;
    };
    EXPECT_EQ(leave(slow, 0), race_status::kLeavingPits);
    EXPECT_EQ(leave(fast, 1), race_status::kLeavingPits) << "still asking for the pit lane";
    EXPECT_EQ(rig.race->current.viewedRider, 0u);
    EXPECT_EQ(leave(fast, 0), race_status::kPlayer);
    EXPECT_EQ(rig.race->current.viewedRider, kPlayer);
}

TEST_F(PlayerSelectionTest, TheCameraMovesOnOnceFromAWatchedRiderDeepInThePitLane)
{
    rig.AddPitLane();
    RaceAi& ai = rig.Ai();
    rig.race->current.viewedRider = 2;
    rig.PutOnNode(2, rig.PitBox(2), 0.0f);
    rig.Bike(2).raceStatus = race_status::kPitBox;
    for (int step = 0; step < 3; ++step)
    {
        ai.UpdateRiders(*rig.sim, rig.riders);
    }
    EXPECT_EQ(camera.neighbourMoves, 1) << "not on every step it stands there";
}

TEST(PassingLaneCameraTest, ARiderOnAPassingLaneKeepsTheCamera)
{
    AiRig rig(2);
    CameraLog camera;
    rig.sim->SetServices(&camera);
    rig.race->playerRider.store(0);
    rig.race->current.viewedRider = 1;
    // Far beyond the lap's nodes, but on a lane beside the main line, not in a pit lane.
    const RaceAi& ai = rig.Ai();
    rig.PutOnNode(1, ai.nodes[rig.OpenNode()].sideLink1, 20.0f);
    ASSERT_GT(rig.Bike(1).aiTargetNode, ai.pitLaneFirstNode + 20u);
    rig.Ai().UpdateRiders(*rig.sim, rig.riders);
    EXPECT_EQ(camera.neighbourMoves, 0);
}

struct SessionEndCase
{
    const char* name;
    bool race;
    bool networkRace;
    bool classified;
    float sessionEndTime;
    bool over;
};

class SessionEndTest : public testing::TestWithParam<SessionEndCase>
{
};

TEST_P(SessionEndTest, TheSessionEndsWhenEveryRiderIsClassifiedAndTheTimeIsUp)
{
    const SessionEndCase& c = GetParam();
    AiRig rig(2);
    RaceStandings& standings = rig.race->standings;
    standings.Session().isRace = c.race;
    standings.sessionEndTime = c.sessionEndTime;
    rig.race->current.gameMode = c.networkRace ? GameMode::NetworkRace : GameMode::Race;
    for (uint32_t rider = 0; rider < 2; ++rider)
    {
        standings.sessionRanks[rider] = c.classified ? 0 : session_rank::kRacing;
    }
    rig.Ai().UpdateRiders(*rig.sim, rig.riders);
    EXPECT_EQ(standings.sessionOver != 0, c.over);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SessionEndTest,
    testing::Values(
        SessionEndCase{"NetworkRaceAllClassified", true, true, true, 3e38f, true},
        SessionEndCase{"NetworkRaceStillRacing", true, true, false, 3e38f, false},
        SessionEndCase{"RaceBeforeTheTimeLimit", true, false, true, 3e38f, false},
        SessionEndCase{"RaceAfterTheTimeLimit", true, false, true, -1.0f, true},
        SessionEndCase{"TimedSessionWithinItsOverrun", false, false, false, -300.0f, false},
        SessionEndCase{"TimedSessionPastItsOverrun", false, false, false, -400.0f, true}),
    [](const testing::TestParamInfo<SessionEndCase>& info) { return info.param.name; });
}  // namespace
