#pragma once

// The plain pieces the set-up dialogs' in-game panels and the telemetry screen draw with the
// menu toolkit: a framed panel with its title bar, buttons and check boxes, all clipped to the
// active repaint list. Main thread only.

#include <cstdint>

#include "app/device/DirtyRectList.h"

bool Inside(const ScreenRect& rect, int32_t x, int32_t y);

// A black frame around a filled rectangle.
void DrawFrame(const ScreenRect& rect, uint32_t fill);
void DrawPanelWithTitle(const ScreenRect& panel, const char* title);
void DrawButton(const ScreenRect& rect, const char* text);
enum class ArrowDirection : uint8_t
{
    Left,
    Right,
    Up,
    Down,
};
// A framed button with a filled triangle pointing the way (the fonts have no arrow glyphs).
void DrawArrowButton(const ScreenRect& rect, ArrowDirection direction, uint32_t face,
                     uint32_t arrow);

// The box at (x, y), its text to the right.
void DrawCheckBox(int32_t x, int32_t y, bool checked, const char* text);

inline constexpr uint32_t kPanelText = 0x101010;
inline constexpr uint32_t kPanelChecked = 0x2020C0;
