#pragma once

// 16-bit pixel rows in memory, as the 2D routines read and write them: the locked back buffer,
// a picture, or a buffer the caller locked. Pixels are host-order RGB 5-6-5 or ARGB 4-4-4-4
// words; rows need not be aligned, so pixels are loaded and stored byte-wise.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#include "render/RenderApi.h"

namespace render
{

// Left and top inclusive, right and bottom exclusive.
struct Rect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
};

inline Rect Intersect(const Rect& a, const Rect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

struct PixelSurface
{
    // The size of a buffer the caller locked, whose extent is not known: only the clip
    // rectangle bounds what is written into it.
    static constexpr int32_t kUnbounded = std::numeric_limits<int32_t>::max();

    uint8_t* pixels = nullptr;
    int32_t stride = 0;  // bytes from one row to the next
    int32_t width = 0;
    int32_t height = 0;

    Rect Bounds() const { return {0, 0, width, height}; }
    uint8_t* Address(int32_t x, int32_t y) const
    {
        return pixels + static_cast<int64_t>(y) * stride + static_cast<int64_t>(x) * 2;
    }
    uint16_t At(int32_t x, int32_t y) const
    {
        uint16_t pixel = 0;
        std::memcpy(&pixel, Address(x, y), sizeof pixel);
        return pixel;
    }
    void Set(int32_t x, int32_t y, uint16_t pixel) const
    {
        std::memcpy(Address(x, y), &pixel, sizeof pixel);
    }
};

// The picture's pixels when it is a 16-bit picture with memory for all its rows.
std::optional<PixelSurface> SurfaceOf(const Texture* picture);

// A buffer the caller locked, when it has an address and a stride of at least a pixel.
inline std::optional<PixelSurface> SurfaceOf(const LfbInfo& locked)
{
    if (locked.address == nullptr || locked.stride < 2)
    {
        return std::nullopt;
    }
    return PixelSurface{static_cast<uint8_t*>(locked.address), locked.stride,
                        PixelSurface::kUnbounded, PixelSurface::kUnbounded};
}

}  // namespace render
