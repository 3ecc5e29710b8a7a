#pragma once

// ".4co" circuit collision models: the tag "_4CO" and one chunk 6 of 56-byte triangle records,
// {u32 surface, f32 plane a, b, c, d (a x + b y + c z + d = 0), i32 neighbour across each edge
// as a triangle index (-1 = none), f32 (x, z) of the three corners}. The file holds the
// neighbours as byte offsets into the records, -1 for none.

#include <array>
#include <cstdint>
#include <vector>

namespace kit
{
struct TrackTriangle
{
    uint32_t surface = 0;
    std::array<float, 4> plane{};
    std::array<int32_t, 3> neighbours = {-1, -1, -1};
    std::array<float, 6> corners{};  // x0, z0, x1, z1, x2, z2
};

std::vector<uint8_t> WriteTrackCollisionFile(const std::vector<TrackTriangle>& triangles);
}  // namespace kit
