#include "view/motion/MotionFile.h"

#include <string>

#include "app/archive/ArchiveSet.h"
#include "core/archive/DAFile.h"
#include "race/SimMath.h"

namespace
{
// A cache shorter than this cannot hold a frame count, a block and the end mark.
constexpr int32_t kSmallestCache = 13;

struct SlotPosition
{
    int32_t index;
    float fraction;
};

// The slot pair a frame position reads; at and past the last frame (and for positions that
// are not numbers) the last slot alone, so that no read goes past the track.
SlotPosition SlotAt(float t, int32_t frameCount)
{
    if (!(t > 0.0f))
    {
        return {0, 0.0f};
    }
    if (t >= static_cast<float>(frameCount))
    {
        return {frameCount, 0.0f};
    }
    const auto index = static_cast<int32_t>(t);
    return {index, t - static_cast<float>(index)};
}

std::array<float, 3> Interpolate(std::span<const MotionTriple> track, int32_t index, float fraction)
{
    const MotionTriple& from = track[static_cast<size_t>(index)];
    const MotionTriple& to = index + 1 < static_cast<int32_t>(track.size())
                                 ? track[static_cast<size_t>(index) + 1]
                                 : from;
    std::array<float, 3> values{};
    for (size_t i = 0; i < values.size(); ++i)
    {
        values[i] = static_cast<float>(from[i]) + static_cast<float>(to[i] - from[i]) * fraction;
    }
    return values;
}
}  // namespace

MotionFile::~MotionFile()
{
    Clear();
}

void MotionFile::Clear()
{
    tracks_ = {};
    scene_.Clear();
    firstFrame_ = 0;
    lastFrame_ = 0;
    // The last evaluation's frame would point past a shorter clip.
    mirrored_ = 0;
    frameIndex_ = 0;
    frameFraction_ = 0.0f;
}

bool MotionFile::Load(std::string_view name, uint32_t flags, float rate, uint32_t loop)
{
    flags_ = flags;
    rate_ = rate;
    loop_ = loop;
    Clear();
    const std::string cacheName = std::string(name) + ".bmo";
    DAFile file(g_archiveMenu);
    if (!file.Exists(cacheName))
    {
        return ConvertScene(name);
    }
    if (!file.Open(cacheName))
    {
        return false;
    }
    const std::optional<std::vector<uint8_t>> bytes = file.ReadAll();
    if (!bytes || bytes->size() < kSmallestCache)
    {
        return false;
    }
    return TakeTracks(DecodeMotionTracks(*bytes));
}

bool MotionFile::TakeTracks(std::optional<MotionTracks> tracks)
{
    if (!tracks)
    {
        Clear();
        return false;
    }
    tracks_ = std::move(*tracks);
    const int32_t last = tracks_.frameCount;
    const int32_t source = loop_ != 0 ? 0 : last - 1;
    for (int32_t track = 0; track < MotionTracks::kRiderTracks; ++track)
    {
        std::span<MotionTriple> slots = tracks_.RiderTrack(track);
        slots[static_cast<size_t>(last)] = slots[static_cast<size_t>(source)];
    }
    for (int32_t track = 0; track < MotionTracks::kBikeTracks; ++track)
    {
        std::span<MotionTriple> slots = tracks_.BikeTrack(track);
        slots[static_cast<size_t>(last)] = slots[static_cast<size_t>(source)];
    }
    firstFrame_ = 0;
    lastFrame_ = last - 1;
    SetRate(rate_);
    return true;
}

void MotionFile::SetRate(float rate)
{
    rate_ = rate;
    duration_ = rate > 0.0f ? static_cast<float>(tracks_.frameCount) / rate : 0.0f;
}

float MotionFile::EvaluateRoot(float frame, float step, float& x, float& y, float& z,
                               uint32_t mirror)
{
    return EvaluatePosition(tracks_.RiderTrack(0), frame, step, x, y, z, mirror);
}

float MotionFile::EvaluateBikeRoot(float frame, float step, float& x, float& y, float& z,
                                   uint32_t mirror)
{
    return EvaluatePosition(tracks_.BikeTrack(0), frame, step, x, y, z, mirror);
}

float MotionFile::EvaluatePosition(std::span<const MotionTriple> track, float frame, float step,
                                   float& x, float& y, float& z, uint32_t mirror)
{
    if (!IsLoaded())
    {
        x = y = z = 0.0f;
        return frame;
    }
    const auto frameCount = static_cast<float>(tracks_.frameCount);
    float t = frame + step * rate_;
    if (t >= frameCount)
    {
        t = loop_ != 0 ? t - frameCount : frameCount;
    }
    const SlotPosition slot = SlotAt(t, tracks_.frameCount);
    mirrored_ = mirror;
    frameIndex_ = static_cast<uint32_t>(slot.index);
    frameFraction_ = slot.fraction;
    const std::array<float, 3> position = Interpolate(track, slot.index, slot.fraction);
    x = position[0] * kPositionUnit;
    y = position[1] * kPositionUnit;
    z = position[2] * kPositionUnit;
    if (mirror != 0)
    {
        x = -x;
    }
    if ((flags_ & kClipRootScaledByRate) != 0)
    {
        x *= rate_;
        z *= rate_;
    }
    return t;
}

void MotionFile::EvaluatePart(int32_t part, float& a, float& b, float& c) const
{
    if (!IsLoaded() || part < 0 || part >= kMotionPartCount)
    {
        a = b = c = 0.0f;
        return;
    }
    const int32_t played = mirrored_ != 0 ? kMotionPartMirror[static_cast<size_t>(part)] : part;
    EvaluateAngles(tracks_.RiderTrack(1 + played), a, b, c);
}

void MotionFile::EvaluateBikeAngles(float& a, float& b, float& c) const
{
    if (!IsLoaded())
    {
        a = b = c = 0.0f;
        return;
    }
    EvaluateAngles(tracks_.BikeTrack(1), a, b, c);
}

void MotionFile::EvaluateAngles(std::span<const MotionTriple> track, float& a, float& b,
                                float& c) const
{
    const std::array<float, 3> angles =
        Interpolate(track, static_cast<int32_t>(frameIndex_), frameFraction_);
    a = angles[0] * kAngleUnit;
    b = angles[1] * kAngleUnit;
    c = angles[2] * kAngleUnit;
    if (mirrored_ != 0)
    {
        b = -b;
        c = -c;
    }
}

void RotateXZ(const float (&angles)[3], float& a, float& b)
{
    const float sine = sim::Sin(angles[2]);
    const float cosine = sim::Cos(angles[2]);
    const float turnedA = a * cosine + b * sine;
    const float turnedB = b * cosine - a * sine;
    a = turnedA;
    b = turnedB;
}
