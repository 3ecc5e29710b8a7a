#include "app/device/RenderDevice.h"

#include <algorithm>

#include "app/device/RenderBindings.h"
#include "app/device/RenderEntry.h"
#include "core/util/Message.h"
#include "platform/Platform.h"

RenderDevice g_renderDevice;

RenderDevice::~RenderDevice()
{
    CleanUp();
}

bool RenderDevice::InitHardware(std::string_view fileName)
{
    if (IsRenderDllLoaded())
    {
        ShotDown();
    }
    if (!LoadRenderDll(fileName))
    {
        return false;
    }
    BindEngine({g_renderSlots.vecdll_init, g_renderSlots.vecdll_SetVectorVars,
                g_renderSlots.vecdll_Draw, g_renderSlots.vecdll_recalc_matrix,
                g_renderSlots.vecdll_collrotateall});
    if (g_renderSlots.rdll_InitHardware() == 0)
    {
        ShowMessage("Init Hardware failed - No 3dfx card present or glide2.x not installed");
        ShotDown();
        return false;
    }
    adapterCount_ = g_renderSlots.rdll_GetAdapterInfos(&adapterInfo_);
    return adapterCount_ > 0 && adapterInfo_ != nullptr;
}

bool RenderDevice::ShotDown()
{
    if (!IsRenderDllLoaded())
    {
        return false;
    }
    CallRenderEntry<&RenderSlots::rdll_ShotDown>();
    ForgetAdapters();
    BindEngine({});
    UnloadRenderDll();
    return true;
}

void RenderDevice::ForgetAdapters()
{
    adapterInfo_ = nullptr;
    adapterCount_ = 0;
}

void RenderDevice::CleanUp()
{
    FreeWorld();
    CleanUpIfBound();
}

void RenderDevice::CleanUpIfBound()
{
    if (g_renderSlots.rdll_CleanUp != nullptr)
    {
        g_renderSlots.rdll_CleanUp();
    }
}

int32_t RenderDevice::InitScreen(const RenderWindow* window, int32_t option, const char* text,
                                 const ScreenMode* mode)
{
    RememberScreen(mode);
    return CallRenderEntry<&RenderSlots::rdll_InitScreen>(window, option, text, mode);
}

void RenderDevice::SwitchScreenMode(const ScreenMode* mode)
{
    RememberScreen(mode);
    CallRenderEntry<&RenderSlots::rdll_SwitchScreenMode>(mode);
}

void RenderDevice::RememberScreen(const ScreenMode* mode)
{
    if (mode != nullptr)
    {
        screenWidth_ = mode->width;
        screenHeight_ = mode->height;
        SetScreenSize(mode->width, mode->height);
    }
}

void RenderDevice::DrawScene(uint32_t camera)
{
    CallRenderEntry<&RenderSlots::rdll_Begin3D>();
    DrawWorld(camera);
    CallRenderEntry<&RenderSlots::rdll_Finish3D>();
}

void RenderDevice::SetClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    CallRenderEntry<&RenderSlots::rdll_SetClipRect>(
        std::max(x1, 0), std::max(y1, 0), std::min(x2, screenWidth_), std::min(y2, screenHeight_));
}

void RenderDevice::DrawRect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                            float u, float v, float du, float dv, int32_t alpha, float depth)
{
    if (texture >= 0)
    {
        if (const Texture* picture = GetTexture(texture); picture != nullptr)
        {
            const auto pictureWidth = static_cast<float>(picture->width);
            const auto pictureHeight = static_cast<float>(picture->height);
            u *= pictureWidth;
            du *= pictureWidth;
            v *= pictureHeight;
            dv *= pictureHeight;
        }
    }
    CallRenderEntry<&RenderSlots::rdll_DrawRect>(
        texture, x, y, width, height, static_cast<int32_t>(u), static_cast<int32_t>(v),
        static_cast<int32_t>(du), static_cast<int32_t>(dv), alpha, depth);
}

Texture* RenderDevice::LoadMemoryTexture(const char* name, Texture** handle)
{
    *handle = CallRenderEntry<&RenderSlots::rdll_LoadMemoryTexture>(name, 0);
    return *handle;
}

Texture* RenderDevice::ReLoadMemoryTexture(const char* name, Texture** handle)
{
    *handle = CallRenderEntry<&RenderSlots::rdll_ReLoadMemoryTexture>(*handle, name, 0);
    return *handle;
}

void RenderDevice::FreeMemoryTexture(Texture** handle)
{
    CallRenderEntry<&RenderSlots::rdll_FreeMemoryTexture>(*handle);
    *handle = nullptr;
}

void RenderDevice::GetCursorData(int32_t* out)
{
    CallRenderEntry<&RenderSlots::rdll_GetCursorData>(out);
    out[2] = 0;
}

int32_t RenderDevice::ClearBuffer(int32_t what, uint32_t colour)
{
    CallRenderEntry<&RenderSlots::rdll_ClearBuffer>(what, colour);
    return 1;
}

int32_t RenderDevice::DownLoadTexture(Texture* texture, int32_t /*unused*/)
{
    return CallRenderEntry<&RenderSlots::rdll_DownLoadTexture>(texture);
}

int32_t RenderDevice::DrawBitmapRect(Texture* source, int32_t sx, int32_t sy, int32_t dx,
                                     int32_t dy, int32_t width, int32_t height, int32_t keyed,
                                     Texture* destination)
{
    return CallRenderEntry<&RenderSlots::rdll_DrawBitmapRect>(source, sx, sy, dx, dy, width, height,
                                                              keyed, 0, destination);
}

void RenderDevice::DrawTextScreen(int32_t x, int32_t y, const char* text, int32_t alignment)
{
    CallRenderEntry<&RenderSlots::rdll_DrawTextScreen>(x, y, text, alignment,
                                                       static_cast<LfbInfo*>(nullptr));
}

void RenderDevice::DrawColorTextScreen(int32_t x, int32_t y, uint32_t colour, const char* text,
                                       int32_t alignment)
{
    CallRenderEntry<&RenderSlots::rdll_DrawColorTextScreen>(x, y, colour, text, alignment,
                                                            static_cast<LfbInfo*>(nullptr));
}

int32_t RenderDevice::GetAdapterInfos(AdapterInfo** out)
{
    return CallRenderEntry<&RenderSlots::rdll_GetAdapterInfos>(out);
}
