#include "race/laps/LapRecord.h"

#include <algorithm>
#include <cmath>

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/SimMath.h"
#include "race/laps/GhostPose.h"

namespace
{
constexpr int32_t kSolid = 256;
constexpr int32_t kHeldIndex = 100000;  // beyond any lap: the ghost waits at sample 0
constexpr uint32_t kGhostFlags = bike_flags::kInactive | bike_flags::kDown;
constexpr float kStepsPerSecond = 25.0f;

template <class Function>
void ForEachNode(const BikeRecord& ghost, Function&& function)
{
    for (size_t slot = 0; slot < kBikeNodeSlots; ++slot)
    {
        if (WorldObject* node = BikeNode(ghost, slot))
        {
            function(*node);
        }
    }
}

bool IsTranslucent(const BikeRecord& ghost)
{
    const WorldObject* root = BikeNode(ghost, 0);
    return root != nullptr && (root->flags & object_flags::kConstantColour) != 0;
}

// Fully visible only this far from the player's bike: 80 + 13.5 d squared.
int32_t DistanceAlpha(const BikeRecord& ghost, const BikeRecord& player, int32_t fade)
{
    const float dx = ghost.positionX - player.positionX;
    const float dz = ghost.positionZ - player.positionZ;
    const float limit = 13.5f * (dx * dx + dz * dz);
    if (!(limit < static_cast<float>(fade - 80)))
    {
        return fade;
    }
    return std::min(fade, 80 + static_cast<int32_t>(limit));
}
}  // namespace

void LapRecord::PlayGhost(BikeRecord& ghost, const BikeRecord& player, ChannelList& channels)
{
    if (sampleCount == 0)
    {
        // Nothing recorded to show: the ghost stays invisible.
        alpha = 0;
        if (!IsTranslucent(ghost))
        {
            MakeGhostTranslucent(ghost);
        }
        PoseGhost(ghost);
        ghost.flags = kGhostFlags;
        return;
    }
    const int32_t index = playIndex++;
    int32_t shown = index;
    if (index < ghostStart)
    {
        fade = fade < 251 ? fade + 4 : kSolid;
    }
    else if (index < sampleCount)
    {
        fade = (sampleCount - index) * 8;
    }
    else
    {
        shown = 0;
        fade = fade >= 252 ? kSolid : fade >= 0 ? fade + 3 : 0;
    }

    alpha = DistanceAlpha(ghost, player, fade);
    if (alpha < kSolid)
    {
        if (!IsTranslucent(ghost))
        {
            MakeGhostTranslucent(ghost);
        }
        PoseGhost(ghost);
    }
    else if (IsTranslucent(ghost))
    {
        MakeGhostSolid(ghost);
    }

    const size_t i = static_cast<size_t>(shown);
    for (size_t channel = 0; channel < kPoseChannels; ++channel)
    {
        const PoseChannel& target = kPoseTargets[channel];
        if (WorldObject* node = BikeNode(ghost, target.slot))
        {
            channels.Set(KindOf(target.field), &PoseValue(*node, target.field), pose[channel][i]);
        }
    }
    if (WorldObject* root = BikeNode(ghost, 0))
    {
        channels.Set(ChannelKind::Value, &root->placement.x, groundX[i]);
        channels.Set(ChannelKind::Value, &root->placement.z, groundZ[i]);
    }

    const float height = pose[kHeightChannel][i];
    const float dx = groundX[i] - ghost.positionX;
    const float dy = height - ghost.groundHeight;
    const float dz = groundZ[i] - ghost.positionZ;
    const float oldSpeed = ghost.speed;
    ghost.positionX = groundX[i];
    ghost.groundHeight = height;
    ghost.positionZ = groundZ[i];
    ghost.speed = kStepsPerSecond * sim::Sqrt(dx * dx + dy * dy + dz * dz);
    ghost.acceleration = kStepsPerSecond * (oldSpeed - ghost.speed);
    ghost.flags = kGhostFlags;
}

void LapRecord::RestartGhost(bool hold)
{
    if (playIndex < sampleCount)
    {
        alpha = 0;
    }
    playIndex = hold ? kHeldIndex : 0;
}

void LapRecord::MakeGhostTranslucent(BikeRecord& ghost)
{
    ForEachNode(ghost, [](WorldObject& node) { node.flags |= object_flags::kConstantColour; });
}

void LapRecord::MakeGhostSolid(BikeRecord& ghost)
{
    ForEachNode(
        ghost, [](WorldObject& node)
        { node.flags = static_cast<uint16_t>(node.flags & ~object_flags::kConstantColour); });
}

void LapRecord::PoseGhost(BikeRecord& ghost) const
{
    // The translucency is the alpha byte of the node's constant colour.
    const uint32_t level = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
    ForEachNode(ghost, [level](WorldObject& node)
                { node.colour = (node.colour & 0x00FFFFFFu) | level << 24; });
}
