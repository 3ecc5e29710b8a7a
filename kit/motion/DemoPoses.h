#pragma once

// Whole-body poses the demo's clips are keyed from: the 13 body parts' angles in degrees as
// (pitch, heading, bank), in clip order (hip, torso, thighs, lower legs, upper arms, lower
// arms, hands, helmet; left before right).

#include <array>
#include <cstdint>

#include "kit/motion/ClipDesign.h"

namespace kit
{
struct BodyPose
{
    std::array<Vec3, kMotionPartCount> parts;

    BodyPose& Set(int32_t part, Vec3 angles)
    {
        parts[static_cast<size_t>(part)] = angles;
        return *this;
    }
};

// Body parts by name, in clip order.
namespace body
{
inline constexpr int32_t kHip = 0;
inline constexpr int32_t kTorso = 1;
inline constexpr int32_t kThighLeft = 2;
inline constexpr int32_t kThighRight = 3;
inline constexpr int32_t kLowerLegLeft = 4;
inline constexpr int32_t kLowerLegRight = 5;
inline constexpr int32_t kUpperArmLeft = 6;
inline constexpr int32_t kUpperArmRight = 7;
inline constexpr int32_t kLowerArmLeft = 8;
inline constexpr int32_t kLowerArmRight = 9;
inline constexpr int32_t kHandLeft = 10;
inline constexpr int32_t kHandRight = 11;
inline constexpr int32_t kHelmet = 12;
}  // namespace body

BodyPose RidingPose();
BodyPose StandingPose();
BodyPose LyingPose();

// A key of the whole body at a frame: the hip at root, every part in the pose.
void KeyPose(ClipDesign& clip, int32_t frame, Vec3 root, const BodyPose& pose);
}  // namespace kit
