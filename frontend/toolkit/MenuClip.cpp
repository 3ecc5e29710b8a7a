#include "frontend/toolkit/MenuClip.h"

#include <algorithm>
#include <optional>

#include "app/device/RenderDevice.h"

namespace
{
const DirtyRectList* g_activeRectList = nullptr;
std::optional<ScreenRect> g_extraClipRect;
}  // namespace

void SetActiveRectList(const DirtyRectList* list)
{
    g_activeRectList = list;
}

const DirtyRectList* ActiveRectList()
{
    return g_activeRectList;
}

void SetExtraClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    g_extraClipRect = ScreenRect{left, top, right, bottom};
}

void ClearExtraClipRect()
{
    g_extraClipRect.reset();
}

ScreenRect ClipToExtraRect(const ScreenRect& rect)
{
    if (!g_extraClipRect)
    {
        return rect;
    }
    return {std::max(rect.left, g_extraClipRect->left), std::max(rect.top, g_extraClipRect->top),
            std::min(rect.right, g_extraClipRect->right),
            std::min(rect.bottom, g_extraClipRect->bottom)};
}

bool SetClip(const ScreenRect& clip)
{
    if (clip.left >= clip.right || clip.top >= clip.bottom)
    {
        return false;
    }
    g_renderDevice.SetClipRect(clip.left, clip.top, clip.right, clip.bottom);
    return true;
}
