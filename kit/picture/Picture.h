#pragma once

// Pictures as the kit's writers take them: top row first, no row padding.

#include <array>
#include <cstdint>
#include <vector>

namespace kit
{

// Four bytes a pixel: red, green, blue, alpha.
struct RgbaPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// One palette index a pixel; colours 0x00RRGGBB.
struct IndexedPicture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> indices;
    std::array<uint32_t, 256> palette{};
};

}  // namespace kit
