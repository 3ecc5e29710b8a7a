#include "frontend/toolkit/GadgetDrawing.h"

#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/Gadget.h"

namespace
{
Texture* PictureOf(const Gadget& gadget, std::span<Texture* const> pictures)
{
    const int8_t index =
        gadget.hover != 0 && gadget.hoverPicture >= 0 ? gadget.hoverPicture : gadget.normalPicture;
    return index >= 0 && static_cast<size_t>(index) < pictures.size() ? pictures[index] : nullptr;
}
}  // namespace

void DrawGadgetList(const GadgetList& owner, std::span<Texture* const> pictures)
{
    for (const Gadget* gadget = owner.head; gadget != nullptr; gadget = gadget->next)
    {
        if (gadget->visible == 0)
        {
            continue;
        }
        if (Texture* picture = PictureOf(*gadget, pictures); picture != nullptr)
        {
            DrawBitmapClipped(picture, gadget->sourceX, gadget->sourceY, gadget->screenX,
                              gadget->screenY, gadget->width, gadget->height, gadget->drawFlag);
        }
    }
}
