#pragma once

// Pixel blocks copied and filled in 16-bit pixel rows, cut to a clip rectangle.

#include <cstdint>

#include "render/draw/PixelSurface.h"

namespace render
{

enum class BlitMode
{
    Opaque,  // every pixel is copied
    Keyed,   // source pixels of 0 leave the destination pixel
};

// Copies the width x height block of source at (sx, sy) to destination at (dx, dy), cut to the
// clip rectangle (in destination coordinates) and to both surfaces: pixels that would come from
// outside the source or land outside the destination are left out, and the rest keep their
// places. Rows are copied from the top down.
void BlitPixels(const PixelSurface& source, int32_t sx, int32_t sy, const PixelSurface& destination,
                int32_t dx, int32_t dy, int32_t width, int32_t height, const Rect& clip,
                BlitMode mode);

// Sets the pixels of the width x height block at (x, y) that lie inside the clip rectangle
// and the destination.
void FillPixels(const PixelSurface& destination, int32_t x, int32_t y, int32_t width,
                int32_t height, const Rect& clip, uint16_t value);

}  // namespace render
