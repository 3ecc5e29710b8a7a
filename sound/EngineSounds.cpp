// The engine voices of a race frame: the nearest riders hold the engine slots, and each slot's
// two loops follow its rider's engine speed, distance, bearing and motion.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sound/SoundManager.h"
#include "sound/SoundTables.h"

namespace
{
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kMaxListedRpm = 15990.0f;
constexpr float kMaxVoiceRpm = 15000.0f;
constexpr float kThrottleOn = 0.1f;
constexpr uint32_t kAttackRepeatMs = 500;
constexpr uint32_t kAttackSample = 3800;
constexpr float kVoiceMixScale = 0.3f;
constexpr float kDopplerScale = 2.5f;
constexpr float kLowestPitch = 100.0f;
constexpr int kCurvePointsPerLoop = 6;

struct ListedRider
{
    int rider = 0;
    float distanceSquared = 0.0f;
};

// atan(across / along), pi/2 when along is about 0, turned by pi when it points backwards.
float Bearing(float across, float along)
{
    float bearing = std::fabs(along) <= 0.001f ? kPi / 2.0f : std::atan(across / along);
    if (along < 0.0f)
    {
        bearing += kPi;
    }
    return bearing;
}

float WrapAngle(float angle)
{
    if (angle > kPi)
    {
        angle -= 2.0f * kPi;
    }
    else if (angle < -kPi)
    {
        angle += 2.0f * kPi;
    }
    return angle;
}

float DistanceSquared(const SoundVector& a, const SoundVector& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// Nearest first; among equal distances the rider listed earlier goes first.
void SortByDistance(std::span<ListedRider> listed)
{
    for (size_t i = 0; i < listed.size(); ++i)
    {
        size_t nearest = i;
        for (size_t j = i + 1; j < listed.size(); ++j)
        {
            if (listed[j].distanceSquared < listed[nearest].distanceSquared)
            {
                nearest = j;
            }
        }
        std::swap(listed[i], listed[nearest]);
    }
}

// The loop's volume curve at t (0..1 across its rpm range): six breakpoints, linear between.
float CurveAt(std::span<const float> positions, std::span<const float> volumes, float t)
{
    size_t j = 5;
    for (size_t k = 1; k < 5; ++k)
    {
        if (positions[k] > t)
        {
            j = k;
            break;
        }
    }
    const float width = positions[j] - positions[j - 1];
    const float u = width != 0.0f ? (t - positions[j - 1]) / width : 0.0f;
    return volumes[j - 1] + u * (volumes[j] - volumes[j - 1]);
}
}  // namespace

float AngleBetween(float x1, float z1, float x2, float z2)
{
    const auto bearing = [](float x, float z)
    {
        float angle = std::fabs(z) < 0.001f ? kPi / 2.0f : std::atan(x / z);
        return z < 0.0f ? angle + kPi : angle;
    };
    return WrapAngle(bearing(x1, z1) - bearing(x2, z2));
}

void SoundManager::UpdateEngineSounds(const RaceSoundFrame& frame)
{
    if (!IsEnabled() || !raceSoundsLoaded_)
    {
        return;
    }
    frameClockMs_ = frame.raceClockMs;
    playerRider_ = frame.playerRider;
    const int riderCount = std::min<int>(static_cast<int>(frame.riders.size()), kRiderCount);
    std::array<ListedRider, kRiderCount> listed{};
    int listedCount = 0;
    for (int rider = 0; rider < riderCount; ++rider)
    {
        const RiderSoundInput& input = frame.riders[rider];
        if (input.inactive)
        {
            if (riders_[rider].soundSlot >= 0)
            {
                engineSlotOwner_[riders_[rider].soundSlot] = -1;
            }
            riders_[rider].soundSlot = -1;
            continue;
        }
        listed[listedCount++] = {rider, DistanceSquared(input.position, frame.cameraPosition)};
    }
    const std::span nearestFirst = std::span(listed).first(listedCount);
    SortByDistance(nearestFirst);
    const int nearest = std::min(EngineVoiceCount(), listedCount);
    for (const ListedRider& far : nearestFirst.subspan(nearest))
    {
        RiderSoundResult& result = riders_[far.rider];
        if (result.soundSlot >= 0)
        {
            engineSlotOwner_[result.soundSlot] = -1;
        }
        result.soundSlot = -1;
    }
    for (const ListedRider& near : nearestFirst.first(nearest))
    {
        AssignEngineSlot(near.rider, frame, nearest);
    }
    SilenceFreeSlots();
    const bool ridingAlong = frame.cameraMode <= 1 && frame.viewedRider < frame.riders.size();
    listenerVelocity_ = ridingAlong ? frame.riders[frame.viewedRider].velocity : SoundVector{};
    listenerSpeed_ = std::sqrt(listenerVelocity_.x * listenerVelocity_.x +
                               listenerVelocity_.y * listenerVelocity_.y +
                               listenerVelocity_.z * listenerVelocity_.z);
    UpdateEventVoices(frame);
}

// A rider without a slot takes the lowest free one; a gear change starts the loops afresh, and
// open throttle restarts loop 0 at its attack at most every half second.
void SoundManager::AssignEngineSlot(int rider, const RaceSoundFrame& frame, int nearest)
{
    const RiderSoundInput& input = frame.riders[rider];
    RiderSoundResult& result = riders_[rider];
    const bool throttleOn = input.throttle > kThrottleOn;
    const float volume = 0.7f * (throttleOn ? 0.5f + 0.35f * input.throttle : 0.5f);
    const float rpm = std::min(input.engineRpm, kMaxListedRpm);
    const uint32_t nowMs = frame.raceClockMs;
    if (result.soundSlot < 0)
    {
        const auto freeSlot =
            std::find(engineSlotOwner_.begin(), engineSlotOwner_.begin() + nearest, -1);
        if (freeSlot == engineSlotOwner_.begin() + nearest)
        {
            return;
        }
        result.soundSlot = static_cast<int32_t>(freeSlot - engineSlotOwner_.begin());
        *freeSlot = rider;
    }
    else if (input.gear != riderGear_[rider])
    {
        if (bankLoaded_)
        {
            StartEngineLoops(result.soundSlot);
        }
        riderAttackMs_[rider] = nowMs;
    }
    else if (throttleOn)
    {
        if (nowMs - riderAttackMs_[rider] > kAttackRepeatMs && bankLoaded_)
        {
            engineSampler_.RestartSample(bank_.engineLoops[0], kAttackSample, 2 * result.soundSlot);
        }
        riderAttackMs_[rider] = nowMs;
    }
    UpdateEngineVoices(result.soundSlot, rider, rpm, volume, frame);
    riderGear_[rider] = input.gear;
}

void SoundManager::SilenceFreeSlots()
{
    for (int slot = 0; slot < EngineVoiceCount(); ++slot)
    {
        if (engineSlotOwner_[slot] == -1 &&
            engineSampler_.SetFirstEvent(2 * slot, kSamplerVolume, FloatWord(0.0f)))
        {
            engineSampler_.AddEvent(2 * slot + 1, kSamplerVolume, FloatWord(0.0f));
            engineSampler_.EndEvents();
        }
    }
}

// Distance gives the loudness (20 / (d + 1)), the lateral angle the pan, and the motion of the
// rider against the listener across the line of sight a Doppler shift: up while the rider
// comes nearer, a little down while it goes away.
void SoundManager::UpdateEngineVoices(int slot, int rider, float rpm, float volume,
                                      const RaceSoundFrame& frame)
{
    if (!IsEnabled() || !bankLoaded_ || slot < 0 || slot >= kEngineSlots || rider < 0 ||
        rider >= kRiderCount || static_cast<size_t>(rider) >= frame.riders.size())
    {
        return;
    }
    rpm = std::min(rpm, kMaxVoiceRpm);
    engineRpm_ = rpm;
    mixScale_ = kVoiceMixScale;
    const RiderSoundInput& input = frame.riders[rider];
    const SoundVector& seen = input.viewPosition;
    const float distance = std::sqrt(seen.x * seen.x + seen.y * seen.y + seen.z * seen.z);
    const float attenuation = 20.0f / (distance + 1.0f);
    // A rider exactly at the camera (on board) is heard in the middle.
    const float pan =
        distance < 1e-6f ? 0.0f : std::asin(0.99999f * seen.x / distance) * 2.0f / kPi;
    const float heading = frame.cameraHeadingRad;
    const float vx = input.velocity.x;
    const float vz = input.velocity.z;
    const float along = vz * std::cos(heading) - vx * std::sin(heading);
    const float across = vx * std::cos(heading) + vz * std::sin(heading);
    const float bearingGap = WrapAngle(Bearing(seen.x, seen.z) - Bearing(across, along));
    float approach = std::fabs(bearingGap) * 2.0f / kPi - 1.0f;
    if (approach < 0.0f)
    {
        approach *= 0.15f;
    }
    const float relativeX = vx - listenerVelocity_.x;
    const float relativeZ = vz - listenerVelocity_.z;
    const float doppler =
        kDopplerScale * approach * (relativeX * relativeX + relativeZ * relativeZ);

    RiderSoundResult& result = riders_[rider];
    result.soundAttenuation = std::min(attenuation, 1.0f);
    result.soundPan = pan;
    result.soundPitchOffset = doppler;
    const float riderShift =
        static_cast<uint32_t>(rider) != frame.viewedRider ? kRiderPitchOffset[rider] * 0.5f : 0.0f;
    for (int loop = 0; loop < kEngineLoopsPlayed; ++loop)
    {
        UpdateLoopVoice(2 * slot + loop, loop, rpm, volume, attenuation, {doppler, riderShift},
                        pan);
    }
}

void SoundManager::UpdateLoopVoice(int voice, int loop, float rpm, float volume, float attenuation,
                                   PitchShift shift, float pan)
{
    const FloatRange rpmRange = bank_.loopRpmRange[loop];
    if (rpm < rpmRange.low || rpm > rpmRange.high)
    {
        engineSampler_.SetSingleEvent(voice, kSamplerVolume, FloatWord(0.0f));
        return;
    }
    const float width = rpmRange.high - rpmRange.low;
    const float t = width > 0.0f ? (rpm - rpmRange.low) / width : 0.0f;
    const auto points = static_cast<size_t>(loop * kCurvePointsPerLoop);
    const float curve = CurveAt(std::span(bank_.loopCurvePos).subspan(points, 6),
                                std::span(bank_.loopCurveVol).subspan(points, 6), t) *
                        mixScale_ * 0.01f;
    const FloatRange pitchRange = bank_.loopPitchRange[loop];
    const float basePitch =
        std::clamp(bank_.pitchOffset + pitchRange.low + t * (pitchRange.high - pitchRange.low),
                   2000.0f, 44100.0f);
    const float pitch = std::max(basePitch + shift.doppler + shift.rider, kLowestPitch);
    const float loudness = std::clamp(curve * volume * attenuation, 0.0f, 1.0f);
    if (engineSampler_.SetFirstEvent(voice, kSamplerPitch, FloatWord(pitch)))
    {
        engineSampler_.AddEvent(voice, kSamplerVolume, FloatWord(loudness));
        engineSampler_.AddEvent(voice, kSamplerPan, FloatWord(pan));
        engineSampler_.EndEvents();
    }
}
