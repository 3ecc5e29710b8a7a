#include "frontend/toolkit/KnobDrawing.h"

#include <algorithm>

#include "app/device/RenderDevice.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/Slider.h"

namespace
{
constexpr int32_t kOpaque = 255;
constexpr float kKnobDepth = 1.0f;

void DrawKnob(int32_t texture, const Slider& slider, int32_t knobX, int32_t knobY)
{
    if (g_renderDevice.GetTexture(texture) == nullptr)
    {
        return;
    }
    const DirtyRectList* list = ActiveRectList();
    if (list == nullptr)
    {
        return;
    }
    const int32_t right = slider.x + slider.width;
    const int32_t bottom = slider.y + slider.height;
    ScreenRect rect;
    int32_t index = 0;
    while (list->GetNext(&rect, &index))
    {
        const bool overlaps = slider.x < rect.right && rect.left < right &&
                              slider.y < rect.bottom && rect.top < bottom;
        if (!overlaps)
        {
            continue;
        }
        const ScreenRect clip{std::max<int32_t>(rect.left, slider.x),
                              std::max<int32_t>(rect.top, slider.y), std::min(rect.right, right),
                              std::min(rect.bottom, bottom)};
        if (SetClip(clip))
        {
            g_renderDevice.DrawRect(texture, knobX, knobY, slider.knobWidth, slider.knobHeight,
                                    0.0f, 0.0f, 1.0f, 1.0f, kOpaque, kKnobDepth);
        }
    }
}
}  // namespace

void DrawSpriteClipped(int32_t texture, const Slider& slider)
{
    DrawKnob(texture, slider, slider.knobPosition, slider.y);
}

void DrawGadgetClipped(int32_t texture, const Slider& slider)
{
    if (slider.gadget != nullptr)
    {
        DrawKnob(texture, slider, slider.x, slider.gadget->screenY);
    }
}
