#include "render/draw/Bitmaps.h"

#include <cstring>
#include <optional>

#include "render/draw/BackBuffer.h"
#include "render/draw/Blit.h"
#include "render/draw/ScreenColour.h"

namespace render
{

void FillBitmap(Texture* picture)
{
    if (picture != nullptr && picture->pixels != nullptr && picture->stride > 0 &&
        picture->height > 0)
    {
        std::memset(picture->pixels, 0,
                    static_cast<size_t>(picture->stride) * static_cast<size_t>(picture->height));
    }
}

void CopyBitmap(Texture* destination, int32_t dx, int32_t dy, Texture* source, int32_t sx,
                int32_t sy, int32_t width, int32_t height)
{
    const std::optional<PixelSurface> to = SurfaceOf(destination);
    const std::optional<PixelSurface> from = SurfaceOf(source);
    if (to && from)
    {
        BlitPixels(*from, sx, sy, *to, dx, dy, width, height, to->Bounds(), BlitMode::Opaque);
    }
}

bool DrawBitmapRect(Screen& screen, const Rect& clip, const Texture* source, const BitmapBlit& blit,
                    const Texture* destination)
{
    const std::optional<PixelSurface> from = SurfaceOf(source);
    if (!from)
    {
        return false;
    }
    const std::optional<PixelSurface> to =
        destination != nullptr ? SurfaceOf(destination) : LockBackBuffer(screen);
    if (!to)
    {
        return false;
    }
    BlitPixels(*from, blit.sx, blit.sy, *to, blit.dx, blit.dy, blit.width, blit.height, clip,
               blit.keyed ? BlitMode::Keyed : BlitMode::Opaque);
    return true;
}

void FillSolidRect(Screen& screen, const Rect& clip, int32_t x, int32_t y, int32_t width,
                   int32_t height, uint32_t colour)
{
    if (const std::optional<PixelSurface> backBuffer = LockBackBuffer(screen))
    {
        FillPixels(*backBuffer, x, y, width, height, clip, ScreenColour(colour));
    }
}

}  // namespace render
