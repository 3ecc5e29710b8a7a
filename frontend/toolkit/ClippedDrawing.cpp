#include "frontend/toolkit/ClippedDrawing.h"

#include "app/device/RenderDevice.h"
#include "frontend/toolkit/MenuClip.h"

namespace
{
// What the menus draw their lines with.
constexpr float kLineDepth = 90.0f;
constexpr int32_t kLineAntialiased = 1;
}  // namespace

void SetTextFont(GameFont* font)
{
    g_renderDevice.SetDrawTextVars(nullptr, font);
}

void FillRectClipped(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)
{
    ForEachDirtyRect(ExtraClip::Honoured,
                     [&] { g_renderDevice.FillSolidRect(x1, y1, x2 - x1, y2 - y1, colour); });
}

int32_t DrawTextClipped(int32_t x, int32_t y, const char* text, int32_t alignment)
{
    ForEachDirtyRect(ExtraClip::Honoured,
                     [&] { g_renderDevice.DrawTextScreen(x, y, text, alignment); });
    return g_renderDevice.StrLen(text);
}

int32_t DrawColorTextClipped(int32_t x, int32_t y, uint32_t colour, const char* text,
                             int32_t alignment)
{
    ForEachDirtyRect(ExtraClip::Honoured,
                     [&] { g_renderDevice.DrawColorTextScreen(x, y, colour, text, alignment); });
    return g_renderDevice.StrLen(text);
}

void DrawLineClipped(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)
{
    ForEachDirtyRect(
        ExtraClip::Ignored,
        [&] { g_renderDevice.DrawLine(x1, y1, x2, y2, colour, kLineDepth, kLineAntialiased); });
}

void DrawBitmapClipped(Texture* bitmap, int32_t sourceX, int32_t sourceY, int32_t x, int32_t y,
                       int32_t width, int32_t height, int32_t flag)
{
    ForEachDirtyRect(ExtraClip::Ignored,
                     [&] {
                         g_renderDevice.DrawBitmapRect(bitmap, sourceX, sourceY, x, y, width,
                                                       height, flag, nullptr);
                     });
}

void DrawTextureRectClipped(int32_t texture, const ScreenRect& rect, const TextureArea& area,
                            int32_t alpha, float depth)
{
    ForEachDirtyRect(ExtraClip::Ignored,
                     [&]
                     {
                         g_renderDevice.DrawRect(texture, rect.left, rect.top,
                                                 rect.right - rect.left, rect.bottom - rect.top,
                                                 area.u, area.v, area.du, area.dv, alpha, depth);
                     });
}
