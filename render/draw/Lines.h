#pragma once

// Lines drawn by the board in a constant colour, cut to the clip rectangle in software.

#include <cstdint>
#include <optional>

#include "render/draw/PixelSurface.h"

namespace render
{

class Screen;

struct LineEnds
{
    float x1, y1, x2, y2;
};

// The part of the line inside the clip rectangle, whose pixels are those from left to
// right - 1 and from top to bottom - 1; nothing when no part is. Lines that are not vertical
// come back ordered left to right, so that either direction draws the same pixels.
std::optional<LineEnds> ClipLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Rect& clip);

// colour is 0xAARRGGBB, an alpha of 0 counting as opaque; both ends lie at W = depth. The depth
// test passes always, and depth is written.
void DrawLine(Screen& screen, const Rect& clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
              uint32_t colour, float depth, bool antialiased);

}  // namespace render
