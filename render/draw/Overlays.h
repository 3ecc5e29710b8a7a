#pragma once

// Rectangles drawn by the board over the 3D picture: black translucent bands, textured
// rectangles and additive, tinted flares. They are cut to the clip rectangle in software, with
// the texture coordinates moved along, so that the visible texels stay where they were.

#include <cstdint>

#include "render/draw/PixelSurface.h"

namespace render
{

class Screen;
class TextureStore;

struct OverlayRect
{
    int32_t texture = -1;  // table slot; negative: untextured black
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    // Texels u to u + du across and v to v + dv down.
    int32_t u = 0;
    int32_t v = 0;
    int32_t du = 0;
    int32_t dv = 0;
    int32_t alpha = 255;  // 0 transparent to 255 opaque; multiplies a texture's own alpha
};

// Blended by alpha at the depth W = depth (1 when not positive).
void DrawRect(Screen& screen, const TextureStore& textures, const Rect& clip,
              const OverlayRect& rect, float depth);

// Added to what is there, each texel tinted by red, green and blue (each taken modulo 256).
void DrawFlare(Screen& screen, const TextureStore& textures, const Rect& clip,
               const OverlayRect& rect, int32_t red, int32_t green, int32_t blue);

}  // namespace render
