// The race view's frames on the demo circuit's loaded race: the chase view behind the viewed
// rider, a TV shot from a trackside camera, the marshal's waving flag over the world and the
// lens flare of the sun ahead.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "app/device/RenderDevice.h"
#include "app/settings/MenuState.h"
#include "core/world/WorldObject.h"
#include "race/RaceSim.h"
#include "tests/content/ContentFixture.h"
#include "view/camera/RaceCamera.h"
#include "view/race/LensFlare.h"
#include "view/race/MarshalFlags.h"

namespace
{
class RaceViewFrameTest : public ContentTest
{
protected:
    void SetUp() override
    {
        Mount();
        PrepareRace(BikeClass::Class125, Weather::Fine, 4);
        ASSERT_TRUE(Load());
        camera_ = std::make_unique<RaceCamera>(*race_, settings_);
        camera_->SetViewNode(content_->Scene().root);
    }

    FrameView565 Frame()
    {
        g_renderDevice.SetFieldOfView(camera_->zoom, 1.0f);
        return DrawFrame();
    }

    static std::string Reference(const char* name)
    {
        return std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp";
    }

    MenuState settings_;
    std::unique_ptr<RaceCamera> camera_;
};

TEST_F(RaceViewFrameTest, ChaseViewBehindTheViewedRider)
{
    race_->current.viewedRider = 3;
    camera_->SetChaseView();
    camera_->Update(0.04f);
    EXPECT_TRUE(MatchesGolden("race-chase", Frame(), 0x32E5F606F8C209B8, Reference("race-chase")));
}

// One step of the race on: the machine stands on its shadow, seen from its right.
TEST_F(RaceViewFrameTest, TheMachineStandsOnItsShadow)
{
    const RaceScene& scene = content_->Scene();
    RaceSim sim;
    sim.ResetForRace();
    sim.SetParameters(scene.parameters);
    sim.SetGround(&*scene.ground);
    sim.SetRacingLine(&race_->race);
    sim.SetRandomTable(race_->randomTable.words);
    RaceClockWords clock;
    sim.Tick(race_->bikes, race_->current.riderCount, 1, 0, clock);

    const BikeRecord& bike = race_->bikes[0];
    const float sine = std::sin(bike.heading);
    const float cosine = std::cos(bike.heading);
    const float ground = bike.groundHeight;
    AimCamera({bike.positionX + 4.0f * cosine, ground + 1.2f, bike.positionZ - 4.0f * sine},
              {bike.positionX, ground + 0.4f, bike.positionZ});
    g_renderDevice.SetFieldOfView(600.0f, 1.0f);
    EXPECT_TRUE(
        MatchesGolden("race-shadow", DrawFrame(), 0xD8753E1AE8C986F6, Reference("race-shadow")));
}

TEST_F(RaceViewFrameTest, TvShotFromTheRidersTracksideCamera)
{
    camera_->SetTvView(-1);
    camera_->tvZoomTracks = true;  // the zoom follows the rider's distance
    camera_->Update(0.04f);
    EXPECT_TRUE(MatchesGolden("race-tv", Frame(), 0x38AFC25DBE8B1EFB, Reference("race-tv")));
}

TEST_F(RaceViewFrameTest, TheMarshalsFlagWavesOverTheWorld)
{
    MarshalFlags flags(g_renderDevice);
    ASSERT_TRUE(flags.Load(640, 480));
    flags.Show(6);
    camera_->SetChaseView();
    camera_->Update(0.04f);
    g_renderDevice.SetFieldOfView(camera_->zoom, 1.0f);
    g_renderDevice.ClearBuffer(3, 0xFF000000);
    g_renderDevice.DrawScene(0);
    flags.Draw(0.35f);
    g_renderDevice.Flip();
    const CapturedFrame& captured = platform_.Frames().back();
    const FrameView565 frame{captured.pixels.data(), captured.width, captured.height,
                             captured.width * 2};
    EXPECT_TRUE(MatchesGolden("race-flag", frame, 0xB10871A337CDEDD5, Reference("race-flag")));
    flags.Free();
}

TEST_F(RaceViewFrameTest, TheLensFlareOfTheSunAhead)
{
    const WorldObject* sun = content_->Scene().sun;
    ASSERT_NE(sun, nullptr);
    const BikeRecord& bike = race_->bikes[0];
    const Vector3 eye{bike.positionX, 2.0f, bike.positionZ};
    // The sun up and to the right of the centre: the chain runs down to the left.
    AimCamera(eye, {sun->placement.x - 0.35f * (sun->placement.z - eye.z), sun->placement.y * 0.55f,
                    sun->placement.z + 0.35f * (sun->placement.x - eye.x)});
    g_renderDevice.SetFieldOfView(400.0f, 1.0f);
    g_renderDevice.ClearBuffer(3, 0xFF000000);
    g_renderDevice.DrawScene(0);
    DrawLensFlare(g_renderDevice, sun);
    g_renderDevice.Flip();
    const CapturedFrame& captured = platform_.Frames().back();
    const FrameView565 frame{captured.pixels.data(), captured.width, captured.height,
                             captured.width * 2};
    EXPECT_TRUE(
        MatchesGolden("race-lens-flare", frame, 0x2BE2E0D6C791BA72, Reference("race-lens-flare")));
}
}  // namespace
