#include "app/device/RenderBindings.h"

#include <iterator>
#include <string>
#include <type_traits>

#include "core/util/Message.h"
#include "platform/Platform.h"

RenderSlots g_renderSlots;

namespace
{
struct RenderBinding
{
    const char* name;
    void (*store)(RenderSlots& slots, void* address);
};

template <auto Slot>
void StoreSlot(RenderSlots& slots, void* address)
{
    using Function = std::remove_reference_t<decltype(slots.*Slot)>;
    slots.*Slot = reinterpret_cast<Function>(address);
}

constexpr RenderBinding kBindings[] = {
    {"rdll_DownLoadTextureIndex", StoreSlot<&RenderSlots::rdll_DownLoadTextureIndex>},
    {"rdll_DownLoadTexture", StoreSlot<&RenderSlots::rdll_DownLoadTexture>},
    {"rdll_LoadTexture", StoreSlot<&RenderSlots::rdll_LoadTexture>},
    {"rdll_LoadMemoryTexture", StoreSlot<&RenderSlots::rdll_LoadMemoryTexture>},
    {"rdll_ReLoadTexture", StoreSlot<&RenderSlots::rdll_ReLoadTexture>},
    {"rdll_ReLoadMemoryTexture", StoreSlot<&RenderSlots::rdll_ReLoadMemoryTexture>},
    {"rdll_IsGlideActive", StoreSlot<&RenderSlots::rdll_IsGlideActive>},
    {"rdll_SetRenderStateDefaults", StoreSlot<&RenderSlots::rdll_SetRenderStateDefaults>},
    {"rdll_ClearBuffer", StoreSlot<&RenderSlots::rdll_ClearBuffer>},
    {"rdll_Wait", StoreSlot<&RenderSlots::rdll_Wait>},
    {"rdll_InitScreen", StoreSlot<&RenderSlots::rdll_InitScreen>},
    {"rdll_UnlockLFB", StoreSlot<&RenderSlots::rdll_UnlockLFB>},
    {"rdll_LockLFB", StoreSlot<&RenderSlots::rdll_LockLFB>},
    {"rdll_CleanUp", StoreSlot<&RenderSlots::rdll_CleanUp>},
    {"rdll_Flip", StoreSlot<&RenderSlots::rdll_Flip>},
    {"rdll_FillBitmap", StoreSlot<&RenderSlots::rdll_FillBitmap>},
    {"rdll_CopyBitmap", StoreSlot<&RenderSlots::rdll_CopyBitmap>},
    {"rdll_CreateBitmap", StoreSlot<&RenderSlots::rdll_CreateBitmap>},
    {"rdll_CreateTexture", StoreSlot<&RenderSlots::rdll_CreateTexture>},
    {"rdll_LockTexture", StoreSlot<&RenderSlots::rdll_LockTexture>},
    {"rdll_UnlockTexture", StoreSlot<&RenderSlots::rdll_UnlockTexture>},
    {"rdll_GetTexture", StoreSlot<&RenderSlots::rdll_GetTexture>},
    {"rdll_DrawLine", StoreSlot<&RenderSlots::rdll_DrawLine>},
    {"rdll_DrawRect", StoreSlot<&RenderSlots::rdll_DrawRect>},
    {"rdll_DrawFlare", StoreSlot<&RenderSlots::rdll_DrawFlare>},
    {"rdll_DrawTextScreen", StoreSlot<&RenderSlots::rdll_DrawTextScreen>},
    {"rdll_DrawColorTextScreen", StoreSlot<&RenderSlots::rdll_DrawColorTextScreen>},
    {"rdll_DrawText2", StoreSlot<&RenderSlots::rdll_DrawText2>},
    {"rdll_DrawText", StoreSlot<&RenderSlots::rdll_DrawText>},
    {"rdll_SetDrawTextVars", StoreSlot<&RenderSlots::rdll_SetDrawTextVars>},
    {"rdll_GrabScreen", StoreSlot<&RenderSlots::rdll_GrabScreen>},
    {"rdll_DrawBitmapRect", StoreSlot<&RenderSlots::rdll_DrawBitmapRect>},
    {"rdll_EnableFog", StoreSlot<&RenderSlots::rdll_EnableFog>},
    {"rdll_DisableFog", StoreSlot<&RenderSlots::rdll_DisableFog>},
    {"rdll_ShotDown", StoreSlot<&RenderSlots::rdll_ShotDown>},
    {"rdll_FogGenerateLinear", StoreSlot<&RenderSlots::rdll_FogGenerateLinear>},
    {"rdll_Reset", StoreSlot<&RenderSlots::rdll_Reset>},
    {"rdll_Free", StoreSlot<&RenderSlots::rdll_Free>},
    {"rdll_SetClipRect", StoreSlot<&RenderSlots::rdll_SetClipRect>},
    {"rdll_SetArchive", StoreSlot<&RenderSlots::rdll_SetArchive>},
    {"rdll_InitHardware", StoreSlot<&RenderSlots::rdll_InitHardware>},
    {"rdll_CopyAniFrame", StoreSlot<&RenderSlots::rdll_CopyAniFrame>},
    {"rdll_CloseAnimation", StoreSlot<&RenderSlots::rdll_CloseAnimation>},
    {"rdll_OpenAnimation", StoreSlot<&RenderSlots::rdll_OpenAnimation>},
    {"rdll_FreeMemoryTexture", StoreSlot<&RenderSlots::rdll_FreeMemoryTexture>},
    {"rdll_SaveRenderState", StoreSlot<&RenderSlots::rdll_SaveRenderState>},
    {"rdll_ResetRenderState", StoreSlot<&RenderSlots::rdll_ResetRenderState>},
    {"rdll_StrLen", StoreSlot<&RenderSlots::rdll_StrLen>},
    {"rdll_Begin3D", StoreSlot<&RenderSlots::rdll_Begin3D>},
    {"rdll_Finish3D", StoreSlot<&RenderSlots::rdll_Finish3D>},
    {"rdll_GetCursorData", StoreSlot<&RenderSlots::rdll_GetCursorData>},
    {"rdll_GetScreenColor", StoreSlot<&RenderSlots::rdll_GetScreenColor>},
    {"rdll_FillSolidRect", StoreSlot<&RenderSlots::rdll_FillSolidRect>},
    {"rdll_CreateFixed", StoreSlot<&RenderSlots::rdll_CreateFixed>},
    {"rdll_CreateProportional", StoreSlot<&RenderSlots::rdll_CreateProportional>},
    {"rdll_CreateKerning", StoreSlot<&RenderSlots::rdll_CreateKerning>},
    {"rdll_FreeGameFont", StoreSlot<&RenderSlots::rdll_FreeGameFont>},
    {"rdll_SetFontBitmap", StoreSlot<&RenderSlots::rdll_SetFontBitmap>},
    {"rdll_LoadTextureImage", StoreSlot<&RenderSlots::rdll_LoadTextureImage>},
    {"rdll_BeginDraw", StoreSlot<&RenderSlots::rdll_BeginDraw>},
    {"rdll_EndDraw", StoreSlot<&RenderSlots::rdll_EndDraw>},
    {"rdll_GetAdapterInfos", StoreSlot<&RenderSlots::rdll_GetAdapterInfos>},
    {"rdll_SwitchScreenMode", StoreSlot<&RenderSlots::rdll_SwitchScreenMode>},
    {"rdll_LooseFocus", StoreSlot<&RenderSlots::rdll_LooseFocus>},
    {"rdll_GetFocus", StoreSlot<&RenderSlots::rdll_GetFocus>},
    {"vecdll_SetVectorVars", StoreSlot<&RenderSlots::vecdll_SetVectorVars>},
    {"vecdll_Draw", StoreSlot<&RenderSlots::vecdll_Draw>},
    {"vecdll_init", StoreSlot<&RenderSlots::vecdll_init>},
    {"vecdll_recalc_matrix", StoreSlot<&RenderSlots::vecdll_recalc_matrix>},
    {"vecdll_collrotateall", StoreSlot<&RenderSlots::vecdll_collrotateall>},
    {"vecdll_resetrenderstate", StoreSlot<&RenderSlots::vecdll_resetrenderstate>},
};
static_assert(std::size(kBindings) == kRenderEntryCount);

// The library is closed by the platform that opened it, whichever is installed by then.
struct LoadedLibrary
{
    Platform* platform = nullptr;
    Platform::LibraryHandle handle = nullptr;
};

LoadedLibrary g_renderLibrary;
}  // namespace

bool LoadRenderDll(std::string_view fileName)
{
    UnloadRenderDll();
    Platform& platform = CurrentPlatform();
    Platform::LibraryHandle handle = platform.OpenLibrary(fileName);
    if (handle == nullptr)
    {
        return false;
    }
    g_renderLibrary = {&platform, handle};
    for (const RenderBinding& binding : kBindings)
    {
        void* address = platform.LibrarySymbol(handle, binding.name);
        if (address == nullptr)
        {
            ShowMessage(std::string("Missing Dll Entry: ") + binding.name);
            UnloadRenderDll();
            return false;
        }
        binding.store(g_renderSlots, address);
    }
    return true;
}

void UnloadRenderDll()
{
    if (g_renderLibrary.handle != nullptr)
    {
        g_renderLibrary.platform->CloseLibrary(g_renderLibrary.handle);
    }
    g_renderLibrary = {};
    ClearRenderDll();
}

void ClearRenderDll()
{
    g_renderSlots = {};
}

bool IsRenderDllLoaded()
{
    return g_renderLibrary.handle != nullptr;
}
