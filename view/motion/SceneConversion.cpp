// The conversion of a motion scene (".lws") into a clip's tracks and its cache (".bmo").

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/files/FileSystem.h"
#include "core/util/MathUtils.h"
#include "core/util/Message.h"
#include "view/motion/KeyFill.h"
#include "view/motion/MotionFile.h"

namespace
{
constexpr std::string_view kObjectKeyword = "LoadObject";
constexpr double kPositionSteps = 64.0;             // per unit
constexpr double kAngleStepsPerDegree = 22.755556;  // 8192 per turn

// Truncated toward zero; values beyond the i16 range saturate, and what is no number is 0.
int16_t StoredValue(double value)
{
    if (std::isnan(value))
    {
        return 0;
    }
    return static_cast<int16_t>(std::clamp(value, double{std::numeric_limits<int16_t>::min()},
                                           double{std::numeric_limits<int16_t>::max()}));
}

MotionTriple StoredPosition(const SceneKey& key)
{
    return {StoredValue(key.position[0] * kPositionSteps),
            StoredValue(key.position[1] * kPositionSteps),
            StoredValue(key.position[2] * kPositionSteps)};
}

MotionTriple StoredAngles(const SceneKey& key)
{
    return {StoredValue(key.pitch * kAngleStepsPerDegree),
            StoredValue(key.heading * kAngleStepsPerDegree),
            StoredValue(key.bank * kAngleStepsPerDegree)};
}

}  // namespace

bool MotionFile::ReadSceneText(std::string_view name)
{
    return scene_.Load(name);
}

bool MotionFile::ReadFrameRange()
{
    const std::optional<SceneFrameRange> range = scene_.ReadFrameRange();
    if (!range)
    {
        return false;
    }
    firstFrame_ = range->first;
    lastFrame_ = range->last;
    tracks_ = MotionTracks::Zeroed(range->FrameCount());
    return true;
}

int32_t MotionFile::FindLine(int32_t fromLine, std::string_view keyword) const
{
    return scene_.FindLine(fromLine, keyword);
}

bool MotionFile::ReadObjectKeys(std::string_view objectName)
{
    const auto part = std::find(kMotionPartNames.begin(), kMotionPartNames.end(), objectName);
    const bool bike = objectName == kMotionBikeName;
    if (!IsLoaded() || (part == kMotionPartNames.end() && !bike))
    {
        return false;
    }
    const int32_t line = scene_.FindObjectLine(kObjectKeyword, objectName);
    if (line < 0)
    {
        return false;
    }
    const std::vector<SceneKey> keys = scene_.ReadObjectKeys(line);
    const int32_t frames = tracks_.frameCount;
    if (bike)
    {
        FillKeyedTrack(tracks_.BikeTrack(0), keys, StoredPosition, firstFrame_, frames);
        FillKeyedTrack(tracks_.BikeTrack(1), keys, StoredAngles, firstFrame_, frames);
        return true;
    }
    const auto index = static_cast<int32_t>(part - kMotionPartNames.begin());
    if (index == 0)
    {
        FillKeyedTrack(tracks_.RiderTrack(0), keys, StoredPosition, firstFrame_, frames);
    }
    FillKeyedTrack(tracks_.RiderTrack(1 + index), keys, StoredAngles, firstFrame_, frames);
    return true;
}

// Over the first two frame steps (one for a two-frame clip, none for a single frame).
float MotionFile::ScaledRootSpeed() const
{
    const int32_t steps = std::min(tracks_.frameCount, 3) - 1;
    if (steps <= 0)
    {
        return 0.0f;
    }
    std::span<const MotionTriple> root = tracks_.RiderTrack(0);
    float sumX = 0.0f;
    float sumZ = 0.0f;
    for (size_t k = 0; k < static_cast<size_t>(steps); ++k)
    {
        sumX += std::fabs(static_cast<float>(root[k + 1][0]) * kPositionUnit -
                          static_cast<float>(root[k][0]) * kPositionUnit);
        sumZ += std::fabs(static_cast<float>(root[k + 1][2]) * kPositionUnit -
                          static_cast<float>(root[k][2]) * kPositionUnit);
    }
    return SqrtFloat(sumX * sumX + sumZ * sumZ) * rate_ / static_cast<float>(steps);
}

bool MotionFile::ConvertScene(std::string_view name)
{
    if (!ReadSceneText(name))
    {
        return false;
    }
    if (!ReadFrameRange())
    {
        // A scene without frames is no scene.
        Clear();
        ReportMissingScene(name);
        return false;
    }
    for (const std::string_view part : kMotionPartNames)
    {
        ReadObjectKeys(part);
    }
    tracks_.speed = ScaledRootSpeed();
    ReadObjectKeys(kMotionBikeName);
    scene_.Clear();

    const std::vector<uint8_t> bytes = EncodeMotionTracks(tracks_);
    const std::string cacheName = std::string(name) + ".bmo";
    const bool written = files::ReplaceAtomically(cacheName, bytes);
    if (!written)
    {
        ShowMessage("MotionFile " + cacheName + " not created");
    }
    // The clip plays as it will when read from the cache.
    TakeTracks(std::move(tracks_));
    return written;
}
