// The frame's effects after the steps: spray, smoke, dirt and dust particles, the tyre-squeal
// level of the viewed rider, the sound's rpm, and the wheels' texture frames. They read the
// records and the step's random word and write only what no step reads.

#include <algorithm>

#include "race/RaceSim.h"
#include "race/SimMath.h"

namespace
{
constexpr uint32_t kStillFront = 632;
constexpr uint32_t kStillRear = 631;
constexpr uint32_t kFirstTurning = 633;
constexpr uint32_t kSecondTurning = 615;

bool WideCamera(uint32_t cameraMode)
{
    return cameraMode == 0 || cameraMode == 7 || cameraMode == 11;
}
}  // namespace

void RaceSim::RunFrameEffects(std::span<BikeRecord> records, uint32_t riderCount)
{
    const uint32_t chance = RandomWord(ticksDone_, 0);
    const bool detail = params_.detailEffects;
    for (uint32_t rider = 0; rider < riderCount; ++rider)
    {
        BikeRecord& bike = records[rider];
        if (IsInactive(bike))
        {
            continue;
        }
        const float v = bike.speed;
        const float x = bike.positionX;
        const float y = bike.groundHeight;
        const float z = bike.positionZ;
        if ((bike.flags & bike_flags::kDown) == 0)
        {
            if (params_.weather == Weather::Rain)
            {
                if (bike.rearSurface.surfaceClass > 2 && bike.rearSurface.surfaceClass != 3 &&
                    detail && chance < 14000)
                {
                    const bool near = rider == viewedRider_ && WideCamera(cameraMode_);
                    const float size =
                        near ? std::min(4.4f * v, 155.0f) : std::min(6.4f * v, 255.0f);
                    services_->EmitParticle(RaceParticle::Spray, rider,
                                            x - 0.5f * sim::Sin(bike.course), y + 0.1f,
                                            z - 0.5f * sim::Cos(bike.course), size);
                }
            }
            else if (chance < 1000 ||
                     (detail && static_cast<float>(chance) < bike.engineRpm * 0.1f))
            {
                services_->EmitParticle(RaceParticle::ExhaustSmoke, rider, x, y, z, 0.0f);
            }
            bike.soundRpm = bike.engineRpm;
            if (params_.weather == Weather::Fine && detail)
            {
                if (bike.frontSurface.surfaceClass >= 0 && bike.frontSurface.surfaceClass < 3 &&
                    chance < 7000)
                {
                    services_->EmitParticle(bike.frontSurface.surfaceClass == 1
                                                ? RaceParticle::DirtLight
                                                : RaceParticle::DirtDark,
                                            rider, x, y, z, std::min(25.0f * v, 254.0f));
                }
                if (bike.driveIntensity > 6000.0f && bike.rearGripUse < 0.6f &&
                    bike.rearSurface.surfaceClass > 3)
                {
                    const float excess = bike.driveIntensity - 6000.0f;
                    if (rider == viewedRider_)
                    {
                        bike.effectLevels[0] = std::clamp(excess * 8.333333e-06f, 0.0f, 0.5f);
                    }
                    if (chance < 27000)
                    {
                        services_->EmitParticle(RaceParticle::TyreSmoke, rider, x, y, z,
                                                std::min(excess * 0.0025f, 130.0f));
                    }
                }
            }
            if (bike.retirementFlag == 1 && detail && chance < 12000)
            {
                services_->EmitParticle(RaceParticle::DustCloud, rider, x, y, z,
                                        std::min(60.0f + 10.0f * v, 190.0f));
            }
        }
        if (rider == ghostRider_)
        {
            continue;  // its wheels turn with the steps
        }
        const uint32_t base = 6 * static_cast<uint32_t>(std::max(bike.wheelFrameBase, 0));
        if (v <= 0.05f)
        {
            services_->ShowWheelFrames(rider, kStillFront + base, kStillRear + base);
            continue;
        }
        bike.wheelFrameCounter = (bike.wheelFrameCounter + 1) % 3;
        const auto counter = static_cast<uint32_t>(bike.wheelFrameCounter);
        services_->ShowWheelFrames(rider, kFirstTurning + counter + base, kSecondTurning - counter);
    }
}
