#include "render/draw/PixelSurface.h"

namespace render
{

std::optional<PixelSurface> SurfaceOf(const Texture* picture)
{
    if (picture == nullptr || picture->pixels == nullptr ||
        picture->format == kTextureFormatPalette8 || picture->width < 1 || picture->height < 1 ||
        picture->stride / 2 < picture->width)
    {
        return std::nullopt;
    }
    return PixelSurface{picture->pixels, picture->stride, picture->width, picture->height};
}

}  // namespace render
