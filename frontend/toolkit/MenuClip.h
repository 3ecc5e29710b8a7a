#pragma once

// Where the menus' clipped drawing goes: the repaint list of the buffer being drawn, and an
// extra clip rectangle that text and filled rectangles also keep to while it is on (scrolling
// lists). Every clipped draw is issued once per rectangle of the active list, with the render
// library's clip rectangle set to it; with no list, or an empty one, nothing is drawn.
// Main thread only.

#include <cstdint>

#include "app/device/DirtyRectList.h"

// Screens select their own list before drawing; the list must outlive its use here.
void SetActiveRectList(const DirtyRectList* list);
const DirtyRectList* ActiveRectList();

void SetExtraClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
void ClearExtraClipRect();
// The rectangle cut down to the extra clip rectangle while it is on.
ScreenRect ClipToExtraRect(const ScreenRect& rect);

enum class ExtraClip
{
    Ignored,
    Honoured,
};

// Sets the render library's clip rectangle; false, setting nothing, for an empty rectangle.
bool SetClip(const ScreenRect& clip);

// Sets the clip rectangle to each rectangle of the active list in turn (cut down to the extra
// clip when honoured) and calls draw(); rectangles that are cut away entirely are skipped.
template <typename Draw>
void ForEachDirtyRect(ExtraClip extraClip, Draw&& draw)
{
    const DirtyRectList* list = ActiveRectList();
    if (list == nullptr)
    {
        return;
    }
    ScreenRect rect;
    int32_t index = 0;
    while (list->GetNext(&rect, &index))
    {
        if (SetClip(extraClip == ExtraClip::Honoured ? ClipToExtraRect(rect) : rect))
        {
            draw();
        }
    }
}
