#include "frontend/toolkit/Gadget.h"

#include "app/device/DirtyRectList.h"

Gadget VisibleGadget(int32_t x, int32_t y, int32_t width, int32_t height)
{
    Gadget gadget;
    gadget.screenX = static_cast<uint16_t>(x);
    gadget.screenY = static_cast<uint16_t>(y);
    gadget.width = static_cast<uint16_t>(width);
    gadget.height = static_cast<uint16_t>(height);
    gadget.visible = 1;
    return gadget;
}

void AddGadget(GadgetList& owner, Gadget& gadget, uint8_t kind)
{
    gadget.kind = kind;
    gadget.hover = 0;
    gadget.pressed = 0;
    gadget.next = owner.head;
    owner.head = &gadget;
}

void AddPlainGadget(GadgetList& owner, Gadget& gadget)
{
    AddGadget(owner, gadget, 0);
}

bool ContainsPoint(const Gadget& gadget, int32_t x, int32_t y)
{
    return gadget.screenX <= x && gadget.screenY <= y && x + 1 <= gadget.screenX + gadget.width &&
           y + 1 <= gadget.screenY + gadget.height;
}

Gadget* FindGadgetAt(const GadgetList& owner, int32_t x, int32_t y)
{
    for (Gadget* gadget = owner.head; gadget != nullptr; gadget = gadget->next)
    {
        if (gadget->visible != 0 && ContainsPoint(*gadget, x, y))
        {
            return gadget;
        }
    }
    return nullptr;
}

Gadget* UpdateGadgetHover(GadgetList& owner, const Gadget* hit, DirtyRectList& first,
                          DirtyRectList& second)
{
    Gadget* entered = nullptr;
    for (Gadget* gadget = owner.head; gadget != nullptr; gadget = gadget->next)
    {
        if ((gadget->kind & kGadgetHighlight) == 0)
        {
            continue;
        }
        const uint8_t hover = gadget == hit ? 1 : 0;
        if (gadget->hover == hover)
        {
            continue;
        }
        gadget->hover = hover;
        MarkGadgetDirty(*gadget, first, second);
        if (hover != 0)
        {
            entered = gadget;
        }
    }
    return entered;
}

void MarkGadgetDirty(const Gadget& gadget, DirtyRectList& first, DirtyRectList& second)
{
    const ScreenRect area{gadget.screenX, gadget.screenY, gadget.screenX + gadget.width,
                          gadget.screenY + gadget.height};
    first.AddRect(area);
    second.AddRect(area);
}
