#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/world/WorldObject.h"
#include "tests/race/ground/GridGround.h"
#include "tests/view/rider/RiderWorld.h"
#include "view/pit/PitCrewScene.h"

namespace
{
constexpr float kFrameDt = 0.02f;

class PitCrewSceneTest : public RiderWorldTest
{
protected:
    PitCrewSceneTest()
    {
        MountDemoMotions();
        LoadRiderMotions(clips_);
        BuildRider(3, 10.0f, 20.0f);
        stage_ = {&world_, &clips_, bikes_, sharedFigure_, &ground_.Mesh(), &sequences_};
        scene_.SetStage(&stage_);
        BuildMechanic(scene_.mechanicA);
        BuildMechanic(scene_.mechanicB);
        scene_.SetPosition(10.0f, 20.0f, 0.0f);
    }

    // A hip with the other twelve nodes below it.
    void BuildMechanic(std::array<WorldObject*, PitCrewScene::kFigureNodes>& nodes)
    {
        nodes[0] = world_.AttachNewObject(root_, 0.0f, 0.0f, 0.0f, kAttachChild, 2.0f);
        world_.DetachObject(nodes[0], root_, kAttachChild);
        for (size_t i = 1; i < nodes.size(); ++i)
        {
            nodes[i] = world_.AttachNewObject(nodes[0], 0.0f, 0.2f, 0.0f, kAttachChild, 1.0f);
        }
    }

    // Updates until the scene's frame has passed the given one or the scene has stopped.
    int RunUntil(float frame, int limit = 5000)
    {
        int updates = 0;
        while (scene_.Active() && scene_.Frame() < frame && updates < limit)
        {
            scene_.Update(kFrameDt);
            ++updates;
        }
        return updates;
    }

    RiderMotionSet clips_;
    BoundGround ground_{GridSpec{10, 10, 10.0f, -50.0f, -50.0f, 4, 0.1f}};
    PitStopSequenceTable sequences_ = MakePitStopSequences();
    PitCrewStage stage_;
    PitCrewScene scene_;
};

TEST(PitStopSequenceTest, FourSequencesOfFiveSegments)
{
    const PitStopSequenceTable table = MakePitStopSequences();
    for (uint32_t index = 0; index < kPitStopSequenceRecords; ++index)
    {
        EXPECT_EQ(table[index].SegmentCount(), index < 4 ? 5u : 0u);
    }
    EXPECT_EQ(table[3].clipIds, (std::array<uint32_t, 3>{27, 28, 29}));
    EXPECT_EQ(table[0].segments[4].lastFrame, 450u);
    BuildPitStopSequences();
    EXPECT_TRUE(g_pitStopSequences.has_value());
    FreePitStopSequences();
    EXPECT_FALSE(g_pitStopSequences.has_value());
}

// The whole stop: the crew comes and waits at frame 105; phase 0 lets it on, with the rider
// in the scene from 105, and repeats frames 205 to 250; phase 1 lets it finish: done at 312,
// the rider on his own from 310, and at 450 the scene stops itself.
TEST_F(PitCrewSceneTest, TimelineReachesItsFramesInOrder)
{
    scene_.Start(3, 10.0f, 20.0f, 6);
    EXPECT_EQ(scene_.Sequence(), 2);
    EXPECT_TRUE(scene_.Visible());
    RunUntil(400.0f, 2000);
    EXPECT_EQ(scene_.Frame(), 105.0f) << "waits without a phase";
    EXPECT_EQ(scene_.Segment(), 0);
    EXPECT_FALSE(scene_.RiderInScene());

    ASSERT_TRUE(scene_.JumpToPhase(0));
    scene_.Update(kFrameDt);
    EXPECT_EQ(scene_.Segment(), 1);
    EXPECT_TRUE(scene_.RiderInScene());
    RunUntil(249.0f);
    EXPECT_EQ(scene_.Segment(), 2);
    int loops = 0;
    float highest = 0.0f;
    for (int update = 0; update < 1000; ++update)
    {
        const float before = scene_.Frame();
        scene_.Update(kFrameDt);
        highest = std::max(highest, scene_.Frame());
        loops += scene_.Frame() < before ? 1 : 0;
    }
    EXPECT_GE(loops, 5) << "frames 205 to 250 repeat";
    EXPECT_LE(highest, 251.0f);
    EXPECT_FALSE(scene_.Done());

    ASSERT_TRUE(scene_.JumpToPhase(1));
    RunUntil(300.0f);
    EXPECT_EQ(scene_.Segment(), 3);
    EXPECT_TRUE(scene_.RiderInScene());
    RunUntil(311.0f);
    EXPECT_EQ(scene_.Segment(), 4);
    EXPECT_FALSE(scene_.RiderInScene());
    EXPECT_FALSE(scene_.Done());
    RunUntil(312.0f);
    EXPECT_TRUE(scene_.Done());
    EXPECT_TRUE(scene_.Active());
    RunUntil(1000.0f);
    EXPECT_FALSE(scene_.Active());
    EXPECT_FALSE(scene_.Visible());
    EXPECT_GE(scene_.Frame(), 450.0f);
    EXPECT_EQ(scene_.mechanicA[PitCrewScene::kHip]->parent.get(), nullptr) << "off the figure";
}

TEST_F(PitCrewSceneTest, PhasesBeyondTheSequenceAreRefused)
{
    scene_.Start(3, 10.0f, 20.0f, 0);
    EXPECT_FALSE(scene_.JumpToPhase(2));
    sequences_[0].phaseSegments[1] = 7;
    EXPECT_FALSE(scene_.JumpToPhase(1));
    EXPECT_TRUE(scene_.JumpToPhase(0));
}

// The mechanics hang on the shared figure and walk from the start on the ground, their clip's
// motion turned by the pit's heading; an update of 0 only poses.
TEST_F(PitCrewSceneTest, MechanicsWalkTheGroundFromTheStart)
{
    scene_.SetPosition(10.0f, 20.0f, std::numbers::pi_v<float> / 2);
    scene_.Start(3, 10.0f, 20.0f, 1);
    WorldObject* hip = scene_.mechanicA[PitCrewScene::kHip];
    EXPECT_EQ(hip->parent.get(), sharedFigure_);
    RunUntil(60.0f);
    scene_.Update(0.0f);
    const float frame = scene_.Frame();
    scene_.Update(0.0f);
    EXPECT_EQ(scene_.Frame(), frame);

    MotionFile& clip = clips_[sequences_[1].clipIds[0]];
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    clip.EvaluateRoot(frame, 0.0f, x, y, z, 0);
    // A quarter turn: the clip's x goes to -z, its z to +x.
    EXPECT_NEAR(hip->placement.x, 10.0f + z, 1e-4f);
    EXPECT_NEAR(hip->placement.z, 20.0f - x, 1e-4f);
    EXPECT_NEAR(hip->placement.y, 0.1f * hip->placement.z + y, 1e-4f) << "on the slope";
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    clip.EvaluatePart(0, a, b, c);
    EXPECT_NEAR(hip->angles[1], b + std::numbers::pi_v<float> / 2, 1e-5f);
    clip.EvaluatePart(12, a, b, c);
    EXPECT_EQ(scene_.mechanicA[PitCrewScene::kHelmet]->angles[0], a);
}

TEST_F(PitCrewSceneTest, MechanicOffTheGroundStandsStill)
{
    BoundGround small(GridSpec{1, 1, 1.0f, 9.5f, 19.5f});
    stage_.ground = &small.Mesh();
    scene_.SetPosition(10.0f, 20.0f, 0.0f);
    scene_.Start(3, 10.0f, 20.0f, 0);
    WorldObject* hip = scene_.mechanicA[PitCrewScene::kHip];
    const Vector3 before = hip->placement;
    RunUntil(30.0f);
    EXPECT_EQ(hip->placement.x, before.x);
    EXPECT_EQ(hip->placement.z, before.z);
}

// A started scene started again begins anew, giving the rider his figure back first.
TEST_F(PitCrewSceneTest, RestartStopsTheRunningScene)
{
    scene_.Start(3, 10.0f, 20.0f, 0);
    scene_.JumpToPhase(0);
    RunUntil(150.0f);
    ASSERT_TRUE(scene_.RiderInScene());
    scene_.Start(3, 10.0f, 20.0f, 3);
    EXPECT_FALSE(scene_.RiderInScene());
    EXPECT_EQ(scene_.Frame(), 0.0f);
    EXPECT_EQ(scene_.Sequence(), 3);
    EXPECT_TRUE(scene_.Active());

    scene_.Stop();
    EXPECT_TRUE(scene_.Done());
    for (WorldObject* node : scene_.mechanicB)
    {
        if (node != scene_.mechanicB[PitCrewScene::kLowerArmLeft] &&
            node != scene_.mechanicB[PitCrewScene::kHandRight])
        {
            continue;
        }
        EXPECT_EQ(node->flags & object_flags::kNoOwnPolygons, 0) << "arms and hands stay shown";
    }
    EXPECT_NE(scene_.mechanicB[PitCrewScene::kTorso]->flags & object_flags::kNoOwnPolygons, 0);
}
}  // namespace
