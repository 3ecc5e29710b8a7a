#pragma once

// The sixteen pose channels of a lap: which field of which of the bike's object nodes each one
// records and replays. Slot numbers are the bike record's object links; the bike's root node
// (slot 0) also takes the lap's ground position as its placement x and z.

#include <array>
#include <cstddef>
#include <cstdint>

#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/laps/LapRecord.h"

struct WorldObject;

enum class PoseField : uint8_t
{
    AngleA,  // pitch
    AngleB,  // heading
    AngleC,  // bank
    PlacementX,
    PlacementY,
    PlacementZ,
    PivotX,
    PivotY,
    PivotZ,
};

struct PoseChannel
{
    uint8_t slot;
    PoseField field;
};

inline constexpr std::array<PoseChannel, LapRecord::kPoseChannels> kPoseTargets{{
    {0, PoseField::AngleA},
    {0, PoseField::AngleB},
    {0, PoseField::PlacementY},  // the bike's height
    {1, PoseField::AngleA},
    {1, PoseField::PivotX},  // the axle the machine pitches about
    {1, PoseField::PivotY},
    {1, PoseField::PivotZ},
    {2, PoseField::AngleC},
    {5, PoseField::PlacementY},
    {5, PoseField::AngleA},
    {6, PoseField::PlacementY},
    {6, PoseField::AngleA},
    {7, PoseField::PlacementY},
    {7, PoseField::PlacementZ},
    {3, PoseField::AngleA},
    {3, PoseField::PivotY},  // the swing arm's pivot
}};
inline constexpr size_t kHeightChannel = 2;

inline ChannelKind KindOf(PoseField field)
{
    return field <= PoseField::AngleC ? ChannelKind::Angle : ChannelKind::Value;
}

inline constexpr size_t kBikeNodeSlots = 24;

// The bike's node in the slot (0..23, the order of the record's object links); null for a link
// not set.
WorldObject* BikeNode(const BikeRecord& bike, size_t slot);
RiderObjectLinks::Link& BikeLink(RiderObjectLinks& links, size_t slot);
float& PoseValue(WorldObject& node, PoseField field);
