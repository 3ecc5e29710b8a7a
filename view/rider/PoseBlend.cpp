// The blend of a rider's pose from four rows of the pose table: integer angles in 16384 per
// turn, every difference taken the short way round, weights in 256ths.

#include <algorithm>
#include <numbers>

#include "core/world/WorldObject.h"
#include "view/rider/RiderPoseTable.h"

namespace
{
constexpr int32_t kSecondSet = 5;
constexpr int32_t kMaxPosedNodes = 12;
constexpr int32_t kPartCodeMask = 0xF;
constexpr int32_t kTwistedPart = 6;
constexpr int64_t kHalfTurn = 8192;
constexpr int64_t kTurn = 16384;
constexpr int64_t kAngleMask = 0x3FFC;  // a 14-bit angle with its two low bits clear
constexpr float kPoseAngleUnit = static_cast<float>(2.0 * std::numbers::pi / 16384.0);
constexpr float kWeightUnit = 1.0f / 256.0f;

enum JointAngle
{
    kHeading = 0,
    kPitch = 1,
    kBank = 2,
};

// The joint (1..13) each part code takes, leaning right and leaning left; codes 13-15 none.
constexpr int32_t kRightJoint[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
constexpr int32_t kLeftJoint[13] = {1, 4, 5, 2, 3, 6, 7, 11, 12, 13, 8, 9, 10};

int64_t ShortWay(int64_t from, int64_t to)
{
    int64_t difference = to - from;
    if (difference >= kHalfTurn)
    {
        difference -= kTurn;
    }
    else if (difference < -kHalfTurn)
    {
        difference += kTurn;
    }
    return difference;
}

int64_t Blend(int64_t from, int64_t to, int32_t weight)
{
    return from + ((ShortWay(from, to) * weight) >> 8);
}

struct BlendInput
{
    const PoseRows& rows;
    int32_t row;
    int32_t leanWeight;
    int32_t fadeWeight;
    bool rightSide;
    int32_t twist;
};

void PoseNode(const BlendInput& in, WorldObject& node)
{
    const int32_t code = static_cast<int32_t>(node.userValue) & kPartCodeMask;
    if (code >= 13)
    {
        return;
    }
    const size_t joint = static_cast<size_t>((in.rightSide ? kRightJoint : kLeftJoint)[code] - 1);
    const auto angleOf = [&](int32_t row, int angle) {
        return int64_t{in.rows[static_cast<size_t>(row)].joints[joint][static_cast<size_t>(angle)]};
    };
    int64_t values[3];
    for (int angle = 0; angle < 3; ++angle)
    {
        const int64_t first =
            Blend(angleOf(in.row, angle), angleOf(in.row + 1, angle), in.leanWeight);
        const int64_t second = Blend(angleOf(in.row + kSecondSet, angle),
                                     angleOf(in.row + kSecondSet + 1, angle), in.leanWeight);
        values[angle] = Blend(first, second, in.fadeWeight);
    }
    if (!in.rightSide)
    {
        values[kHeading] = -values[kHeading];
        values[kBank] = -values[kBank];
    }
    if (code == kTwistedPart)
    {
        const int64_t half = in.twist >> 1;
        values[kHeading] += half >> 1;
        values[kPitch] += (half < 0 ? -half : half) >> 2;
        values[kBank] -= half >> 1;
    }
    const auto radians = [](int64_t value)
    { return static_cast<float>(value & kAngleMask) * kPoseAngleUnit; };
    node.angles[0] = radians(values[kPitch]);
    node.angles[1] = radians(values[kHeading]);
    node.angles[2] = radians(values[kBank]);
}

// Depth first: the node, its children, then its next siblings, until the countdown ends.
void PoseSubtree(const BlendInput& in, WorldObject* node, int32_t& countdown)
{
    if (node == nullptr || countdown-- <= 0)
    {
        return;
    }
    PoseNode(in, *node);
    PoseSubtree(in, node->firstChild.get(), countdown);
    PoseSubtree(in, node->nextSibling.get(), countdown);
}
}  // namespace

void BlendPose(const PoseRows& rows, WorldObject& hip, int32_t row, int32_t leanWeight,
               int32_t fadeWeight, bool rightSide, int32_t twist)
{
    row = std::clamp(row, 0, kSecondSet - 2);
    const float lean = static_cast<float>(leanWeight) * kWeightUnit;
    const float fade = static_cast<float>(fadeWeight) * kWeightUnit;
    float placement[3];
    for (size_t axis = 0; axis < 3; ++axis)
    {
        const auto hipOf = [&](int32_t r) { return rows[static_cast<size_t>(r)].hip[axis]; };
        const float first = hipOf(row) + (hipOf(row + 1) - hipOf(row)) * lean;
        const float second = hipOf(row + kSecondSet) +
                             (hipOf(row + kSecondSet + 1) - hipOf(row + kSecondSet)) * lean;
        placement[axis] = first + (second - first) * fade;
    }
    hip.placement = {rightSide ? placement[0] : -placement[0], placement[1], placement[2]};

    const BlendInput in{rows, row, leanWeight, fadeWeight, rightSide, twist};
    int32_t countdown = kMaxPosedNodes;
    PoseSubtree(in, &hip, countdown);
}
