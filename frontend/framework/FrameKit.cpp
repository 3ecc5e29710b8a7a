#include "frontend/framework/FrameKit.h"

#include <array>

#include "app/device/RenderDevice.h"

namespace
{
constexpr std::array<const char*, FrameKit::kLooks> kKitPictures = {
    "MainMenu/rahmenbausatz.bmp", "MainMenu/rahmenbausatz2.bmp", "MainMenu/rahmenbausatz3.bmp"};
}

FrameKit g_frameKit;

FrameKit::~FrameKit()
{
    Free();
}

void FrameKit::Select(int32_t look)
{
    if (look < 0 || look >= kLooks || (look == look_ && picture_ != nullptr))
    {
        return;
    }
    if (picture_ != nullptr)
    {
        g_renderDevice.ReLoadMemoryTexture(kKitPictures[look], &picture_);
    }
    else
    {
        g_renderDevice.LoadMemoryTexture(kKitPictures[look], &picture_);
    }
    look_ = picture_ != nullptr ? look : -1;
}

void FrameKit::Free()
{
    if (picture_ != nullptr)
    {
        g_renderDevice.FreeMemoryTexture(&picture_);
    }
    look_ = -1;
}
