#pragma once

// The pixels of a glyph block in a font picture, visited by the text routines. Columns may run
// past the glyph's cell into the next one; pixels beyond the picture count as empty, as do
// pixels of 0.

#include <algorithm>
#include <cstdint>

#include "render/draw/PixelSurface.h"

namespace render
{

// Calls visit(column, row, pixel) for every non-zero pixel of the width x height block of
// glyphs whose top-left corner is (sourceX, sourceY); column and row count from that corner.
template <typename Visit>
void ForEachGlyphPixel(const PixelSurface& glyphs, int64_t sourceX, int32_t sourceY, int32_t width,
                       int32_t height, Visit visit)
{
    const int64_t columns = std::min<int64_t>(width, glyphs.width - sourceX);
    const int32_t rows = std::min(height, glyphs.height - sourceY);
    for (int32_t row = 0; row < rows; ++row)
    {
        for (int32_t column = 0; column < columns; ++column)
        {
            const uint16_t pixel = glyphs.At(static_cast<int32_t>(sourceX + column), sourceY + row);
            if (pixel != 0)
            {
                visit(column, row, pixel);
            }
        }
    }
}

}  // namespace render
