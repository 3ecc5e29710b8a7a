#include "program/RaceSoundFrame.h"

#include <algorithm>

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "view/camera/RaceCamera.h"

namespace
{
SoundVector ToSound(const Vector3& v)
{
    return {v.x, v.y, v.z};
}
}  // namespace

const RaceSoundFrame& RaceSoundFrameBuilder::Gather(std::span<const BikeRecord> bikes,
                                                    const RaceCamera& camera, uint32_t viewedRider,
                                                    uint32_t playerRider, uint32_t raceClockMs)
{
    const size_t count = std::min(bikes.size(), riders_.size());
    for (size_t rider = 0; rider < count; ++rider)
    {
        const BikeRecord& bike = bikes[rider];
        RiderSoundInput& input = riders_[rider];
        input.inactive = bike.IsInactive();
        input.position = {bike.positionX, bike.groundHeight, bike.positionZ};
        // Where the engine drew the bike this frame; a bike without its node is heard where
        // the camera is.
        const WorldObject* root = bike.links.bikeRoot.get();
        input.viewPosition = root != nullptr ? ToSound(root->viewTranslation) : SoundVector{};
        input.velocity = {bike.velocity[0], bike.velocity[1], bike.velocity[2]};
        input.speed = bike.speed;
        input.throttle = std::clamp(bike.throttle, 0.0f, 1.0f);
        input.gear = static_cast<uint32_t>(std::max(bike.gear, 0));
        input.engineRpm = bike.soundRpm;
        std::copy(bike.effectLevels.begin(), bike.effectLevels.end(), input.effectLevel.begin());
    }
    frame_.riders = std::span<const RiderSoundInput>(riders_.data(), count);
    frame_.cameraPosition = ToSound(camera.pose.eye);
    frame_.cameraHeadingRad = camera.pose.heading;
    frame_.cameraMode = static_cast<uint32_t>(camera.mode);
    frame_.viewedRider = viewedRider;
    frame_.playerRider = playerRider;
    frame_.raceClockMs = raceClockMs;
    return frame_;
}
