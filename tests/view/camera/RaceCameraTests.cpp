// The race camera's modes as figures on a fixed scene: one rider on a straight racing line
// with two trackside cameras, the view's pose after a setter and a frame.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "app/clock/RaceClock.h"
#include "app/settings/MenuState.h"
#include "race/RaceContext.h"
#include "view/camera/RaceCamera.h"

namespace
{
constexpr float kPi = 3.1415927f;
constexpr float kTolerance = 1e-4f;

class RaceCameraTest : public testing::Test
{
protected:
    RaceCameraTest()
        : race(std::make_unique<RaceContext>("records.cpr")),
          settings(std::make_unique<MenuState>()),
          camera(std::make_unique<RaceCamera>(*race, *settings))
    {
        RaceAi& line = race->race;
        line.nodeCount = 100;
        line.riderCount = 3;
        line.tvCameraCount = 2;
        line.tvCameras[0] = {0.0f, 5.0f, 0.0f};
        line.tvCameras[1] = {30.0f, 6.0f, 40.0f};
        line.tvCameraByNode.fill(0);
        for (size_t node = 50; node < 100; ++node)
        {
            line.tvCameraByNode[node] = 1;
        }
        for (uint32_t rider = 0; rider < 3; ++rider)
        {
            BikeRecord& bike = race->bikes[rider];
            bike.positionX = 10.0f;
            bike.positionZ = 20.0f + 10.0f * static_cast<float>(rider);
            bike.heading = 0.5f;
            bike.course = 0.25f;
            bike.aiLineNode = 60;
            bike.speed = 20.0f;
            line.inRace[rider] = 1;
            race->standings.gridOrder[rider] = static_cast<int32_t>(rider + 1);
            race->standings.positionTable[rider] = static_cast<int32_t>(rider);
        }
        for (size_t place = 3; place < race->standings.positionTable.size(); ++place)
        {
            race->standings.positionTable[place] = -1;
        }
        race->current.viewedRider = 0;
        g_ticksDone = 0;
    }

    std::unique_ptr<RaceContext> race;
    std::unique_ptr<MenuState> settings;
    std::unique_ptr<RaceCamera> camera;
};

struct PoseCase
{
    std::string name;
    std::function<void(RaceCamera&)> enter;
    CameraMode mode;
    float zoom;
    Vector3 eye;
    Vector3 pivot;
    float pitch;
    float heading;
};

class CameraModeTest : public RaceCameraTest, public testing::WithParamInterface<PoseCase>
{
};

// The bike stands at (10, 0, 20) heading 0.5, its track heading 0.25, on node 60 (camera 1).
const PoseCase kPoseCases[] = {
    {"Chase",
     [](RaceCamera& c) { c.SetChaseView(); },
     CameraMode::CameraChase,
     314.0f,
     {10.0f, 1.1f, 17.0f},
     {10.0f, 0.0f, 20.0f},
     -0.235f,
     -0.5f},
    {"ChaseLookingBack",
     [](RaceCamera& c)
     {
         c.SetChaseView();
         c.lookBack = true;
     },
     CameraMode::CameraChase,
     314.0f,
     {10.0f, 1.1f, 17.0f},
     {10.0f, 0.0f, 20.0f},
     -0.235f,
     kPi - 0.5f},
    {"TrackChase",
     [](RaceCamera& c)
     {
         c.SetChaseView();
         c.mode = CameraMode::CameraTrackChase;
     },
     CameraMode::CameraTrackChase,
     314.0f,
     {10.0f, 1.1f, 17.0f},
     {10.0f, 0.0f, 20.0f},
     -0.235f,
     -0.25f},
    // Beside the bike, 0.1 ahead along its heading, 1.0 up.
    {"OnBoard",
     [](RaceCamera& c) { c.SetOnBoardView(); },
     CameraMode::CameraOnBoard,
     600.0f,
     {10.0f + 0.1f * std::sin(0.5f), 1.0f, 20.0f + 0.1f * std::cos(0.5f)},
     {10.0f + 0.1f * std::sin(0.5f), 1.0f, 20.0f + 0.1f * std::cos(0.5f)},
     0.0f,
     -0.5f},
    {"Close",
     [](RaceCamera& c) { c.SetCloseView(); },
     CameraMode::CameraClose,
     400.0f,
     {10.0f, 1.4665652f, 20.0f - 15.762193f},
     {10.0f, 0.0f, 20.0f},
     -0.917f,
     -0.25f / 6.0f},
    // The rider's node belongs to camera 1 at (30, 6, 40): aimed at the bike raised by 0.5.
    {"TvFromTheTrack",
     [](RaceCamera& c) { c.SetTvView(-1); },
     CameraMode::CameraTv,
     1200.0f,
     {30.0f, 6.0f, 40.0f},
     {30.0f, 6.0f, 40.0f},
     std::asin(0.99999f * -5.5f / std::sqrt(400.0f + 30.25f + 400.0f)),
     std::acos(0.99999f * -20.0f / std::sqrt(800.0f))},
    // s = -4: side -6, up 4.6, back 56 along the stored heading 0.
    {"StartSweep",
     [](RaceCamera& c) { c.SetStartSweep(0.0f); },
     CameraMode::CameraStartSweep,
     400.0f,
     {4.0f, 4.6f, 76.0f},
     {4.0f, 4.6f, 76.0f},
     std::asin(0.99999f * -3.6f / std::sqrt(36.0f + 12.96f + 3136.0f)),
     -std::acos(0.99999f * -56.0f / std::sqrt(36.0f + 3136.0f))},
};

TEST_P(CameraModeTest, PlacesTheView)
{
    const PoseCase& c = GetParam();
    c.enter(*camera);
    camera->Update(0.02f);
    EXPECT_EQ(camera->mode, c.mode);
    EXPECT_FLOAT_EQ(camera->zoom, c.zoom);
    const CameraPose& pose = camera->pose;
    EXPECT_NEAR(pose.eye.x, c.eye.x, kTolerance);
    EXPECT_NEAR(pose.eye.y, c.eye.y, kTolerance);
    EXPECT_NEAR(pose.eye.z, c.eye.z, kTolerance);
    EXPECT_NEAR(pose.pivot.x, c.pivot.x, kTolerance);
    EXPECT_NEAR(pose.pivot.y, c.pivot.y, kTolerance);
    EXPECT_NEAR(pose.pivot.z, c.pivot.z, kTolerance);
    EXPECT_NEAR(pose.pitch, c.pitch, kTolerance);
    EXPECT_NEAR(pose.heading, c.heading, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(Modes, CameraModeTest, testing::ValuesIn(kPoseCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(RaceCameraTest, AFrameOfNoTimeLeavesTheViewAlone)
{
    camera->SetChaseView();
    camera->Update(0.02f);
    const float timer = camera->modeTimer;
    race->bikes[0].positionX = 50.0f;
    camera->Update(0.0f);
    EXPECT_FLOAT_EQ(camera->pose.eye.x, 10.0f);
    EXPECT_FLOAT_EQ(camera->modeTimer, timer);
}

TEST_F(RaceCameraTest, TheTvCameraInUseIsNotRequestedAgainButMinusOneRestartsTheShot)
{
    camera->SetTvView(1);
    camera->Update(0.5f);
    ASSERT_EQ(camera->tvCamera, 1u);
    const float timer = camera->modeTimer;
    const float zoom = camera->zoom;
    camera->SetTvView(1);
    EXPECT_FLOAT_EQ(camera->modeTimer, timer);
    EXPECT_FLOAT_EQ(camera->zoom, zoom);

    camera->zoom = 3000.0f;
    camera->SetTvView(-1);
    EXPECT_FLOAT_EQ(camera->zoom, 1200.0f);
    EXPECT_FLOAT_EQ(camera->modeTimer, 2.0f);
}

TEST_F(RaceCameraTest, TheFinishViewHandsOverToAPresetShotAfterHalfItsTime)
{
    camera->SetFinishView();
    // The finish view runs its timer down twice a frame: 3 s go in 1.5 s.
    for (int frame = 0; frame < 14; ++frame)
    {
        camera->Update(0.1f);
    }
    EXPECT_EQ(camera->mode, CameraMode::CameraFinish);
    camera->Update(0.1f);
    camera->Update(0.1f);
    EXPECT_EQ(camera->mode, CameraMode::CameraPresetShot);
}

TEST_F(RaceCameraTest, PresetShotsFollowTheSharedRandomTableByStep)
{
    for (size_t i = 0; i < race->randomTable.words.size(); ++i)
    {
        race->randomTable.words[i] = static_cast<uint32_t>(i * 7);
    }
    g_ticksDone = 3;  // word 21: row 3
    camera->SetPresetShot();
    EXPECT_FLOAT_EQ(camera->presetShot[0], 3 * kPi / 4);
    EXPECT_FLOAT_EQ(camera->yawOffset, 3 * kPi / 4);
    EXPECT_FLOAT_EQ(camera->pitch, 0.15f);
    g_ticksDone = 3 + 256;
    camera->SetPresetShot();
    EXPECT_FLOAT_EQ(camera->presetShot[0], 3 * kPi / 4);
}

TEST_F(RaceCameraTest, AFallIsFollowedAndOnBoardTakesOverWhenAnotherRiderIsViewed)
{
    camera->SetChaseView();
    race->bikes[0].flags |= bike_flags::kDown;
    camera->Update(0.02f);
    EXPECT_EQ(camera->mode, CameraMode::CameraFallenRider);
    EXPECT_EQ(camera->fallFollowRider, 0);
    EXPECT_NEAR(camera->pose.heading, -0.25f, kTolerance);  // the heading stored at the fall

    race->current.viewedRider = 1;
    camera->Update(0.02f);
    EXPECT_EQ(camera->mode, CameraMode::CameraOnBoard);
    EXPECT_EQ(camera->fallFollowRider, RaceCamera::kNoFallFollowed);
}

TEST_F(RaceCameraTest, TheTrailRingWrapsAndKeepsItsPointsOneApart)
{
    camera->SetTrailView();
    BikeRecord& bike = race->bikes[0];
    for (int frame = 0; frame < 400; ++frame)
    {
        bike.positionZ += 0.5f;
        camera->Update(0.02f);
    }
    // 200 m: the ring went round more than once; every point is 1.0 behind the next.
    const auto& ring = camera->trail;
    const uint32_t newest = camera->trailIndex;
    for (uint32_t back = 0; back + 1 < RaceCamera::kTrailPoints; ++back)
    {
        const Vector3& a = ring[(newest - back) % RaceCamera::kTrailPoints];
        const Vector3& b = ring[(newest - back - 1) % RaceCamera::kTrailPoints];
        ASSERT_NEAR(a.z - b.z, 1.0f, 1e-3f) << back;
    }
    EXPECT_NEAR(ring[newest].z, bike.positionZ, 1.0f);
    EXPECT_LT(camera->pose.eye.z, bike.positionZ);
    EXPECT_TRUE(std::isfinite(camera->pose.heading));
}

TEST_F(RaceCameraTest, ABikeFarAwayAtOnceSeedsTheTrailAfresh)
{
    camera->SetTrailView();
    race->bikes[0].positionX = 10000.0f;
    camera->Update(0.02f);
    EXPECT_NEAR(camera->trail[camera->trailIndex].x, 10000.0f, 1.0f);
}

TEST_F(RaceCameraTest, SteppingStopsAtTheEndsOfThePlacesAndSkipsUnplacedRiders)
{
    camera->ViewPreviousRider();  // from place 1
    EXPECT_EQ(race->current.viewedRider, 0u);
    camera->ViewNextRider();
    EXPECT_EQ(race->current.viewedRider, 1u);
    camera->ViewLastRider();
    EXPECT_EQ(race->current.viewedRider, 2u);
    camera->ViewNextRider();  // from the last placed
    EXPECT_EQ(race->current.viewedRider, 2u);
    camera->ViewLeader();
    EXPECT_EQ(race->current.viewedRider, 0u);

    // An out rider is passed over; an unplaced viewed rider stays.
    race->bikes[1].flags = bike_flags::kInactive;
    camera->ViewNextRider();
    EXPECT_EQ(race->current.viewedRider, 2u);
    race->standings.gridOrder[2] = -1;
    camera->ViewPreviousRider();
    EXPECT_EQ(race->current.viewedRider, 2u);
}
}  // namespace
