#pragma once

// The menus' 2D drawing, each call repeated for every rectangle of the active repaint list
// (MenuClip.h). Text and filled rectangles also keep to the extra clip rectangle while it is
// on. Colours of fills and text are 0x00BBGGRR. Main thread only.

#include <cstdint>

#include "app/device/DirtyRectList.h"

struct GameFont;
struct Texture;

// Text alignments: the text starts, ends or is centred at x.
inline constexpr int32_t kAlignLeft = 1;
inline constexpr int32_t kAlignRight = 2;
inline constexpr int32_t kAlignCentre = 3;

// The font of the text that follows; null draws no text.
void SetTextFont(GameFont* font);

// A solid rectangle from (x1, y1) to (x2, y2), right and bottom exclusive.
void FillRectClipped(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

// Text in the current font with its own colours, or in one colour. Both return the text's
// width in pixels, also when nothing was drawn.
int32_t DrawTextClipped(int32_t x, int32_t y, const char* text, int32_t alignment);
int32_t DrawColorTextClipped(int32_t x, int32_t y, uint32_t colour, const char* text,
                             int32_t alignment);

// An antialiased line; the colour is 0xAARRGGBB.
void DrawLineClipped(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

// Part of a picture: width x height pixels from (sourceX, sourceY) to (x, y); a non-zero flag
// leaves the screen where the picture is black.
void DrawBitmapClipped(Texture* bitmap, int32_t sourceX, int32_t sourceY, int32_t x, int32_t y,
                       int32_t width, int32_t height, int32_t flag);

// Part of a texture, as fractions of its size.
struct TextureArea
{
    float u = 0.0f;
    float v = 0.0f;
    float du = 1.0f;
    float dv = 1.0f;
};

// The texture of the slot (-1: a black rectangle) stretched over the rectangle, with the alpha
// 0..255 and depth.
void DrawTextureRectClipped(int32_t texture, const ScreenRect& rect, const TextureArea& area,
                            int32_t alpha, float depth);
