// The machines' spray and dust on the demo circuit's loaded race, seen from the chase view: the
// rain's spray fanning out behind the bikes on the road, and the dust and stones a fixture of
// loose ground under the wheels raises (the demo circuit has none of its own).

#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>

#include "app/device/RenderDevice.h"
#include "app/settings/MenuState.h"
#include "race/RaceSim.h"
#include "race/SimMath.h"
#include "tests/content/ContentFixture.h"
#include "view/camera/RaceCamera.h"
#include "view/race/EffectMeshes.h"
#include "view/race/ParticleTable.h"

namespace
{
constexpr uint32_t kRiders = 4;
constexpr float kFrameSeconds = 0.04f;

struct GroundUnderWheels
{
    int32_t front;
    int32_t rear;
};

class RaceEffectFrameTest : public ContentTest
{
protected:
    void Ride(Weather weather, float speed, std::span<const GroundUnderWheels> ground)
    {
        Mount();
        PrepareRace(BikeClass::Class125, weather, kRiders);
        ASSERT_TRUE(Load());
        const RaceScene& scene = content_->Scene();
        camera_ = std::make_unique<RaceCamera>(*race_, settings_);
        camera_->SetViewNode(scene.root);
        particles_.Attach(scene.smokeClouds, scene.effects);
        const std::span<BikeRecord> field = std::span(race_->bikes).first(kRiders);
        meshes_.Attach(field);
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            BikeRecord& bike = field[rider];
            bike.speed = speed;
            bike.frontSurface.surfaceClass = ground[rider % ground.size()].front;
            bike.rearSurface.surfaceClass = ground[rider % ground.size()].rear;
        }
        // A second of frames, each rider emitting as the simulation's frame effects do, about
        // as often as their chances let them: spray every other frame, dirt every fifth.
        const uint32_t everyFrames = weather == Weather::Rain ? 2 : 5;
        for (uint32_t frame = 0; frame < 25; ++frame)
        {
            for (uint32_t rider = 0; rider < kRiders; ++rider)
            {
                BikeRecord& bike = field[rider];
                bike.wheelFrameCounter = static_cast<int32_t>(frame % 3);
                if ((frame + rider) % everyFrames == 0)
                {
                    Emit(weather, bike);
                }
            }
            particles_.Update(kFrameSeconds);
            meshes_.Update(field, weather, true, RaceSim::kNoRider);
        }
        race_->current.viewedRider = 3;
        camera_->SetChaseView();
        camera_->Update(kFrameSeconds);
        g_renderDevice.SetFieldOfView(camera_->zoom, 1.0f);
    }

    void Emit(Weather weather, const BikeRecord& bike)
    {
        const float y = bike.groundHeight;
        if (weather == Weather::Rain)
        {
            particles_.Emit(RaceParticle::Spray, bike.positionX - 0.5f * sim::Sin(bike.course),
                            y + 0.1f, bike.positionZ - 0.5f * sim::Cos(bike.course),
                            std::min(6.4f * bike.speed, 255.0f), bike.course);
            return;
        }
        const int32_t ground = bike.frontSurface.surfaceClass;
        if (ground >= 0 && ground < 3)
        {
            particles_.Emit(ground == 1 ? RaceParticle::DirtLight : RaceParticle::DirtDark,
                            bike.positionX, y, bike.positionZ, std::min(25.0f * bike.speed, 254.0f),
                            bike.course);
        }
    }

    static std::string Reference(const char* name)
    {
        return std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp";
    }

    MenuState settings_;
    std::unique_ptr<RaceCamera> camera_;
    ParticleTable particles_;
    EffectMeshes meshes_;
};

TEST_F(RaceEffectFrameTest, RainSprayFansOutBehindTheBikesOnTheRoad)
{
    const GroundUnderWheels road[] = {{4, 4}};
    Ride(Weather::Rain, 30.0f, road);
    EXPECT_TRUE(MatchesGolden("race-rain-spray", DrawFrame(), 0xAC7ACA709F3FA46D,
                              Reference("race-rain-spray")));
}

TEST_F(RaceEffectFrameTest, LooseGroundRaisesDustAndStones)
{
    // Light sand under some bikes, dark gravel under the others.
    const GroundUnderWheels loose[] = {{1, 1}, {2, 2}};
    Ride(Weather::Fine, 20.0f, loose);
    EXPECT_TRUE(
        MatchesGolden("race-dust", DrawFrame(), 0x81E399FC8B1658A3, Reference("race-dust")));
}
}  // namespace
