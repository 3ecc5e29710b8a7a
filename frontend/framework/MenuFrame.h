#pragma once

// Menu frames: the framed boxes (panels) of the menu screens that open and close by scaling
// from their centre, drawn from the tiles of the frame kit. A frame owns a list of gadgets and
// sits on its screen's chain of frames. Main thread only.

#include <cstdint>

#include "frontend/toolkit/Gadget.h"

class DirtyRectList;

struct MenuFrame
{
    int32_t centreX = 0;
    int32_t centreY = 0;
    int32_t width = 0;  // in 16-pixel tiles
    int32_t height = 0;
    int32_t currentWidth = 0;
    int32_t currentHeight = 0;
    int32_t titleLength = 0;  // tiles of the title bar; 0 for none
    const char* title = nullptr;
    bool open = false;
    bool visible = false;  // from opening until fully closed
    bool fullyOpen = false;
    float scale = 0.0f;  // 0..1
    float speed = 0.0f;  // > 0 opening, < 0 closing
    MenuFrame* next = nullptr;
    GadgetList gadgets;
    MenuFrame* linked = nullptr;  // hidden while this one is open

    // speed 1 opens in 1/4 s, 3 in 1/12 s.
    static void Open(MenuFrame& frame, MenuFrame* linked, float speed = 3.0f);
    static void Close(MenuFrame& frame);
    static void Reset(MenuFrame& frame);
    // Draws the frame clipped to every rectangle of the active repaint list.
    static void Draw(const MenuFrame& frame);

    // Visible frames of all screens.
    static int32_t VisibleCount();
};

// Scales every visible frame of the chain by the frame time and marks the area the frame
// covered before or covers now in both lists, so that growing and shrinking both repaint.
void AnimateMenuFrames(DirtyRectList& first, DirtyRectList& second, MenuFrame* chain,
                       float seconds);

// The screen area of a frame of the given size in tiles.
struct ScreenRect;
ScreenRect MenuFrameArea(const MenuFrame& frame, int32_t width, int32_t height);
