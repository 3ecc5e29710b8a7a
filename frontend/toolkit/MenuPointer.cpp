#include "frontend/toolkit/MenuPointer.h"

#include "app/device/DirtyRectList.h"
#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "platform/VirtualKeys.h"

void MenuPointer::Update(int32_t pointerWidth, int32_t pointerHeight, bool shown,
                         DirtyRectList& first, DirtyRectList& second)
{
    int32_t cursor[3] = {x_, y_, 0};
    g_renderDevice.GetCursorData(cursor);
    if (cursor[0] == x_ && cursor[1] == y_)
    {
        return;
    }
    if (shown)
    {
        for (const ScreenRect area : {ScreenRect{x_, y_, x_ + pointerWidth, y_ + pointerHeight},
                                      ScreenRect{cursor[0], cursor[1], cursor[0] + pointerWidth,
                                                 cursor[1] + pointerHeight}})
        {
            first.AddRect(area);
            second.AddRect(area);
        }
    }
    x_ = cursor[0];
    y_ = cursor[1];
}

bool MenuPointer::TakeClick()
{
    const uint8_t state = ReadKey(vk::LeftButton);
    const bool click = (state & kKeyPressed) != 0 && !held_;
    held_ = (state & kKeyHeld) != 0;
    return click;
}
