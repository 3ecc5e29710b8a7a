#include "race/laps/LapRecord.h"

#include <cmath>

namespace
{
// Hands every channel of sample i of the record to the function beside the sample's value.
template <class Record, class Sample, class Function>
void PairFields(Record& record, size_t i, Sample& sample, Function&& function)
{
    function(record.node[i], sample.node);
    function(record.groundX[i], sample.groundX);
    function(record.groundZ[i], sample.groundZ);
    function(record.raceTime[i], sample.raceTime);
    function(record.suspensionFront[i], sample.suspensionFront);
    function(record.suspensionRear[i], sample.suspensionRear);
    function(record.acceleration[i], sample.acceleration);
    function(record.tyreFront[i], sample.tyreFront);
    function(record.tyreRear[i], sample.tyreRear);
    function(record.power[i], sample.power);
    function(record.brake[i], sample.brake);
    function(record.speed[i], sample.speed);
    function(record.rpm[i], sample.rpm);
    function(record.throttle[i], sample.throttle);
    function(record.steering[i], sample.steering);
    function(record.gear[i], sample.gear);
    function(record.temperature[i], sample.temperature);
    for (size_t channel = 0; channel < LapRecord::kPoseChannels; ++channel)
    {
        function(record.pose[channel][i], sample.pose[channel]);
    }
}
}  // namespace

void LapRecord::InitRecording()
{
    sampleCount = 0;
    ghostStart = 0;
    valid = 1;
    lastStoredLap = 0;
    alpha = 0;
}

void LapRecord::Reset()
{
    sampleCount = 0;
    valid = 1;
}

LapSample LapRecord::Sample(int32_t index) const
{
    LapSample sample;
    PairFields(*this, static_cast<size_t>(index), sample,
               [](const auto& stored, auto& value) { value = stored; });
    return sample;
}

void LapRecord::AppendSample(const LapSample& sample, bool bikeResetOrInactive)
{
    if (sampleCount >= kMaxSamples)
    {
        valid = 0;
        return;
    }
    // A standing bike adds nothing.
    constexpr float kStandingMove = 0.001f;
    if (sampleCount > 0)
    {
        const size_t last = static_cast<size_t>(sampleCount - 1);
        if (std::fabs(sample.groundX - groundX[last]) < kStandingMove &&
            std::fabs(sample.groundZ - groundZ[last]) < kStandingMove)
        {
            return;
        }
    }
    PairFields(*this, static_cast<size_t>(sampleCount), sample,
               [](auto& stored, const auto& value) { stored = value; });
    if (bikeResetOrInactive)
    {
        valid = 0;
    }
    ++sampleCount;
}

void LapRecord::SetGhostStart()
{
    ghostStart = sampleCount > kFadeSamples ? sampleCount - kFadeSamples : 0;
}
