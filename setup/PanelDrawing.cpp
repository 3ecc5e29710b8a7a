#include "setup/PanelDrawing.h"

#include <algorithm>

#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuFonts.h"

namespace
{
constexpr uint32_t kFace = 0xA0A8B4;  // 0x00BBGGRR
constexpr uint32_t kTitleBar = 0x783C28;
constexpr uint32_t kUnchecked = 0xF0F0F0;
}  // namespace

bool Inside(const ScreenRect& rect, int32_t x, int32_t y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void DrawFrame(const ScreenRect& rect, uint32_t fill)
{
    FillRectClipped(rect.left, rect.top, rect.right, rect.bottom, 0x000000);
    FillRectClipped(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, fill);
}

void DrawPanelWithTitle(const ScreenRect& panel, const char* title)
{
    FillRectClipped(panel.left, panel.top, panel.right, panel.bottom, 0x303030);
    FillRectClipped(panel.left + 2, panel.top + 2, panel.right - 2, panel.bottom - 2, kFace);
    FillRectClipped(panel.left + 2, panel.top + 2, panel.right - 2, panel.top + 24, kTitleBar);
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    DrawColorTextClipped(panel.left + 10, panel.top + 4, 0xFFFFFF, title, kAlignLeft);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
}

void DrawButton(const ScreenRect& rect, const char* text)
{
    FillRectClipped(rect.left, rect.top, rect.right, rect.bottom, 0x606060);
    FillRectClipped(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1, 0xD0D0D0);
    DrawColorTextClipped((rect.left + rect.right) / 2, rect.top + 5, kPanelText, text,
                         kAlignCentre);
}

void DrawCheckBox(int32_t x, int32_t y, bool checked, const char* text)
{
    FillRectClipped(x, y + 2, x + 10, y + 12, 0x303030);
    FillRectClipped(x + 1, y + 3, x + 9, y + 11, checked ? kPanelChecked : kUnchecked);
    DrawColorTextClipped(x + 16, y, kPanelText, text, kAlignLeft);
}

void DrawArrowButton(const ScreenRect& rect, ArrowDirection direction, uint32_t face,
                     uint32_t arrow)
{
    DrawFrame(rect, face);
    const int32_t size = std::max(std::min(rect.right - rect.left, rect.bottom - rect.top) / 3, 1);
    const int32_t cx = (rect.left + rect.right) / 2;
    const int32_t cy = (rect.top + rect.bottom) / 2;
    // Row i of the triangle is 2i + 1 pixels wide, from its tip.
    for (int32_t i = 0; i < size; ++i)
    {
        switch (direction)
        {
            case ArrowDirection::Left:
                FillRectClipped(cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1,
                                arrow);
                break;
            case ArrowDirection::Right:
                FillRectClipped(cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1,
                                arrow);
                break;
            case ArrowDirection::Up:
                FillRectClipped(cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1,
                                arrow);
                break;
            case ArrowDirection::Down:
                FillRectClipped(cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1,
                                arrow);
                break;
        }
    }
}
