#include "kit/laps/DemoLaps.h"

#include <algorithm>
#include <cmath>

namespace kit
{
namespace
{
constexpr float kStepSeconds = 0.04f;

uint16_t Scaled(float value, float scale, float high)
{
    return static_cast<uint16_t>(std::clamp(std::trunc(value * scale), 0.0f, high));
}

// The ride's state at a distance along the line.
RideState StateAt(std::span<const LinePoint> line, const std::vector<float>& along, float metres)
{
    const size_t count = line.size();
    size_t i = 0;
    while (i + 1 < count && along[i + 1] <= metres)
    {
        ++i;
    }
    const LinePoint& from = line[i];
    const LinePoint& to = line[(i + 1) % count];
    const float stretch = along[i + 1] - along[i];
    const float t = stretch > 0.0f ? (metres - along[i]) / stretch : 0.0f;
    RideState state;
    state.node = from.node;
    state.x = from.x + (to.x - from.x) * t;
    state.z = from.z + (to.z - from.z) * t;
    state.heading = std::atan2(to.x - from.x, to.z - from.z);
    return state;
}
}  // namespace

std::vector<RideState> RideLap(std::span<const LinePoint> line, float startTime,
                               float speedMetresPerSecond)
{
    std::vector<float> along{0.0f};
    for (size_t i = 0; i < line.size(); ++i)
    {
        const LinePoint& a = line[i];
        const LinePoint& b = line[(i + 1) % line.size()];
        along.push_back(along.back() + std::hypot(b.x - a.x, b.z - a.z));
    }
    const float lapMetres = along.back();
    std::vector<RideState> ride;
    float speed = speedMetresPerSecond;
    for (float metres = 0.0f; metres < lapMetres; metres += speed * kStepSeconds)
    {
        const size_t step = ride.size();
        // A little life in every channel: the pace and the engine breathe along the lap.
        const float phase = 6.2831853f * metres / lapMetres;
        const float previousSpeed = speed;
        speed = speedMetresPerSecond * (1.0f + 0.1f * std::sin(3.0f * phase));
        RideState state = StateAt(line, along, metres);
        state.raceTime = startTime + kStepSeconds * static_cast<float>(step);
        state.speed = speed;
        state.acceleration = (speed - previousSpeed) / kStepSeconds;
        state.frontCompression = 0.03f + 0.01f * std::sin(phase);
        state.rearCompression = 0.04f + 0.01f * std::cos(phase);
        state.tyreHeat = 0.9f + 0.05f * std::sin(phase);
        state.gripWear = 1.0f - 0.0001f * static_cast<float>(step);
        state.tyreHeatBase = 0.5f;
        state.heatingFactor = 0.5f;
        state.gear = 3 + static_cast<int32_t>(2.5f + 2.5f * std::sin(3.0f * phase)) % 4;
        state.engineRpm = 9000.0f + 2500.0f * std::sin(5.0f * phase);
        state.enginePower = 80000.0f + 20000.0f * std::sin(5.0f * phase);
        state.engineTemperature = 62.5f + 5.0f * std::sin(phase);
        state.throttle = 0.5f + 0.5f * std::sin(3.0f * phase);
        state.brake = std::max(0.0f, -std::sin(3.0f * phase));
        state.steer = 0.4f * std::sin(2.0f * phase);
        state.pose[0] = 0.01f * std::sin(phase);  // pitch
        state.pose[1] = state.heading;            // heading
        state.pose[2] = 0.0f;                     // on the kit's circuits' flat ground
        state.pose[7] = -0.5f * state.steer;      // lean
        state.pose[14] = 0.02f * std::cos(phase);
        state.pose[15] = 0.3f;
        ride.push_back(state);
    }
    return ride;
}

LapFileContent LapOfRide(std::span<const RideState> ride, const LapHeader& header,
                         const LapTimes& times)
{
    LapFileContent lap;
    lap.header = header;
    lap.valid = 1;
    lap.times = times;
    for (const RideState& state : ride)
    {
        LapSample sample;
        sample.node = state.node;
        sample.groundX = state.x;
        sample.groundZ = state.z;
        sample.raceTime = state.raceTime;
        sample.suspensionFront = state.frontCompression;
        sample.suspensionRear = state.rearCompression;
        sample.acceleration = state.acceleration;
        const float tyre =
            state.tyreHeat * state.gripWear * 100.0f / (state.tyreHeatBase + state.heatingFactor);
        sample.tyreFront = tyre;
        sample.tyreRear = tyre;
        sample.power = Scaled(state.enginePower, 0.256f, 65535.0f);
        sample.brake = Scaled(state.brake, 65000.0f, 65000.0f);
        sample.speed = Scaled(state.speed, 650.0f, 65000.0f);
        sample.rpm = Scaled(state.engineRpm, 3.0f, 65535.0f);
        sample.throttle = Scaled(state.throttle, 65000.0f, 65000.0f);
        sample.steering =
            static_cast<uint16_t>(static_cast<int16_t>(std::trunc(state.steer * 32000.0f)));
        sample.gear = static_cast<uint8_t>(state.gear);
        sample.temperature = static_cast<uint8_t>(std::trunc(state.engineTemperature));
        sample.pose = state.pose;
        lap.samples.push_back(sample);
    }
    return lap;
}
}  // namespace kit
