#pragma once

// Pictures cleared and copied, and bitmaps and solid rectangles drawn straight into the back
// buffer (or into a picture) through the frame-buffer lock, cut to the clip rectangle.

#include <cstdint>

#include "render/RenderApi.h"
#include "render/draw/PixelSurface.h"

namespace render
{

class Screen;

// Every byte of the picture's rows becomes 0, row padding included.
void FillBitmap(Texture* picture);

// Copies a block between 16-bit pictures, cut to both pictures.
void CopyBitmap(Texture* destination, int32_t dx, int32_t dy, Texture* source, int32_t sx,
                int32_t sy, int32_t width, int32_t height);

struct BitmapBlit
{
    int32_t sx = 0;
    int32_t sy = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool keyed = false;  // source pixels of 0 are left out
};

// Into the destination picture, or the back buffer when it is null, cut to the clip rectangle
// and both surfaces. False when the source or destination is not a 16-bit picture, or the back
// buffer cannot be locked.
bool DrawBitmapRect(Screen& screen, const Rect& clip, const Texture* source, const BitmapBlit& blit,
                    const Texture* destination);

// The back buffer's pixels in the block, cut to the clip rectangle, get the colour (0x00BBGGRR).
void FillSolidRect(Screen& screen, const Rect& clip, int32_t x, int32_t y, int32_t width,
                   int32_t height, uint32_t colour);

}  // namespace render
