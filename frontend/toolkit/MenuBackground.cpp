#include "frontend/toolkit/MenuBackground.h"

#include "app/device/RenderDevice.h"
#include "core/util/Collation.h"
#include "frontend/toolkit/ClippedDrawing.h"

namespace
{
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
}  // namespace

MenuBackground g_menuBackground;

MenuBackground::~MenuBackground()
{
    Free();
}

void MenuBackground::Set(const char* name)
{
    if (picture_ != nullptr)
    {
        if (CompareNamesFromEnd(name, name_.c_str()) == 0)
        {
            return;
        }
        g_renderDevice.ReLoadMemoryTexture(name, &picture_);
    }
    else
    {
        g_renderDevice.LoadMemoryTexture(name, &picture_);
    }
    name_ = name;
}

void MenuBackground::Free()
{
    if (picture_ != nullptr)
    {
        g_renderDevice.FreeMemoryTexture(&picture_);
    }
    name_.clear();
}

void MenuBackground::Draw() const
{
    DrawBitmapClipped(picture_, 0, 0, 0, 0, kScreenWidth, kScreenHeight, 0);
}

void SetMenuBackground(const char* name)
{
    g_menuBackground.Set(name);
}

const char* GetMenuBackgroundName()
{
    return g_menuBackground.Name().c_str();
}

void FreeMenuBackground()
{
    g_menuBackground.Free();
}
