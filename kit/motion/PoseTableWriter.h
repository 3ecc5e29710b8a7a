#pragma once

// The riders' pose table "Motions/Motions.MDF": exactly 1800 bytes, ten rows of 180 bytes
// without a header. A row holds the hip node's placement (three f32), then thirteen joints of
// three i32 angles in 16384 per turn as (heading, pitch, bank), then three unused words.
// Rows 0-4 are the riding poses at lean steps 0-4, rows 5-9 the braking poses at the same
// steps.

#include <array>
#include <cstdint>
#include <vector>

namespace kit
{
struct PoseRow
{
    std::array<float, 3> hip{};
    std::array<std::array<int32_t, 3>, 13> joints{};  // joint 1 first
};

using PoseTable = std::array<PoseRow, 10>;

std::vector<uint8_t> WritePoseTable(const PoseTable& table);
}  // namespace kit
