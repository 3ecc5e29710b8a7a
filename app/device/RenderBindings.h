#pragma once

// The render library as the game binds it: loaded at run time by the file name that
// "config.dat" gives, and its 71 entry points bound by name into typed slots. A slot is null
// while its entry is unbound. Main thread only.

#include <cstddef>
#include <string_view>

#include "render/RenderApi.h"

// One slot per bound entry point, named after it, in the order the game binds them.
struct RenderSlots
{
    decltype(&::rdll_DownLoadTextureIndex) rdll_DownLoadTextureIndex = nullptr;
    decltype(&::rdll_DownLoadTexture) rdll_DownLoadTexture = nullptr;
    decltype(&::rdll_LoadTexture) rdll_LoadTexture = nullptr;
    decltype(&::rdll_LoadMemoryTexture) rdll_LoadMemoryTexture = nullptr;
    decltype(&::rdll_ReLoadTexture) rdll_ReLoadTexture = nullptr;
    decltype(&::rdll_ReLoadMemoryTexture) rdll_ReLoadMemoryTexture = nullptr;
    decltype(&::rdll_IsGlideActive) rdll_IsGlideActive = nullptr;
    decltype(&::rdll_SetRenderStateDefaults) rdll_SetRenderStateDefaults = nullptr;
    decltype(&::rdll_ClearBuffer) rdll_ClearBuffer = nullptr;
    decltype(&::rdll_Wait) rdll_Wait = nullptr;
    decltype(&::rdll_InitScreen) rdll_InitScreen = nullptr;
    decltype(&::rdll_UnlockLFB) rdll_UnlockLFB = nullptr;
    decltype(&::rdll_LockLFB) rdll_LockLFB = nullptr;
    decltype(&::rdll_CleanUp) rdll_CleanUp = nullptr;
    decltype(&::rdll_Flip) rdll_Flip = nullptr;
    decltype(&::rdll_FillBitmap) rdll_FillBitmap = nullptr;
    decltype(&::rdll_CopyBitmap) rdll_CopyBitmap = nullptr;
    decltype(&::rdll_CreateBitmap) rdll_CreateBitmap = nullptr;
    decltype(&::rdll_CreateTexture) rdll_CreateTexture = nullptr;
    decltype(&::rdll_LockTexture) rdll_LockTexture = nullptr;
    decltype(&::rdll_UnlockTexture) rdll_UnlockTexture = nullptr;
    decltype(&::rdll_GetTexture) rdll_GetTexture = nullptr;
    decltype(&::rdll_DrawLine) rdll_DrawLine = nullptr;
    decltype(&::rdll_DrawRect) rdll_DrawRect = nullptr;
    decltype(&::rdll_DrawFlare) rdll_DrawFlare = nullptr;
    decltype(&::rdll_DrawTextScreen) rdll_DrawTextScreen = nullptr;
    decltype(&::rdll_DrawColorTextScreen) rdll_DrawColorTextScreen = nullptr;
    decltype(&::rdll_DrawText2) rdll_DrawText2 = nullptr;
    decltype(&::rdll_DrawText) rdll_DrawText = nullptr;
    decltype(&::rdll_SetDrawTextVars) rdll_SetDrawTextVars = nullptr;
    decltype(&::rdll_GrabScreen) rdll_GrabScreen = nullptr;
    decltype(&::rdll_DrawBitmapRect) rdll_DrawBitmapRect = nullptr;
    decltype(&::rdll_EnableFog) rdll_EnableFog = nullptr;
    decltype(&::rdll_DisableFog) rdll_DisableFog = nullptr;
    decltype(&::rdll_ShotDown) rdll_ShotDown = nullptr;
    decltype(&::rdll_FogGenerateLinear) rdll_FogGenerateLinear = nullptr;
    decltype(&::rdll_Reset) rdll_Reset = nullptr;
    decltype(&::rdll_Free) rdll_Free = nullptr;
    decltype(&::rdll_SetClipRect) rdll_SetClipRect = nullptr;
    decltype(&::rdll_SetArchive) rdll_SetArchive = nullptr;
    decltype(&::rdll_InitHardware) rdll_InitHardware = nullptr;
    decltype(&::rdll_CopyAniFrame) rdll_CopyAniFrame = nullptr;
    decltype(&::rdll_CloseAnimation) rdll_CloseAnimation = nullptr;
    decltype(&::rdll_OpenAnimation) rdll_OpenAnimation = nullptr;
    decltype(&::rdll_FreeMemoryTexture) rdll_FreeMemoryTexture = nullptr;
    decltype(&::rdll_SaveRenderState) rdll_SaveRenderState = nullptr;
    decltype(&::rdll_ResetRenderState) rdll_ResetRenderState = nullptr;
    decltype(&::rdll_StrLen) rdll_StrLen = nullptr;
    decltype(&::rdll_Begin3D) rdll_Begin3D = nullptr;
    decltype(&::rdll_Finish3D) rdll_Finish3D = nullptr;
    decltype(&::rdll_GetCursorData) rdll_GetCursorData = nullptr;
    decltype(&::rdll_GetScreenColor) rdll_GetScreenColor = nullptr;
    decltype(&::rdll_FillSolidRect) rdll_FillSolidRect = nullptr;
    decltype(&::rdll_CreateFixed) rdll_CreateFixed = nullptr;
    decltype(&::rdll_CreateProportional) rdll_CreateProportional = nullptr;
    decltype(&::rdll_CreateKerning) rdll_CreateKerning = nullptr;
    decltype(&::rdll_FreeGameFont) rdll_FreeGameFont = nullptr;
    decltype(&::rdll_SetFontBitmap) rdll_SetFontBitmap = nullptr;
    decltype(&::rdll_LoadTextureImage) rdll_LoadTextureImage = nullptr;
    decltype(&::rdll_BeginDraw) rdll_BeginDraw = nullptr;
    decltype(&::rdll_EndDraw) rdll_EndDraw = nullptr;
    decltype(&::rdll_GetAdapterInfos) rdll_GetAdapterInfos = nullptr;
    decltype(&::rdll_SwitchScreenMode) rdll_SwitchScreenMode = nullptr;
    decltype(&::rdll_LooseFocus) rdll_LooseFocus = nullptr;
    decltype(&::rdll_GetFocus) rdll_GetFocus = nullptr;
    decltype(&::vecdll_SetVectorVars) vecdll_SetVectorVars = nullptr;
    decltype(&::vecdll_Draw) vecdll_Draw = nullptr;
    decltype(&::vecdll_init) vecdll_init = nullptr;
    decltype(&::vecdll_recalc_matrix) vecdll_recalc_matrix = nullptr;
    decltype(&::vecdll_collrotateall) vecdll_collrotateall = nullptr;
    decltype(&::vecdll_resetrenderstate) vecdll_resetrenderstate = nullptr;
};

inline constexpr size_t kRenderEntryCount = 71;

// The bound entry points. Code that has no forwarding member calls its slot directly.
extern RenderSlots g_renderSlots;

// Loads the library through the platform and binds every entry in order. A library that
// does not load fails silently; at the first missing entry the player is told
// "Missing Dll Entry: <name>" and the library is unloaded again with every slot null.
bool LoadRenderDll(std::string_view fileName);
// Unloads the library (when one is loaded) and clears every slot.
void UnloadRenderDll();
void ClearRenderDll();
bool IsRenderDllLoaded();
