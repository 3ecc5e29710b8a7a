#include "kit/motion/ClipDesign.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string_view>

#include "core/util/MathUtils.h"
#include "view/motion/MotionFile.h"

namespace kit
{
namespace
{
constexpr float kPositionSteps = 64.0f;
constexpr float kAngleStepsPerDegree = 8192.0f / 360.0f;

int16_t Steps(float value, float stepsPerUnit)
{
    return static_cast<int16_t>(std::lround(value * stepsPerUnit));
}

// The value moved to the nearest one a whole number of steps per frame away from the last.
int16_t Snapped(int16_t last, int16_t wanted, int32_t frames)
{
    const int32_t perFrame = static_cast<int32_t>(
        std::lround(static_cast<double>(wanted - last) / static_cast<double>(frames)));
    return static_cast<int16_t>(last + perFrame * frames);
}
}  // namespace

ClipDesign::ClipDesign(int32_t frameCount) : frameCount_(frameCount)
{
    assert(frameCount >= 1 && frameCount <= kMaxMotionFrames);
}

ClipDesign& ClipDesign::Hip(int32_t frame, Vec3 position, Vec3 angles)
{
    AddKey(0, frame, position, angles);
    return *this;
}

ClipDesign& ClipDesign::Part(int32_t part, int32_t frame, Vec3 angles)
{
    assert(part > 0 && part < kMotionPartCount);
    AddKey(part, frame, {}, angles);
    return *this;
}

ClipDesign& ClipDesign::Bike(int32_t frame, Vec3 position, Vec3 angles)
{
    AddKey(kBikeObject, frame, position, angles);
    return *this;
}

void ClipDesign::AddKey(int32_t object, int32_t frame, Vec3 position, Vec3 angles)
{
    std::vector<SceneObjectKey>& keys = objects_[static_cast<size_t>(object)];
    assert(frame >= 0 && frame < frameCount_ && (keys.empty() || frame > keys.back().frame));
    SceneObjectKey key{
        frame,
        {Steps(position.x, kPositionSteps), Steps(position.y, kPositionSteps),
         Steps(position.z, kPositionSteps)},
        {Steps(angles.x, kAngleStepsPerDegree), Steps(angles.y, kAngleStepsPerDegree),
         Steps(angles.z, kAngleStepsPerDegree)}};
    if (keys.empty() && frame > 0)
    {
        keys.push_back({0, key.position, key.angles});
    }
    if (!keys.empty())
    {
        const SceneObjectKey& last = keys.back();
        const int32_t frames = frame - last.frame;
        for (size_t c = 0; c < 3; ++c)
        {
            key.position[c] = Snapped(last.position[c], key.position[c], frames);
            key.angles[c] = Snapped(last.angles[c], key.angles[c], frames);
        }
    }
    keys.push_back(key);
}

std::vector<SceneObject> ClipDesign::SceneObjects() const
{
    std::vector<SceneObject> objects;
    for (size_t object = 0; object < objects_.size(); ++object)
    {
        const std::string_view name =
            object < kMotionPartNames.size() ? kMotionPartNames[object] : kMotionBikeName;
        SceneObject scene{"Objects/" + std::string(name) + ".lwo", objects_[object]};
        if (scene.keys.empty())
        {
            scene.keys.push_back({});
        }
        objects.push_back(std::move(scene));
    }
    return objects;
}

std::vector<MotionTriple> ClipDesign::Expand(int32_t object, bool positions) const
{
    const std::vector<SceneObjectKey>& keys = objects_[static_cast<size_t>(object)];
    std::vector<MotionTriple> slots(static_cast<size_t>(frameCount_), MotionTriple{});
    const auto valueOf = [positions](const SceneObjectKey& key)
    { return positions ? key.position : key.angles; };
    for (size_t k = 0; k < keys.size(); ++k)
    {
        const MotionTriple from = valueOf(keys[k]);
        const bool last = k + 1 == keys.size();
        const int32_t end = last ? frameCount_ : keys[k + 1].frame;
        const MotionTriple to = last ? from : valueOf(keys[k + 1]);
        const int32_t frames = end - keys[k].frame;
        for (int32_t frame = keys[k].frame; frame < end; ++frame)
        {
            MotionTriple& slot = slots[static_cast<size_t>(frame)];
            for (size_t c = 0; c < 3; ++c)
            {
                const int32_t perFrame = last ? 0 : (to[c] - from[c]) / frames;
                slot[c] = static_cast<int16_t>(from[c] + perFrame * (frame - keys[k].frame));
            }
        }
    }
    return slots;
}

ClipSlots ClipDesign::Slots(float rate) const
{
    ClipSlots clip;
    clip.root = Expand(0, true);
    for (int32_t part = 0; part < kMotionPartCount; ++part)
    {
        clip.parts[static_cast<size_t>(part)] = Expand(part, false);
    }
    clip.bikePositions = Expand(kBikeObject, true);
    clip.bikeAngles = Expand(kBikeObject, false);

    // The root's ground speed over the first two frame steps.
    const int32_t steps = std::min(frameCount_, 3) - 1;
    if (steps > 0)
    {
        float sumX = 0.0f;
        float sumZ = 0.0f;
        for (size_t k = 0; k < static_cast<size_t>(steps); ++k)
        {
            sumX += std::fabs(static_cast<float>(clip.root[k + 1][0] - clip.root[k][0]) /
                              kPositionSteps);
            sumZ += std::fabs(static_cast<float>(clip.root[k + 1][2] - clip.root[k][2]) /
                              kPositionSteps);
        }
        clip.speed = SqrtFloat(sumX * sumX + sumZ * sumZ) * rate / static_cast<float>(steps);
    }
    return clip;
}
}  // namespace kit
