#pragma once

// The clips of the riders' body motion, by clip id: falls and slides, the foot put down when
// stopping and starting, cheering and gestures, and the pit-stop scenes. Loaded before each
// race (none loops); a clip that fails to load stays empty and plays nothing. Ids 16, 17 and
// 32..39 have no clip.

#include <array>
#include <cstdint>
#include <string_view>

#include "view/motion/MotionFile.h"

// Clip flags beside kClipRootScaledByRate (which, on a fall, also picks the slide player).
inline constexpr uint32_t kClipFallPlayer = 0x2;  // on a fall: the plain fall player
inline constexpr uint32_t kClipDrivesBike = 0x4;  // the clip moves the bike too
inline constexpr uint32_t kClipFall = 0x8;        // the body leaves the bike

struct RiderClip
{
    std::string_view file;  // path without extension, Windows-1252; empty for no clip
    uint32_t flags;
    float rate;  // frames per second
};

inline constexpr size_t kRiderClipCount = 40;

namespace rider_clip
{
inline constexpr uint32_t kSwerve = 4;
inline constexpr uint32_t kStartFootUp = 10;   // the foot comes up as the bike gathers speed
inline constexpr uint32_t kStopFootDown = 12;  // the foot goes down as the bike stops
inline constexpr uint32_t kDismount = 13;
inline constexpr uint32_t kFirstPitStop = 18;  // three clips (two mechanics, the rider) each
inline constexpr uint32_t kBackwardFall = 30;
inline constexpr uint32_t kOverBarFall = 31;
}  // namespace rider_clip

extern const std::array<RiderClip, kRiderClipCount> kRiderClips;

using RiderMotionSet = std::array<MotionFile, kRiderClipCount>;

// The race's clip set.
extern RiderMotionSet g_riderMotionSet;

// Loads every clip of kRiderClips into the set from the menu archive.
void LoadRiderMotions(RiderMotionSet& set);
