#pragma once

// ".4dr" billboard lists: i32 count, then 40-byte records {f32 x, y, z (foot of the
// billboard), f32 half width, f32 height, 16 bytes not read (written 0), u32 texture number}.

#include <cstdint>
#include <vector>

namespace kit
{
struct Billboard
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float halfWidth = 1.0f;
    float height = 1.0f;
    uint32_t textureNumber = 0;
};

std::vector<uint8_t> WriteBillboardList(const std::vector<Billboard>& billboards);
}  // namespace kit
