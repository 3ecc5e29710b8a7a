// The library's entry points. Each one that touches the board first releases a frame-buffer
// lock that is still held, so that no board work happens while the game writes pixels.

#include <cstring>

#include "render/RenderApi.h"
#include "render/RenderLibrary.h"
#include "render/TextureContainer.h"
#include "render/TextureLoading.h"
#include "render/anim/AnimationPlayer.h"
#include "render/draw/Bitmaps.h"
#include "render/draw/DrawState.h"
#include "render/draw/Lines.h"
#include "render/draw/Overlays.h"
#include "render/draw/ScreenColour.h"
#include "render/text/FontBuilder.h"
#include "render/text/PictureText.h"
#include "render/text/ScreenText.h"
#include "render/text/TextSettings.h"
#include "render/vector/PrimitiveBackEnd.h"
#include "render/vector/VectorEngine.h"

using render::TheLibrary;

namespace
{

void ReleaseFrameBufferLock()
{
    TheLibrary().screen.ReleaseLfb();
}

}  // namespace

// Board and adapter.

int32_t rdll_InitHardware()
{
    return render::InitHardware(TheLibrary()) ? 1 : 0;
}

int32_t rdll_GetAdapterInfos(AdapterInfo** out)
{
    return TheLibrary().adapter.Infos(out);
}

int32_t rdll_GetDllInfo(char* out)
{
    static constexpr char kInfo[] = "3DFX - Glide";
    if (out != nullptr)
    {
        std::memcpy(out, kInfo, sizeof kInfo);
    }
    return sizeof kInfo;
}

// Screen and device.

int32_t rdll_InitScreen(const RenderWindow* window, int32_t /*option*/, const char* /*text*/,
                        const ScreenMode* mode)
{
    return mode != nullptr && TheLibrary().screen.Init(window, *mode) ? 1 : 0;
}

void rdll_SwitchScreenMode(const ScreenMode* mode)
{
    if (mode != nullptr)
    {
        TheLibrary().screen.SwitchMode(*mode);
    }
}

void rdll_ShotDown()
{
    render::ShotDown(TheLibrary());
}

void rdll_CleanUp()
{
    render::CleanUp(TheLibrary());
}

void rdll_Free()
{
    render::Free(TheLibrary());
}

int32_t rdll_IsGlideActive()
{
    return TheLibrary().screen.CheckFocus() ? 1 : 0;
}

void rdll_LooseFocus()
{
    TheLibrary().screen.LooseFocus();
}

void rdll_GetFocus()
{
    TheLibrary().screen.GetFocus();
}

void rdll_ClearBuffer(int32_t what, uint32_t colour)
{
    TheLibrary().screen.Clear(what, colour);
}

void rdll_Flip()
{
    TheLibrary().screen.Flip();
}

int32_t rdll_BeginDraw()
{
    return TheLibrary().screen.BeginDraw() ? 1 : 0;
}

void rdll_EndDraw()
{
    TheLibrary().screen.EndDraw();
}

void rdll_Begin3D()
{
    TheLibrary().screen.ReleaseLfb();
}

void rdll_Finish3D()
{
    TheLibrary().screen.ReleaseLfb();
}

void rdll_GrabScreen()
{
    TheLibrary().screen.ReleaseLfb();
}

int32_t rdll_LockLFB(LfbInfo* out)
{
    render::Screen& screen = TheLibrary().screen;
    if (out == nullptr || !screen.AcquireLfb())
    {
        return 0;
    }
    *out = screen.LockedLfb();
    return 1;
}

void rdll_UnlockLFB(LfbInfo* /*info*/)
{
    TheLibrary().screen.ReleaseLfb();
}

// Render state.

void rdll_SetRenderStateDefaults()
{
    ReleaseFrameBufferLock();
    render::SetRenderStateDefaults();
}

uint32_t rdll_SaveRenderState()
{
    return render::SaveRenderState(TheLibrary());
}

void rdll_ResetRenderState(uint32_t savedState)
{
    render::ResetRenderState(TheLibrary(), savedState);
}

// Textures.

Texture* rdll_GetTexture(int32_t index)
{
    return TheLibrary().textures.Get(index);
}

Texture* rdll_LoadTexture(const char* name, int32_t index, uint32_t /*unused*/, int32_t userValue)
{
    ReleaseFrameBufferLock();
    render::RenderLibrary& library = TheLibrary();
    return name == nullptr ? nullptr
                           : render::LoadTableTexture(library.textures, library.imageBuffer, name,
                                                      index, userValue);
}

Texture* rdll_ReLoadTexture(const char* name, int32_t index, uint32_t /*unused*/, int32_t userValue)
{
    ReleaseFrameBufferLock();
    render::RenderLibrary& library = TheLibrary();
    return name == nullptr ? nullptr
                           : render::ReLoadTableTexture(library.textures, library.imageBuffer, name,
                                                        index, userValue);
}

int32_t rdll_LoadTextureImage(const char* name)
{
    ReleaseFrameBufferLock();
    render::RenderLibrary& library = TheLibrary();
    return name == nullptr
               ? 0
               : render::LoadTextureContainer(library.textures, library.imageBuffer, name);
}

Texture* rdll_LoadMemoryTexture(const char* name, int32_t userValue)
{
    ReleaseFrameBufferLock();
    render::RenderLibrary& library = TheLibrary();
    return name == nullptr
               ? nullptr
               : render::LoadMemoryTexture(library.textures, library.imageBuffer, name, userValue);
}

Texture* rdll_ReLoadMemoryTexture(Texture* texture, const char* name, int32_t userValue)
{
    ReleaseFrameBufferLock();
    render::RenderLibrary& library = TheLibrary();
    return name == nullptr ? nullptr
                           : render::ReLoadMemoryTexture(library.textures, library.imageBuffer,
                                                         texture, name, userValue);
}

void rdll_FreeMemoryTexture(Texture* texture)
{
    TheLibrary().textures.FreeMemoryTexture(texture);
}

int32_t rdll_DownLoadTexture(Texture* texture)
{
    ReleaseFrameBufferLock();
    return texture != nullptr && TheLibrary().textures.Download(*texture) ? 1 : 0;
}

int32_t rdll_DownLoadTextureIndex(int32_t index)
{
    return rdll_DownLoadTexture(TheLibrary().textures.Get(index));
}

Texture* rdll_CreateTexture(int32_t width, int32_t height, int32_t index, int32_t format)
{
    if (!render::IsTableIndex(index))
    {
        return nullptr;
    }
    Texture* texture = render::TextureStore::NewBitmap(width, height, format);
    if (texture != nullptr)
    {
        TheLibrary().textures.Enter(texture, index);
    }
    return texture;
}

void rdll_CreateBitmap(Texture** out, int32_t width, int32_t height, int32_t format)
{
    if (out != nullptr)
    {
        *out = render::TextureStore::NewBitmap(width, height, format);
    }
}

void* rdll_LockTexture(Texture* texture)
{
    return texture != nullptr ? texture->pixels : nullptr;
}

void rdll_UnlockTexture(Texture* /*texture*/) {}

void rdll_Wait(int32_t /*unused*/) {}

void rdll_Reset()
{
    TheLibrary().textures.Memory().ResetCursor();
}

void rdll_SetArchive(CprArchive* archive)
{
    TheLibrary().imageBuffer.SetArchive(archive);
}

// 2D drawing and fog.

void rdll_FillBitmap(Texture* picture)
{
    render::FillBitmap(picture);
}

void rdll_CopyBitmap(Texture* destination, int32_t dx, int32_t dy, Texture* source, int32_t sx,
                     int32_t sy, int32_t width, int32_t height)
{
    render::CopyBitmap(destination, dx, dy, source, sx, sy, width, height);
}

int32_t rdll_DrawBitmapRect(Texture* source, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                            int32_t width, int32_t height, int32_t keyed, int32_t /*unused*/,
                            Texture* destination)
{
    const render::BitmapBlit blit{sx, sy, dx, dy, width, height, keyed != 0};
    return render::DrawBitmapRect(TheLibrary().screen, render::TheDrawState().clip, source, blit,
                                  destination)
               ? 1
               : 0;
}

void rdll_FillSolidRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour)
{
    render::FillSolidRect(TheLibrary().screen, render::TheDrawState().clip, x, y, width, height,
                          colour);
}

uint16_t rdll_GetScreenColor(uint32_t colour)
{
    return render::ScreenColour(colour);
}

void rdll_DrawRect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, int32_t u,
                   int32_t v, int32_t du, int32_t dv, int32_t alpha, float depth)
{
    render::RenderLibrary& library = TheLibrary();
    render::DrawRect(library.screen, library.textures, render::TheDrawState().clip,
                     {texture, x, y, width, height, u, v, du, dv, alpha}, depth);
}

void rdll_DrawFlare(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, int32_t u,
                    int32_t v, int32_t du, int32_t dv, int32_t alpha, int32_t red, int32_t green,
                    int32_t blue)
{
    render::RenderLibrary& library = TheLibrary();
    render::DrawFlare(library.screen, library.textures, render::TheDrawState().clip,
                      {texture, x, y, width, height, u, v, du, dv, alpha}, red, green, blue);
}

void rdll_DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float depth,
                   int32_t antialiased)
{
    render::DrawLine(TheLibrary().screen, render::TheDrawState().clip, x1, y1, x2, y2, colour,
                     depth, antialiased != 0);
}

void rdll_SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    render::TheDrawState().clip = {left, top, right, bottom};
}

void rdll_GetCursorData(int32_t* out)
{
    constexpr int64_t kGameWidth = 640;
    constexpr int64_t kGameHeight = 480;
    const RenderWindow* window = TheLibrary().screen.Window();
    if (out == nullptr || window == nullptr || window->cursor == nullptr)
    {
        return;
    }
    const WindowCursor cursor = window->cursor(window->user);
    // A minimised window has no picture to measure against.
    if (cursor.pictureWidth <= 0 || cursor.pictureHeight <= 0)
    {
        return;
    }
    out[0] = static_cast<int32_t>(cursor.x * kGameWidth / cursor.pictureWidth);
    out[1] = static_cast<int32_t>(cursor.y * kGameHeight / cursor.pictureHeight);
    out[2] = 0;
}

void rdll_EnableFog()
{
    render::EnableFog(TheLibrary().screen);
}

int32_t rdll_DisableFog()
{
    render::DisableFog(TheLibrary().screen);
    return 1;
}

uint8_t* rdll_FogGenerateLinear(float nearW, float farW)
{
    return render::TheDrawState().fogTables.GenerateLinear(nearW, farW);
}

// Fonts and text.

GameFont* rdll_CreateFixed(const char* characters, Texture* picture, int32_t cellWidth,
                           int32_t cellHeight, int32_t fixedWidth)
{
    return render::CreateGameFont(render::FontKind::Fixed, characters, picture, cellWidth,
                                  cellHeight, fixedWidth)
        .release();
}

GameFont* rdll_CreateProportional(const char* characters, Texture* picture, int32_t cellWidth,
                                  int32_t cellHeight, int32_t spacing)
{
    return render::CreateGameFont(render::FontKind::Proportional, characters, picture, cellWidth,
                                  cellHeight, spacing)
        .release();
}

GameFont* rdll_CreateKerning(const char* characters, Texture* picture, int32_t cellWidth,
                             int32_t cellHeight, int32_t spacing)
{
    return render::CreateGameFont(render::FontKind::Kerning, characters, picture, cellWidth,
                                  cellHeight, spacing)
        .release();
}

void rdll_SetFontBitmap(GameFont* font, Texture* picture)
{
    if (font != nullptr)
    {
        font->picture = picture;
    }
}

void rdll_FreeGameFont(GameFont* font)
{
    render::DestroyFont(render::TheTextSettings(), font);
}

void rdll_SetDrawTextVars(Texture* background, GameFont* font)
{
    render::TheTextSettings() = {font, background};
}

void rdll_DrawText(Texture* target, uint32_t colour, int32_t x, int32_t y, const char* text,
                   int32_t flags)
{
    const render::TextSettings& settings = render::TheTextSettings();
    if (settings.font != nullptr && text != nullptr)
    {
        render::DrawTintedText(*settings.font, settings.background, target, colour, x, y, text,
                               flags);
    }
}

void rdll_DrawText2(Texture* target, int32_t x, int32_t y, const char* text, int32_t flags)
{
    const render::TextSettings& settings = render::TheTextSettings();
    if (settings.font != nullptr && text != nullptr)
    {
        render::DrawCopiedText(*settings.font, settings.background, target, x, y, text, flags);
    }
}

void rdll_DrawTextScreen(int32_t x, int32_t y, const char* text, int32_t alignment, LfbInfo* target)
{
    render::DrawScreenText(TheLibrary().screen, render::TheDrawState().clip,
                           render::TheTextSettings().font,
                           {x, y, text != nullptr ? text : "", alignment, std::nullopt}, target);
}

void rdll_DrawColorTextScreen(int32_t x, int32_t y, uint32_t colour, const char* text,
                              int32_t alignment, LfbInfo* target)
{
    render::DrawScreenText(
        TheLibrary().screen, render::TheDrawState().clip, render::TheTextSettings().font,
        {x, y, text != nullptr ? text : "", alignment, render::ScreenColour(colour)}, target);
}

int32_t rdll_StrLen(const char* text)
{
    const GameFont* font = render::TheTextSettings().font;
    return font != nullptr && text != nullptr ? render::MeasureText(*font, text) : 0;
}

// Animation.

int32_t rdll_OpenAnimation(const char* name, Texture** picture, int32_t* frameCount)
{
    if (picture != nullptr)
    {
        *picture = nullptr;
    }
    if (frameCount != nullptr)
    {
        *frameCount = 0;
    }
    render::AnimationPlayer& player = render::TheAnimationPlayer();
    if (name == nullptr || !render::OpenAnimation(player, TheLibrary().imageBuffer.Archive(), name))
    {
        return 0;
    }
    if (picture != nullptr)
    {
        *picture = player.Picture();
    }
    if (frameCount != nullptr)
    {
        *frameCount = player.FrameCount();
    }
    return 1;
}

void rdll_CopyAniFrame(int32_t frame)
{
    render::TheAnimationPlayer().CopyFrame(frame);
}

void rdll_CloseAnimation()
{
    render::TheAnimationPlayer().Close();
}

// Vector engine.

const GlidePrimitiveTable* rdll_GetJumpTable()
{
    return &render::vector::PrimitiveTable();
}

void vecdll_SetVectorVars(VectorVars* vars)
{
    render::vector::TheEngine().SetVectorVars(vars);
}

int32_t vecdll_Draw(const int32_t* /*drawBlock*/)
{
    ReleaseFrameBufferLock();
    render::vector::TheEngine().DrawFrame();
    return 1;
}

void vecdll_init() {}

void vecdll_recalc_matrix(WorldObject* object)
{
    render::vector::TheEngine().RecalcMatrix(object);
}

void vecdll_collrotateall()
{
    render::vector::TheEngine().CollRotateAll();
}

void vecdll_resetrenderstate()
{
    render::vector::ResetPrimitiveState();
}
