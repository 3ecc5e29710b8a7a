// The members that hand their arguments to the entry point of the same name unchanged.

#include "app/device/RenderDevice.h"
#include "app/device/RenderEntry.h"

Texture* RenderDevice::LoadTexture(const char* name, int32_t index, uint32_t unused,
                                   int32_t userValue)
{
    return CallRenderEntry<&RenderSlots::rdll_LoadTexture>(name, index, unused, userValue);
}

Texture* RenderDevice::ReLoadTexture(const char* name, int32_t index, uint32_t unused,
                                     int32_t userValue)
{
    return CallRenderEntry<&RenderSlots::rdll_ReLoadTexture>(name, index, unused, userValue);
}

Texture* RenderDevice::GetTexture(int32_t index)
{
    return CallRenderEntry<&RenderSlots::rdll_GetTexture>(index);
}

void RenderDevice::Reset()
{
    CallRenderEntry<&RenderSlots::rdll_Reset>();
}

void RenderDevice::EnableFog()
{
    CallRenderEntry<&RenderSlots::rdll_EnableFog>();
}

int32_t RenderDevice::DisableFog()
{
    return CallRenderEntry<&RenderSlots::rdll_DisableFog>();
}

int32_t RenderDevice::IsGlideActive()
{
    return CallRenderEntry<&RenderSlots::rdll_IsGlideActive>();
}

void RenderDevice::Flip()
{
    CallRenderEntry<&RenderSlots::rdll_Flip>();
}

void RenderDevice::Wait(int32_t unused)
{
    CallRenderEntry<&RenderSlots::rdll_Wait>(unused);
}

int32_t RenderDevice::LockLFB(LfbInfo* out)
{
    return CallRenderEntry<&RenderSlots::rdll_LockLFB>(out);
}

void RenderDevice::UnlockLFB(LfbInfo* info)
{
    CallRenderEntry<&RenderSlots::rdll_UnlockLFB>(info);
}

void RenderDevice::FillBitmap(Texture* picture)
{
    CallRenderEntry<&RenderSlots::rdll_FillBitmap>(picture);
}

void RenderDevice::CopyBitmap(Texture* destination, int32_t dx, int32_t dy, Texture* source,
                              int32_t sx, int32_t sy, int32_t width, int32_t height)
{
    CallRenderEntry<&RenderSlots::rdll_CopyBitmap>(destination, dx, dy, source, sx, sy, width,
                                                   height);
}

Texture* RenderDevice::CreateTexture(int32_t width, int32_t height, int32_t index, int32_t format)
{
    return CallRenderEntry<&RenderSlots::rdll_CreateTexture>(width, height, index, format);
}

void RenderDevice::CreateBitmap(Texture** out, int32_t width, int32_t height, int32_t format)
{
    CallRenderEntry<&RenderSlots::rdll_CreateBitmap>(out, width, height, format);
}

void RenderDevice::SetDrawTextVars(Texture* background, GameFont* font)
{
    CallRenderEntry<&RenderSlots::rdll_SetDrawTextVars>(background, font);
}

void RenderDevice::DrawText(Texture* target, uint32_t colour, int32_t x, int32_t y,
                            const char* text, int32_t flags)
{
    CallRenderEntry<&RenderSlots::rdll_DrawText>(target, colour, x, y, text, flags);
}

void RenderDevice::DrawText2(Texture* target, int32_t x, int32_t y, const char* text, int32_t flags)
{
    CallRenderEntry<&RenderSlots::rdll_DrawText2>(target, x, y, text, flags);
}

void RenderDevice::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                            float depth, int32_t antialiased)
{
    CallRenderEntry<&RenderSlots::rdll_DrawLine>(x1, y1, x2, y2, colour, depth, antialiased);
}

void RenderDevice::SetRenderStateDefaults()
{
    CallRenderEntry<&RenderSlots::rdll_SetRenderStateDefaults>();
}

void* RenderDevice::LockTexture(Texture* texture)
{
    return CallRenderEntry<&RenderSlots::rdll_LockTexture>(texture);
}

void RenderDevice::UnlockTexture(Texture* texture)
{
    CallRenderEntry<&RenderSlots::rdll_UnlockTexture>(texture);
}

uint8_t* RenderDevice::FogGenerateLinear(float nearW, float farW)
{
    return CallRenderEntry<&RenderSlots::rdll_FogGenerateLinear>(nearW, farW);
}

void RenderDevice::Free()
{
    CallRenderEntry<&RenderSlots::rdll_Free>();
}

int32_t RenderDevice::StrLen(const char* text)
{
    return CallRenderEntry<&RenderSlots::rdll_StrLen>(text);
}

void RenderDevice::SetArchive(CprArchive* archive)
{
    CallRenderEntry<&RenderSlots::rdll_SetArchive>(archive);
}

uint16_t RenderDevice::GetScreenColor(uint32_t colour)
{
    return CallRenderEntry<&RenderSlots::rdll_GetScreenColor>(colour);
}

void RenderDevice::FillSolidRect(int32_t x, int32_t y, int32_t width, int32_t height,
                                 uint32_t colour)
{
    CallRenderEntry<&RenderSlots::rdll_FillSolidRect>(x, y, width, height, colour);
}

void RenderDevice::DrawFlare(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t u, int32_t v, int32_t du, int32_t dv, int32_t alpha,
                             int32_t red, int32_t green, int32_t blue)
{
    CallRenderEntry<&RenderSlots::rdll_DrawFlare>(texture, x, y, width, height, u, v, du, dv, alpha,
                                                  red, green, blue);
}

GameFont* RenderDevice::CreateFixed(const char* characters, Texture* picture, int32_t cellWidth,
                                    int32_t cellHeight, int32_t fixedWidth)
{
    return CallRenderEntry<&RenderSlots::rdll_CreateFixed>(characters, picture, cellWidth,
                                                           cellHeight, fixedWidth);
}

GameFont* RenderDevice::CreateProportional(const char* characters, Texture* picture,
                                           int32_t cellWidth, int32_t cellHeight, int32_t spacing)
{
    return CallRenderEntry<&RenderSlots::rdll_CreateProportional>(characters, picture, cellWidth,
                                                                  cellHeight, spacing);
}

GameFont* RenderDevice::CreateKerning(const char* characters, Texture* picture, int32_t cellWidth,
                                      int32_t cellHeight, int32_t spacing)
{
    return CallRenderEntry<&RenderSlots::rdll_CreateKerning>(characters, picture, cellWidth,
                                                             cellHeight, spacing);
}

void RenderDevice::FreeGameFont(GameFont* font)
{
    CallRenderEntry<&RenderSlots::rdll_FreeGameFont>(font);
}

void RenderDevice::SetFontBitmap(GameFont* font, Texture* picture)
{
    CallRenderEntry<&RenderSlots::rdll_SetFontBitmap>(font, picture);
}

int32_t RenderDevice::LoadTextureImage(const char* name)
{
    return CallRenderEntry<&RenderSlots::rdll_LoadTextureImage>(name);
}

int32_t RenderDevice::BeginDraw()
{
    return CallRenderEntry<&RenderSlots::rdll_BeginDraw>();
}

void RenderDevice::EndDraw()
{
    CallRenderEntry<&RenderSlots::rdll_EndDraw>();
}

void RenderDevice::LooseFocus()
{
    CallRenderEntry<&RenderSlots::rdll_LooseFocus>();
}

void RenderDevice::GetFocus()
{
    CallRenderEntry<&RenderSlots::rdll_GetFocus>();
}
