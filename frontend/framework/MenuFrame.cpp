#include "frontend/framework/MenuFrame.h"

#include <algorithm>

#include "app/device/DirtyRectList.h"
#include "frontend/framework/FrameKit.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"

namespace
{
constexpr int32_t kTile = 16;
constexpr float kOpeningSpeed = 3.0f;
// A full open takes 1 / (4 x 3) s.
constexpr float kScaleRate = 4.0f;
constexpr float kFullyOpen = 0.99999f;
constexpr int32_t kFillAlpha = 170;

int32_t g_visibleFrames = 0;

void DrawTile(Texture* kit, int32_t sourceX, int32_t width, int32_t x, int32_t y)
{
    DrawBitmapClipped(kit, sourceX, 0, x, y, width, kTile, 1);
}

void DrawTileRun(Texture* kit, int32_t sourceX, int32_t count, int32_t x, int32_t y, int32_t dx,
                 int32_t dy)
{
    for (int32_t k = 0; k < count; ++k)
    {
        DrawTile(kit, sourceX, kTile, x + k * dx, y + k * dy);
    }
}
}  // namespace

void MenuFrame::Open(MenuFrame& frame, MenuFrame* linked, float speed)
{
    if (!frame.visible)
    {
        ++g_visibleFrames;
    }
    frame.speed = speed;
    frame.scale = 0.0f;
    frame.open = true;
    frame.visible = true;
    frame.fullyOpen = false;
    frame.currentWidth = 0;
    frame.currentHeight = 0;
    frame.linked = linked;
    if (linked != nullptr)
    {
        linked->open = false;
    }
}

void MenuFrame::Close(MenuFrame& frame)
{
    frame.speed = -kOpeningSpeed;
    frame.open = false;
    frame.fullyOpen = false;
    if (frame.linked != nullptr)
    {
        frame.linked->open = true;
    }
}

void MenuFrame::Reset(MenuFrame& frame)
{
    if (frame.visible)
    {
        --g_visibleFrames;
    }
    frame.currentWidth = 0;
    frame.currentHeight = 0;
    frame.open = false;
    frame.visible = false;
    frame.fullyOpen = false;
    frame.scale = 0.0f;
}

int32_t MenuFrame::VisibleCount()
{
    return g_visibleFrames;
}

ScreenRect MenuFrameArea(const MenuFrame& frame, int32_t width, int32_t height)
{
    const int32_t halfWidth = width * kTile / 2 + 48;
    const int32_t halfHeight = height * kTile / 2;
    return {frame.centreX - halfWidth, frame.centreY - halfHeight - 48, frame.centreX + halfWidth,
            frame.centreY + halfHeight + 32};
}

void AnimateMenuFrames(DirtyRectList& first, DirtyRectList& second, MenuFrame* chain, float seconds)
{
    for (MenuFrame* frame = chain; frame != nullptr; frame = frame->next)
    {
        if (!frame->visible)
        {
            continue;
        }
        const float oldScale = frame->scale;
        frame->scale += seconds * kScaleRate * frame->speed;
        if (frame->scale >= kFullyOpen)
        {
            frame->scale = 1.0f;
            frame->fullyOpen = true;
        }
        if (frame->scale < 0.0f)
        {
            frame->scale = 0.0f;
            frame->visible = false;
            --g_visibleFrames;
        }
        const int32_t oldWidth = frame->currentWidth;
        const int32_t oldHeight = frame->currentHeight;
        frame->currentWidth = static_cast<int32_t>(static_cast<float>(frame->width) * frame->scale);
        frame->currentHeight =
            static_cast<int32_t>(static_cast<float>(frame->height) * frame->scale);
        if (frame->scale != oldScale || frame->currentWidth != oldWidth ||
            frame->currentHeight != oldHeight)
        {
            // The larger of the two sizes: a shrinking frame leaves its old area to repaint.
            const ScreenRect area = MenuFrameArea(*frame, std::max(oldWidth, frame->currentWidth),
                                                  std::max(oldHeight, frame->currentHeight));
            first.AddRect(area);
            second.AddRect(area);
        }
    }
}

void MenuFrame::Draw(const MenuFrame& frame)
{
    const int32_t w = frame.currentWidth;
    const int32_t h = frame.currentHeight;
    const int32_t hw = w * kTile / 2;
    const int32_t hh = h * kTile / 2;
    const int32_t left = frame.centreX - hw - 48;
    const int32_t top = frame.centreY - hh - 48;
    const int32_t right = frame.centreX + hw + 16;
    const int32_t bottom = frame.centreY + hh;
    const int32_t title = frame.width > 0 ? frame.titleLength * w / frame.width : 0;
    const int32_t titleWidth = title > 0 ? (title + 2) * kTile : 32;

    const ScreenRect fill{frame.centreX - hw - 40, frame.centreY - hh - 40, frame.centreX + hw + 40,
                          frame.centreY + hh + 24};
    DrawTextureRectClipped(-1, fill, TextureArea{}, kFillAlpha, 0.0f);

    Texture* kit = g_frameKit.Picture();
    DrawTile(kit, 0, 32, left, top);
    DrawTile(kit, 128, 32, left, top + 16);
    DrawTileRun(kit, 32, title, frame.centreX - hw - 16, top, kTile, 0);
    DrawTileRun(kit, 160, title, frame.centreX - hw - 16, top + 16, kTile, 0);
    DrawTile(kit, 48, 32, left + titleWidth, top);
    DrawTile(kit, 176, 32, left + titleWidth, top + 16);
    DrawTile(kit, 240, 32, left, top + 32);
    DrawTile(kit, 96, 32, right, top);
    DrawTile(kit, 208, 32, right, top + 16);
    DrawTile(kit, 272, 16, right + 16, top + 32);
    DrawTile(kit, 336, 32, left, bottom);
    DrawTile(kit, 400, 32, left, bottom + 16);
    DrawTile(kit, 368, 32, right, bottom);
    DrawTile(kit, 480, 32, right, bottom + 16);
    DrawTileRun(kit, 80, w - title, left + (title + 4) * kTile, top, kTile, 0);
    DrawTileRun(kit, 432, w, left + 32, bottom + 16, kTile, 0);
    DrawTile(kit, 448, 32, left + 32 + w * kTile, bottom + 16);
    DrawTileRun(kit, 288, h, left, top + 48, 0, kTile);
    DrawTileRun(kit, 272, h, right + 16, top + 48, 0, kTile);

    if (frame.fullyOpen && frame.titleLength > 0 && frame.title != nullptr)
    {
        SetTextFont(GetMenuFont(MenuFont::Menu16));
        DrawTextClipped(left + 32, top + 4, frame.title, kAlignLeft);
    }
}
