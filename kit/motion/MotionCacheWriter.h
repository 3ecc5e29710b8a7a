#pragma once

// Motion clip caches (".bmo") as the game reads them: the frame count, the rider block (tag 1,
// its size, the clip's speed, the root positions and the 13 body parts' angles), the bike
// block (tag 2, its size, positions and angles) and the end mark. Every track has one slot
// more than the clip has frames; that last slot is written as zero.

#include <array>
#include <cstdint>
#include <vector>

#include "view/motion/MotionTracks.h"

namespace kit
{
// One slot per frame of every track, in the steps the game stores.
struct ClipSlots
{
    float speed = 0.0f;  // units per second at the clip's rate
    std::vector<MotionTriple> root;
    std::array<std::vector<MotionTriple>, kMotionPartCount> parts;
    std::vector<MotionTriple> bikePositions;
    std::vector<MotionTriple> bikeAngles;
};

// The tracks must all be as long as the root's, and it at least one frame.
std::vector<uint8_t> WriteMotionCache(const ClipSlots& clip);
}  // namespace kit
