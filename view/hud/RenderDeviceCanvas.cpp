#include "view/hud/RenderDeviceCanvas.h"

#include "app/device/RenderDevice.h"
#include "view/hud/HudResources.h"

void RenderDeviceCanvas::SetFont(HudFont font)
{
    GameFont* const gameFont = resources_.Font(font);
    fontLoaded_ = gameFont != nullptr;
    if (fontLoaded_)
    {
        g_renderDevice.SetDrawTextVars(nullptr, gameFont);
    }
}

void RenderDeviceCanvas::Text(int32_t x, int32_t y, const char* text, TextAlign align)
{
    if (fontLoaded_)
    {
        g_renderDevice.DrawTextScreen(x, y, text, static_cast<int32_t>(align));
    }
}

void RenderDeviceCanvas::ColourText(int32_t x, int32_t y, uint32_t colour, const char* text,
                                    TextAlign align)
{
    if (fontLoaded_)
    {
        g_renderDevice.DrawColorTextScreen(x, y, colour, text, static_cast<int32_t>(align));
    }
}

int32_t RenderDeviceCanvas::TextWidth(const char* text)
{
    return fontLoaded_ ? g_renderDevice.StrLen(text) : 0;
}

int32_t RenderDeviceCanvas::PictureWidth(PictureRef picture)
{
    const Texture* const texture = resources_.Picture(picture);
    return texture != nullptr ? static_cast<int32_t>(texture->width) : 0;
}

int32_t RenderDeviceCanvas::PictureHeight(PictureRef picture)
{
    const Texture* const texture = resources_.Picture(picture);
    return texture != nullptr ? static_cast<int32_t>(texture->height) : 0;
}

void RenderDeviceCanvas::Picture(PictureRef picture, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                                 int32_t width, int32_t height)
{
    if (Texture* texture = resources_.Picture(picture); texture != nullptr)
    {
        g_renderDevice.DrawBitmapRect(texture, sx, sy, dx, dy, width, height, 1, nullptr);
    }
}

void RenderDeviceCanvas::Rect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                              float u, float v, float du, float dv, int32_t alpha)
{
    g_renderDevice.DrawRect(texture, x, y, width, height, u, v, du, dv, alpha, 0.0f);
}

void RenderDeviceCanvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)
{
    g_renderDevice.DrawLine(x1, y1, x2, y2, colour, 0.0f, 1);
}

void RenderDeviceCanvas::Clip(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    g_renderDevice.SetClipRect(x1, y1, x2, y2);
}
