#include "kit/motion/DemoMotions.h"

#include "kit/motion/MotionCacheWriter.h"
#include "kit/motion/SceneWriter.h"
#include "view/rider/RiderMotionSet.h"
#include "view/rider/RiderPoseTable.h"

namespace kit
{
namespace
{
// Pose table angles, 16384 per turn.
constexpr int32_t Steps(float degrees)
{
    return static_cast<int32_t>(degrees * 16384.0f / 360.0f);
}

// The joint of each part code is code + 1: 0 hip, 1 and 2 the left thigh and lower leg, 3 and
// 4 the right ones, 5 torso, 6 helmet, 7 to 9 the left arm, 10 to 12 the right arm.
PoseRow DemoPoseRow(int32_t leanStep, bool braking)
{
    const auto lean = static_cast<float>(leanStep);
    PoseRow row;
    row.hip = {0.06f * lean, 0.7f - 0.02f * lean, braking ? -0.08f : 0.0f};
    const auto joint = [&row](int32_t code, float heading, float pitch, float bank) {
        row.joints[static_cast<size_t>(code)] = {Steps(heading), Steps(pitch), Steps(bank)};
    };
    joint(0, 0.0f, braking ? 5.0f : 15.0f, 9.0f * lean);
    joint(1, 0.0f, -70.0f, -8.0f);
    joint(2, 0.0f, 110.0f, 0.0f);
    joint(3, 0.0f, -70.0f, 8.0f + 6.0f * lean);  // the inside knee goes out
    joint(4, 0.0f, 110.0f, 0.0f);
    joint(5, 0.0f, braking ? 12.0f : 30.0f, 6.0f * lean);
    joint(6, 0.0f, -25.0f, -6.0f * lean);  // the head stays level
    joint(7, 0.0f, braking ? -40.0f : -55.0f, -10.0f);
    joint(8, 0.0f, braking ? 20.0f : 35.0f, 0.0f);
    joint(9, 0.0f, 0.0f, 0.0f);
    joint(10, 0.0f, braking ? -40.0f : -55.0f, 10.0f);
    joint(11, 0.0f, braking ? 20.0f : 35.0f, 0.0f);
    joint(12, 0.0f, 0.0f, 0.0f);
    return row;
}
}  // namespace

PoseTable DemoPoseTable()
{
    PoseTable table;
    for (int32_t step = 0; step < 5; ++step)
    {
        table[static_cast<size_t>(step)] = DemoPoseRow(step, false);
        table[static_cast<size_t>(step + 5)] = DemoPoseRow(step, true);
    }
    return table;
}

bool AddDemoMotions(CprWriter& menuArchive, std::string& error)
{
    for (uint32_t id = 0; id < kRiderClipCount; ++id)
    {
        const RiderClip& clip = kRiderClips[id];
        const std::optional<ClipDesign> design = DemoRiderClip(id);
        if (clip.file.empty() || !design)
        {
            continue;
        }
        const std::string name(clip.file);
        if (!menuArchive.Add(name + ".bmo", WriteMotionCache(design->Slots(clip.rate)),
                             MemberStorage::Smaller, error) ||
            !menuArchive.Add(name + ".lws",
                             WriteMotionScene(0, design->FrameCount() - 1, design->SceneObjects()),
                             MemberStorage::Smaller, error))
        {
            return false;
        }
    }
    return menuArchive.Add(RiderPoseTable::kFileName, WritePoseTable(DemoPoseTable()),
                           MemberStorage::Stored, error);
}
}  // namespace kit
