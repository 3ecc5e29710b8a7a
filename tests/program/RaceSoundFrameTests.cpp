// The engine sounds' frame: each rider's record as the sounds hear it, the camera as listener.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/settings/MenuState.h"
#include "program/RaceSoundFrame.h"
#include "race/RaceContext.h"
#include "view/camera/RaceCamera.h"

namespace
{
TEST(RaceSoundFrameTest, EveryRiderIsHeardFromItsRecordAndTheCameraListens)
{
    const auto race = std::make_unique<RaceContext>("records.cpr");
    const auto settings = std::make_unique<MenuState>();
    RaceCamera camera(*race, *settings);
    camera.pose.eye = {1.0f, 2.0f, 3.0f};
    camera.pose.heading = 0.5f;
    camera.mode = CameraMode::CameraTv;

    std::vector<BikeRecord> bikes(3);
    for (BikeRecord& bike : bikes)
    {
        std::memset(static_cast<void*>(&bike), 0, sizeof(BikeRecord));
    }
    BikeRecord& rider = bikes[1];
    rider.positionX = 10.0f;
    rider.groundHeight = 1.5f;
    rider.positionZ = -4.0f;
    rider.velocity = {3.0f, 0.0f, 4.0f};
    rider.speed = 5.0f;
    rider.throttle = 1.0f;
    rider.gear = 3;
    rider.engineRpm = 12000.0f;
    rider.soundRpm = 11000.0f;
    rider.effectLevels = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    bikes[2].flags = bike_flags::kInactive;
    // A record that never had its nodes: no gear yet.
    bikes[0].gear = -1;

    RaceSoundFrameBuilder builder;
    const RaceSoundFrame& frame = builder.Gather(bikes, camera, 1, 0, 4200);

    ASSERT_EQ(frame.riders.size(), 3u);
    const RiderSoundInput& heard = frame.riders[1];
    EXPECT_FALSE(heard.inactive);
    EXPECT_TRUE(frame.riders[2].inactive);
    EXPECT_EQ(frame.riders[0].gear, 0u);
    EXPECT_FLOAT_EQ(heard.position.x, 10.0f);
    EXPECT_FLOAT_EQ(heard.position.y, 1.5f);
    EXPECT_FLOAT_EQ(heard.position.z, -4.0f);
    EXPECT_FLOAT_EQ(heard.velocity.z, 4.0f);
    EXPECT_FLOAT_EQ(heard.speed, 5.0f);
    EXPECT_EQ(heard.gear, 3u);
    // The sounds run on the rpm the race's effects handed them, not the engine's own.
    EXPECT_FLOAT_EQ(heard.engineRpm, 11000.0f);
    EXPECT_FLOAT_EQ(heard.effectLevel[5], 0.6f);
    EXPECT_FLOAT_EQ(frame.cameraPosition.y, 2.0f);
    EXPECT_FLOAT_EQ(frame.cameraHeadingRad, 0.5f);
    EXPECT_EQ(frame.cameraMode, static_cast<uint32_t>(CameraMode::CameraTv));
    EXPECT_EQ(frame.viewedRider, 1u);
    EXPECT_EQ(frame.raceClockMs, 4200u);
}
}  // namespace
