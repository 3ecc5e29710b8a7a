#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "core/world/WorldObject.h"
#include "race/ChannelList.h"
#include "tests/race/ground/GridGround.h"
#include "tests/view/rider/RiderWorld.h"
#include "view/rider/RiderAnimation.h"
#include "view/rider/RiderMotionSet.h"

namespace
{
constexpr float kStep = 0.04f;
constexpr float kPi = std::numbers::pi_v<float>;

class RecordingServices : public RiderFallServices
{
public:
    bool IsPlayerRacing() const override { return racing; }
    void PutRiderBackOnLine(uint32_t rider) override { backOnLine.push_back(rider); }
    void ReturnCameraToRider() override
    {
        ++cameraReturns;
        if (onCameraReturn)
        {
            onCameraReturn();
        }
    }

    bool racing = true;
    std::function<void()> onCameraReturn;
    std::vector<uint32_t> backOnLine;
    int cameraReturns = 0;
};

// The demo's clips on a flat ground like the demo circuit's: 100 m square round the origin.
class RiderAnimationTest : public RiderWorldTest
{
protected:
    RiderAnimationTest()
    {
        MountDemoMotions();
        LoadRiderMotions(clips_);
        animation_.SetSharedFigure(sharedFigure_);
        animation_.SetGround(&ground_.Mesh());
        animation_.SetChannels(&channels_);
        animation_.SetServices(&services_);
        animation_.SetPlayerRider(0);
    }

    // One simulation step as the race runs it for the rider: the last step's channels
    // snapped, the list emptied, the rider animated.
    void Step(uint32_t rider)
    {
        SnapChannels(channels_);
        channels_.Clear();
        animation_.AnimateRider(rider, kStep);
    }

    // Places the rider's bike on the ground and starts a clip on him.
    void StartFall(uint32_t rider, uint32_t clip, float heading, float speed)
    {
        bikes_[rider].referenceTriangle = 0;  // the first lookup scans
        bikes_[rider].speed = speed;
        ASSERT_TRUE(animation_.StartRiderClip(rider, clip, heading, speed, 0.3f, 0.2f));
    }

    Vector3 HipPlace(uint32_t rider) { return Part(rider, 0)->placement; }

    RiderMotionSet clips_;
    BoundGround ground_{GridSpec{10, 10, 10.0f, -50.0f, -50.0f}};
    ChannelList channels_;
    RecordingServices services_;
    RiderAnimation animation_{world_, clips_, bikes_};
};

TEST_F(RiderAnimationTest, DemoClipSetHasEveryClipTheGameAsksFor)
{
    for (uint32_t id = 0; id < kRiderClipCount; ++id)
    {
        EXPECT_EQ(clips_[id].IsLoaded(), !kRiderClips[id].file.empty()) << id;
    }
    EXPECT_GE(clips_[rider_clip::kFirstPitStop].FrameCount(), 451);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

// Below 5 m/s the foot goes down: the stop clip frozen near its end while braking, the start
// clip from its first frame once the brake is off; at 5 m/s the rider just rides.
TEST_F(RiderAnimationTest, FootGoesDownBelowWalkingPace)
{
    BuildRider(0, 0.0f, 0.0f);
    BikeRecord& bike = bikes_[0];
    const auto expectPose = [&](uint32_t id, float frame)
    {
        float x = 0.0f;
        float y = 0.0f;
        float z = 0.0f;
        clips_[id].EvaluateRoot(frame, 0.001f, x, y, z, 0);
        float a = 0.0f;
        float b = 0.0f;
        float c = 0.0f;
        clips_[id].EvaluatePart(3, a, b, c);
        EXPECT_EQ(bike.clipId, id);
        EXPECT_FLOAT_EQ(Part(0, 3)->angles[0], a) << "right thigh, clip " << id;
        EXPECT_FLOAT_EQ(Part(0, 3)->angles[2], c);
        EXPECT_FLOAT_EQ(HipPlace(0).y, y);
        EXPECT_EQ(bike.flags, bike_flags::kFootDown);
    };
    const float lastFrame = static_cast<float>(clips_[rider_clip::kStopFootDown].FrameCount() - 1);

    bike.speed = 0.01f;
    bike.brake = 0.5f;
    Step(0);
    expectPose(rider_clip::kStopFootDown, lastFrame * 4.99f * 0.2f);

    bike.brake = 0.3f;
    Step(0);
    expectPose(rider_clip::kStartFootUp, 0.01f * 0.2f * lastFrame);

    bike.speed = 2.5f;
    Step(0);
    expectPose(rider_clip::kStartFootUp, 0.5f * lastFrame);

    bike.speed = 5.0f;
    bike.flags = bike_flags::kFootDown | 0x4000;
    const float thigh = Part(0, 3)->angles[0];
    Step(0);
    EXPECT_EQ(bike.flags, 0u);
    EXPECT_EQ(Part(0, 3)->angles[0], thigh) << "not posed";
}

// A plain clip that reaches its end leaves the rider riding on (all flags clear); a clip that
// moves the bike clears only its own bit.
TEST_F(RiderAnimationTest, ClipsEndByTheirKind)
{
    BuildRider(0, 0.0f, 0.0f);
    BuildRider(1, 5.0f, 0.0f);
    bikes_[1].speed = 20.0f;
    for (const uint32_t rider : {0u, 1u})
    {
        bikes_[rider].flags = 0x4000;
    }
    ASSERT_TRUE(animation_.StartRiderClip(0, 5, 0.0f, 0.0f, 0.0f, 0.0f));
    ASSERT_TRUE(animation_.StartRiderClip(1, rider_clip::kSwerve, 0.5f, 20.0f, -0.1f, 0.25f));
    EXPECT_FALSE(animation_.StartRiderClip(1, 5, 0.0f, 0.0f, 0.0f, 0.0f)) << "one at a time";
    EXPECT_EQ(Part(0, 0)->parent, bikes_[0].links.seat) << "a clip on the bike";

    const auto playOut = [this](uint32_t rider)
    {
        int steps = 0;
        for (; (bikes_[rider].flags & bike_flags::kFalling) != 0 && steps < 1000; ++steps)
        {
            Step(rider);
            if (rider == 1 && steps == 10)
            {
                float a = 0.0f;
                float b = 0.0f;
                float c = 0.0f;
                clips_[rider_clip::kSwerve].EvaluateBikeAngles(a, b, c);
                EXPECT_FLOAT_EQ(bikes_[1].links.bikeRoot->angles[1], b + 0.5f);
                EXPECT_FLOAT_EQ(bikes_[1].links.bikeBody->angles[2], c - 0.1f);
                EXPECT_EQ(bikes_[1].steer, 0.25f);
                EXPECT_NE(bikes_[1].links.bikeRoot->placement.x, 5.0f) << "the bike drifts";
            }
        }
        return steps;
    };
    // 40 frames at 20 a second: 0.8 a step, and one more step to find the end.
    EXPECT_NEAR(playOut(0), 51, 1);
    EXPECT_EQ(bikes_[0].flags, 0u);
    // 30 frames at 30 a second.
    EXPECT_NEAR(playOut(1), 26, 1);
    EXPECT_EQ(bikes_[1].flags, 0x4000u);
}

TEST_F(RiderAnimationTest, FallTakesTheBodyOffTheBikeWhereItSits)
{
    BuildRider(0, 3.0f, -4.0f);
    WorldObject* hip = Part(0, 0);
    StartFall(0, 0, 0.0f, 10.0f);
    EXPECT_EQ(hip->parent.get(), sharedFigure_);
    EXPECT_EQ(sharedFigure_->firstSubObject.get(), hip);
    EXPECT_EQ(bikes_[0].links.seat->firstChild.get(), nullptr);
    // The seat's height on the bike, and the hip's above it.
    EXPECT_FLOAT_EQ(bikes_[0].fallX, 3.0f);
    EXPECT_FLOAT_EQ(bikes_[0].fallY, 0.3f + 0.9f + 0.7f);
    EXPECT_FLOAT_EQ(bikes_[0].fallZ, -4.0f);
    EXPECT_TRUE(ground_.Mesh().IsTriangle(bikes_[0].fallTriangle));
    EXPECT_EQ(hip->placement.x, 0.0f);
    EXPECT_EQ(Part(0, 5)->flags, 0x8004) << "the right lower leg";
    EXPECT_EQ(bikes_[0].links.seat->flags, 4);
    EXPECT_EQ(bikes_[0].holdTime, 10.0f);
}

// The crash code starts a fall by the record alone; the first step takes the body off.
TEST_F(RiderAnimationTest, FallStartedByTheRecordDetachesOnItsFirstStep)
{
    BuildRider(0, 0.0f, 0.0f);
    bikes_[0].flags = bike_flags::kFalling;
    bikes_[0].clipId = 2;
    bikes_[0].slideSpeed = 30.0f;
    Step(0);
    EXPECT_EQ(Part(0, 0)->parent.get(), sharedFigure_);
    EXPECT_GT(bikes_[0].clipFrame, 0.0f);
    EXPECT_GT(bikes_[0].fallZ, 0.0f);
}

// A slide along the fall's heading: the body moves over the ground on the channels, slows
// with its clip, lies still at the clip's end, and after the hold time the player sits on his
// bike again with the bike's parts brought back to rest.
TEST_F(RiderAnimationTest, PlayerSlidesStopsAndReturnsToHisBike)
{
    BuildRider(0, 0.0f, 0.0f);
    const float heading = kPi / 2;  // along +x
    StartFall(0, 1, heading, 25.0f);
    std::vector<float> xs;
    int steps = 0;
    for (; (bikes_[0].flags & bike_flags::kFalling) != 0 && steps < 1000; ++steps)
    {
        Step(0);
        if ((bikes_[0].flags & bike_flags::kFalling) != 0)
        {
            ASSERT_EQ(channels_.Count(), 3u + 39u);
            xs.push_back(bikes_[0].fallX);
        }
    }
    // 45 frames at 15 a second, then 10 s down.
    EXPECT_NEAR(steps, 75 + 250 + 1, 2);
    ASSERT_GT(xs.size(), 80u);
    EXPECT_GT(xs[10] - xs[0], xs[60] - xs[50]) << "slows down";
    EXPECT_GT(xs[70], 5.0f);
    EXPECT_EQ(xs[100], xs.back()) << "lies still";
    EXPECT_LT(std::fabs(bikes_[0].fallZ), xs.back() / 3.0f) << "along the heading";
    const MotionFile& slide = clips_[1];
    EXPECT_FLOAT_EQ(
        bikes_[0].fallY,
        slide.RiderTrack(0)[static_cast<size_t>(slide.FrameCount() - 1)][1] * kPositionUnit)
        << "lying on the ground";

    EXPECT_EQ(Part(0, 0)->parent, bikes_[0].links.seat);
    EXPECT_FLOAT_EQ(HipPlace(0).y, 0.7f);
    EXPECT_EQ(bikes_[0].flags, 0u);
    EXPECT_EQ(channels_.Count(), 11u) << "the bike's parts come back to rest";
    EXPECT_EQ(services_.backOnLine, std::vector<uint32_t>{0});
    EXPECT_EQ(services_.cameraReturns, 1);
}

// The whole fall near the edge of the ground: the body slides towards the edge, bounces off it
// with a turn and a fifth of its speed, slides back onto the ground, stops, stays down for the
// hold time and the player sits on his bike again.
TEST_F(RiderAnimationTest, FallSlidesBouncesStopsAndTheRiderReturns)
{
    BuildRider(0, 0.0f, 44.0f);
    StartFall(0, 3, 0.0f, 35.0f);  // the fast slide, along +z towards the edge at z = 50
    int bounces = 0;
    float lastZ = bikes_[0].fallZ;
    float stoppedAt = -1.0f;
    int steps = 0;
    for (; (bikes_[0].flags & bike_flags::kFalling) != 0 && steps < 1000; ++steps)
    {
        const float speed = bikes_[0].slideSpeed;
        Step(0);
        bounces += bikes_[0].slideSpeed < speed ? 1 : 0;
        ASSERT_LE(bikes_[0].fallZ, 50.0f) << "never beyond the edge";
        if (stoppedAt < 0.0f && bikes_[0].holdTime < 10.0f)
        {
            stoppedAt = bikes_[0].fallZ;
        }
        lastZ = bikes_[0].fallZ;
    }
    EXPECT_GE(bounces, 1);
    EXPECT_LT(stoppedAt, 50.0f);
    EXPECT_EQ(lastZ, stoppedAt) << "still while down";
    EXPECT_EQ(Part(0, 0)->parent, bikes_[0].links.seat) << "back on the bike";
    EXPECT_EQ(services_.backOnLine, std::vector<uint32_t>{0});
}

// Mirrored falls swap left and right limbs and negate the root's x, heading and bank.
TEST_F(RiderAnimationTest, MirroredFallSwapsTheLimbs)
{
    BuildRider(0, -20.0f, 0.0f);
    BuildRider(1, 20.0f, 0.0f);
    for (const uint32_t rider : {0u, 1u})
    {
        StartFall(rider, 30, 0.0f, 8.0f);
        animation_.SetRiderClipMirror(rider, rider == 1);
    }
    for (int step = 0; step < 20; ++step)
    {
        Step(0);
        Step(1);
    }
    SnapChannels(channels_);
    const auto expectMirror = [&](int32_t part, int32_t mirrorPart)
    {
        const WorldObject* plain = Part(0, part);
        const WorldObject* mirrored = Part(1, mirrorPart);
        EXPECT_FLOAT_EQ(mirrored->angles[0], plain->angles[0]) << part;
        EXPECT_FLOAT_EQ(mirrored->angles[1], -plain->angles[1]) << part;
        EXPECT_FLOAT_EQ(mirrored->angles[2], -plain->angles[2]) << part;
    };
    expectMirror(2, 3);
    expectMirror(7, 6);
    expectMirror(12, 12);
    EXPECT_FLOAT_EQ(bikes_[1].fallX - 20.0f, -(bikes_[0].fallX + 20.0f));
    EXPECT_FLOAT_EQ(bikes_[1].fallZ, bikes_[0].fallZ);
}

TEST(SlideBounceTest, ReflectsOffTheEdge)
{
    // Head on: turned round.
    SlideBounce bounce = BounceSlideOffEdge(0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(bounce.turn, kPi, 1e-3f);
    // Along the edge one way or the other: no turn, or a whole turn.
    bounce = BounceSlideOffEdge(2.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(std::fmod(std::fabs(bounce.turn), 2.0f * kPi), 0.0f, 0.02f);
    // A standing body has no direction: a quarter turn each way.
    bounce = BounceSlideOffEdge(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(bounce.turn, kPi, 1e-6f);
    EXPECT_EQ(bounce.dx, 0.0f);
}

// A slide that leaves the ground does not move that step: it turns by the reflection and
// keeps a fifth of its speed, and slides on over the ground.
TEST_F(RiderAnimationTest, SlideBouncesOffTheEdgeOfTheGround)
{
    BuildRider(0, 0.0f, 48.5f);
    StartFall(0, 2, 0.0f, 30.0f);  // along +z, towards the edge at z = 50
    float lastZ = bikes_[0].fallZ;
    int bounces = 0;
    for (int step = 0; step < 60 && bounces == 0; ++step)
    {
        const float speed = bikes_[0].slideSpeed;
        const float heading = bikes_[0].fallHeading;
        Step(0);
        if (bikes_[0].slideSpeed != speed)
        {
            ++bounces;
            EXPECT_FLOAT_EQ(bikes_[0].slideSpeed, speed * 0.2f);
            EXPECT_EQ(bikes_[0].fallZ, lastZ) << "no move that step";
            EXPECT_NEAR(heading - bikes_[0].fallHeading, kPi, 0.05f);
        }
        EXPECT_LE(bikes_[0].fallZ, 50.0f);
        lastZ = bikes_[0].fallZ;
    }
    ASSERT_EQ(bounces, 1);
    for (int step = 0; step < 10; ++step)
    {
        Step(0);
    }
    EXPECT_LT(bikes_[0].fallZ, lastZ) << "back onto the ground";
}

// Another rider's fall ends with his body hidden; one who got off his bike leaves with it.
TEST_F(RiderAnimationTest, OtherRidersAreHiddenWhenTheirFallEnds)
{
    BuildRider(1, 0.0f, 0.0f);
    BuildRider(2, 10.0f, 0.0f);
    StartFall(1, 0, 0.0f, 10.0f);
    StartFall(2, rider_clip::kDismount, 0.0f, 0.0f);
    for (int step = 0; step < 400; ++step)
    {
        Step(1);
        Step(2);
    }
    for (const uint32_t rider : {1u, 2u})
    {
        EXPECT_NE(bikes_[rider].animFlags & anim_flags::kNotAnimated, 0u) << rider;
        EXPECT_NE(Part(rider, 4)->flags & object_flags::kNoOwnPolygons, 0) << rider;
    }
    EXPECT_EQ(bikes_[1].links.bikeRoot->flags & object_flags::kNoOwnPolygons, 0);
    EXPECT_EQ(bikes_[1].flags & bike_flags::kInactive, 0u);
    EXPECT_NE(bikes_[2].links.bikeRoot->flags & object_flags::kNoOwnPolygons, 0);
    EXPECT_EQ(bikes_[2].links.bikeRoot->placement.x, 10000.0f);
    EXPECT_EQ(bikes_[2].positionZ, 10000.0f);
    EXPECT_NE(bikes_[2].flags & bike_flags::kInactive, 0u);
    EXPECT_TRUE(services_.backOnLine.empty());
}

// The camera the player returns to decides last what is shown: the on-board view hides the
// rider's body and his bike's outside.
TEST_F(RiderAnimationTest, TheViewTheCameraReturnsToKeepsWhatItHid)
{
    BuildRider(0, 0.0f, 0.0f);
    StartFall(0, 1, 0.0f, 10.0f);
    services_.onCameraReturn = [this]
    {
        Part(0, 4)->flags |= object_flags::kNoOwnPolygons;
        bikes_[0].links.bikeBody->flags |= object_flags::kNoOwnPolygons;
    };
    animation_.EndRiderFall(0);
    EXPECT_NE(Part(0, 4)->flags & object_flags::kNoOwnPolygons, 0);
    EXPECT_NE(bikes_[0].links.bikeBody->flags & object_flags::kNoOwnPolygons, 0);
}

// A player who no longer races stays down like any other rider.
TEST_F(RiderAnimationTest, PlayerOutOfTheSessionStaysDown)
{
    BuildRider(0, 0.0f, 0.0f);
    services_.racing = false;
    StartFall(0, 13, 0.0f, 0.0f);
    animation_.EndRiderFall(0);
    EXPECT_NE(bikes_[0].animFlags & anim_flags::kNotAnimated, 0u);
    EXPECT_TRUE(services_.backOnLine.empty());
}

TEST_F(RiderAnimationTest, SeatRiderLowHangsTheHipLowOnTheSeat)
{
    BuildRider(0, 0.0f, 0.0f);
    StartFall(0, 0, 0.0f, 10.0f);
    WorldObject* hip = animation_.SeatRiderLow(0);
    ASSERT_EQ(hip, Part(0, 0));
    EXPECT_EQ(hip->parent, bikes_[0].links.seat);
    EXPECT_FLOAT_EQ(hip->placement.y, 0.083f);
    EXPECT_FLOAT_EQ(hip->placement.z, -0.062f);
    EXPECT_EQ(bikes_[0].links.seat->flags, 0x8014);
    EXPECT_EQ(Part(0, 5)->flags, 0x8004);
    EXPECT_NE(Part(0, 5)->unused1[0], 0u);
}

// Clips that failed to load play nothing, and without the start/stop clips no foot goes down.
TEST_F(RiderAnimationTest, MissingClipsPlayNothing)
{
    BuildRider(0, 0.0f, 0.0f);
    RiderMotionSet empty;
    RiderAnimation animation(world_, empty, bikes_);
    bikes_[0].speed = 1.0f;
    animation.AnimateRider(0, kStep);
    EXPECT_EQ(bikes_[0].flags, 0u);
    bikes_[0].flags = bike_flags::kFalling;
    bikes_[0].clipId = 0;
    animation.AnimateRider(0, kStep);
    EXPECT_EQ(bikes_[0].clipFrame, 0.0f);
    EXPECT_EQ(Part(0, 0)->parent, bikes_[0].links.seat);
}
}  // namespace
