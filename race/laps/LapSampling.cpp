#include "race/laps/LapSampling.h"

#include <algorithm>
#include <cmath>

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/laps/GhostPose.h"
#include "race/laps/LapFile.h"

namespace
{
// trunc(value) held within low..high; no number at all counts as low.
int32_t Truncated(float value, int32_t low, int32_t high)
{
    if (!(value > static_cast<float>(low)))
    {
        return low;
    }
    if (value >= static_cast<float>(high))
    {
        return high;
    }
    return static_cast<int32_t>(value);
}

uint16_t Unsigned16(float value, int32_t high = 65535)
{
    return static_cast<uint16_t>(Truncated(value, 0, high));
}

// Tyre condition in percent: heat times grip wear against the hottest the tyre can run.
float TyreCondition(float heat, float gripWear, float heatBase, float heatingFactor)
{
    const float hottest = heatBase + heatingFactor;
    return hottest == 0.0f ? 0.0f : heat * gripWear * 100.0f / hottest;
}

uint16_t EnginePower(const BikeRecord& bike)
{
    const int32_t index =
        Truncated(bike.engineRpm * 0.01f, 0, static_cast<int32_t>(bike.engineCurve.size()) - 1);
    return Unsigned16(bike.engineCurve[static_cast<size_t>(index)] * 0.256f);
}
}  // namespace

LapSample SampleBike(const BikeRecord& bike, float raceTime)
{
    LapSample sample;
    sample.node = static_cast<uint16_t>(bike.aiTargetNode);
    sample.groundX = bike.positionX;
    sample.groundZ = bike.positionZ;
    sample.raceTime = raceTime;
    sample.suspensionFront = bike.frontCompression;
    sample.suspensionRear = bike.rearCompression;
    sample.acceleration = bike.acceleration;
    sample.tyreFront = TyreCondition(bike.frontTyreHeat, bike.frontGripWear, bike.frontTyreHeatBase,
                                     bike.frontHeatingFactor);
    sample.tyreRear = TyreCondition(bike.rearTyreHeat, bike.rearGripWear, bike.rearTyreHeatBase,
                                    bike.rearHeatingFactor);
    sample.power = EnginePower(bike);
    sample.brake = Unsigned16(bike.brake * 65000.0f, 65000);
    sample.speed = Unsigned16(bike.speed * 650.0f, 65000);
    sample.rpm = Unsigned16(bike.engineRpm * 3.0f);
    sample.throttle = Unsigned16(bike.throttle * 65000.0f, 65000);
    sample.steering = static_cast<uint16_t>(Truncated(bike.steer * 32000.0f, -32768, 32767));
    sample.gear = static_cast<uint8_t>(std::clamp(bike.gear, 0, 255));
    sample.temperature = static_cast<uint8_t>(Truncated(bike.engineTemperature, 0, 255));
    for (size_t channel = 0; channel < LapSample::kPoseChannels; ++channel)
    {
        const PoseChannel& target = kPoseTargets[channel];
        if (WorldObject* node = BikeNode(bike, target.slot))
        {
            sample.pose[channel] = PoseValue(*node, target.field);
        }
    }
    return sample;
}

bool IsResetOrInactive(const BikeRecord& bike)
{
    return (bike.flags & (bike_flags::kInactive | bike_flags::kDown)) != 0;
}

void LapRecord::AppendSample(const BikeRecord& bike, float raceTime)
{
    AppendSample(SampleBike(bike, raceTime), IsResetOrInactive(bike));
}

void LapRecord::FinishLap(uint32_t lap, const LapHeader& session, const LapTimes& lapTimes,
                          const RacingLine& line)
{
    header = session;
    times = lapTimes;
    const auto onMainLine = [&line](uint16_t node)
    { return line.CanonicalNode(node) <= line.pitLaneFirstNode; };
    if (sampleCount < 1 || !onMainLine(node[0]) ||
        !onMainLine(node[static_cast<size_t>(sampleCount - 1)]))
    {
        valid = 0;
    }
    if (lap > lastStoredLap)
    {
        lastStoredLap = lap;
        WriteLapFile(SessionLapPath(lap), *this);
    }
    Reset();
}
