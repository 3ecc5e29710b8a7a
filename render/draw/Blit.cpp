#include "render/draw/Blit.h"

#include <algorithm>
#include <cstring>

namespace render
{
namespace
{

// A rectangle in 64 bits, so that positions plus sizes from the caller cannot overflow.
struct Span64
{
    int64_t left;
    int64_t top;
    int64_t right;
    int64_t bottom;
};

Span64 Cut(const Span64& a, const Rect& b)
{
    return {std::max<int64_t>(a.left, b.left), std::max<int64_t>(a.top, b.top),
            std::min<int64_t>(a.right, b.right), std::min<int64_t>(a.bottom, b.bottom)};
}

void CopyRowKeyed(uint8_t* destination, const uint8_t* source, int32_t pixels)
{
    for (int32_t x = 0; x < pixels; ++x)
    {
        uint16_t pixel = 0;
        std::memcpy(&pixel, source + 2 * x, sizeof pixel);
        if (pixel != 0)
        {
            std::memcpy(destination + 2 * x, &pixel, sizeof pixel);
        }
    }
}

}  // namespace

void BlitPixels(const PixelSurface& source, int32_t sx, int32_t sy, const PixelSurface& destination,
                int32_t dx, int32_t dy, int32_t width, int32_t height, const Rect& clip,
                BlitMode mode)
{
    if (width <= 0 || height <= 0)
    {
        return;
    }
    // Source position = destination position + offset.
    const int64_t offsetX = int64_t{sx} - dx;
    const int64_t offsetY = int64_t{sy} - dy;
    Span64 visible{dx, dy, int64_t{dx} + width, int64_t{dy} + height};
    visible = Cut(Cut(visible, clip), destination.Bounds());
    visible = {std::max(visible.left, -offsetX), std::max(visible.top, -offsetY),
               std::min(visible.right, source.width - offsetX),
               std::min(visible.bottom, source.height - offsetY)};
    if (visible.right <= visible.left || visible.bottom <= visible.top)
    {
        return;
    }
    const auto pixels = static_cast<int32_t>(visible.right - visible.left);
    for (int64_t y = visible.top; y < visible.bottom; ++y)
    {
        uint8_t* to =
            destination.Address(static_cast<int32_t>(visible.left), static_cast<int32_t>(y));
        const uint8_t* from = source.Address(static_cast<int32_t>(visible.left + offsetX),
                                             static_cast<int32_t>(y + offsetY));
        if (mode == BlitMode::Keyed)
        {
            CopyRowKeyed(to, from, pixels);
        }
        else
        {
            std::memmove(to, from, static_cast<size_t>(pixels) * 2);
        }
    }
}

void FillPixels(const PixelSurface& destination, int32_t x, int32_t y, int32_t width,
                int32_t height, const Rect& clip, uint16_t value)
{
    if (width <= 0 || height <= 0)
    {
        return;
    }
    const Span64 visible =
        Cut(Cut({x, y, int64_t{x} + width, int64_t{y} + height}, clip), destination.Bounds());
    if (visible.right <= visible.left || visible.bottom <= visible.top)
    {
        return;
    }
    const auto pixels = static_cast<int32_t>(visible.right - visible.left);
    for (int64_t row = visible.top; row < visible.bottom; ++row)
    {
        uint8_t* to =
            destination.Address(static_cast<int32_t>(visible.left), static_cast<int32_t>(row));
        for (int32_t column = 0; column < pixels; ++column)
        {
            std::memcpy(to + 2 * column, &value, sizeof value);
        }
    }
}

}  // namespace render
