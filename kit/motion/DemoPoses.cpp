#include "kit/motion/DemoPoses.h"

namespace kit
{
using namespace body;

BodyPose RidingPose()
{
    BodyPose pose;
    pose.Set(kHip, {15.0f, 0.0f, 0.0f})
        .Set(kTorso, {30.0f, 0.0f, 0.0f})
        .Set(kThighLeft, {-70.0f, 0.0f, -8.0f})
        .Set(kThighRight, {-70.0f, 0.0f, 8.0f})
        .Set(kLowerLegLeft, {110.0f, 0.0f, 0.0f})
        .Set(kLowerLegRight, {110.0f, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {-55.0f, 0.0f, -10.0f})
        .Set(kUpperArmRight, {-55.0f, 0.0f, 10.0f})
        .Set(kLowerArmLeft, {35.0f, 0.0f, 0.0f})
        .Set(kLowerArmRight, {35.0f, 0.0f, 0.0f})
        .Set(kHelmet, {-25.0f, 0.0f, 0.0f});
    return pose;
}

BodyPose StandingPose()
{
    BodyPose pose;
    pose.Set(kTorso, {5.0f, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {0.0f, 0.0f, -6.0f})
        .Set(kUpperArmRight, {0.0f, 0.0f, 6.0f})
        .Set(kLowerArmLeft, {10.0f, 0.0f, 0.0f})
        .Set(kLowerArmRight, {10.0f, 0.0f, 0.0f});
    return pose;
}

BodyPose LyingPose()
{
    BodyPose pose;
    pose.Set(kHip, {0.0f, 0.0f, 90.0f})
        .Set(kTorso, {0.0f, 0.0f, 10.0f})
        .Set(kThighLeft, {-20.0f, 0.0f, 0.0f})
        .Set(kThighRight, {-35.0f, 0.0f, 0.0f})
        .Set(kLowerLegLeft, {30.0f, 0.0f, 0.0f})
        .Set(kLowerLegRight, {45.0f, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {-90.0f, 0.0f, -40.0f})
        .Set(kUpperArmRight, {-90.0f, 0.0f, 40.0f})
        .Set(kLowerArmLeft, {20.0f, 0.0f, 0.0f})
        .Set(kLowerArmRight, {20.0f, 0.0f, 0.0f})
        .Set(kHelmet, {0.0f, 0.0f, -10.0f});
    return pose;
}

void KeyPose(ClipDesign& clip, int32_t frame, Vec3 root, const BodyPose& pose)
{
    clip.Hip(frame, root, pose.parts[kHip]);
    for (int32_t part = 1; part < kMotionPartCount; ++part)
    {
        clip.Part(part, frame, pose.parts[static_cast<size_t>(part)]);
    }
}
}  // namespace kit
