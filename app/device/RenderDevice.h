#pragma once

// The game's front end over the render library: one member per bound entry point, on top of
// the object world that the library's vector engine draws. Most members only forward; the
// others adapt what the game passes (clip rectangles clamped to the screen, texture
// coordinates given as fractions of the picture, trailing arguments the game never varies)
// or do more (loading and binding the library, drawing the scene, screenshots).
//
// A member whose entry point is not bound does nothing and returns 0 (or null), with a trace;
// callers normally call members only between a successful InitHardware and ShotDown.
// Main thread only.

#include <cstdint>
#include <string_view>

#include "app/world/ObjectWorld.h"
#include "render/RenderApi.h"

class RenderDevice : public ObjectWorld
{
public:
    RenderDevice() = default;
    ~RenderDevice() override;
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    // Loads and binds the named library (unloading a loaded one first), hands the vector
    // engine's entry points to the object world, and starts the board.
    // When the board does not start, the player is told and the library is unloaded again.
    // False also when the library reports no adapter; it then stays loaded.
    bool InitHardware(std::string_view fileName);
    // Shuts the board down and unloads the library: true when one was loaded.
    bool ShotDown();
    // Frees the object world's arena (unless a saved state owns it) and the library's screen
    // resources, when it is bound; the destructor does the same.
    void CleanUp();
    static void CleanUpIfBound();

    // Both remember the mode's size, the screen that clip rectangles are clamped to.
    int32_t InitScreen(const RenderWindow* window, int32_t option, const char* text,
                       const ScreenMode* mode);
    void SwitchScreenMode(const ScreenMode* mode);
    int32_t ScreenWidth() const { return screenWidth_; }
    int32_t ScreenHeight() const { return screenHeight_; }

    // The object world through the vector engine, as the camera sees it.
    void DrawScene(uint32_t camera);

    // Clamped to the remembered screen.
    void SetClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // u, v, du and dv are fractions of the texture's size (texels as given for texture -1,
    // a solid rectangle); all four are truncated to whole texels.
    void DrawRect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, float u,
                  float v, float du, float dv, int32_t alpha, float depth);
    // A flare sprite's quad tinted by red, green and blue; u, v, du and dv as the library
    // takes them.
    void DrawFlare(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, int32_t u,
                   int32_t v, int32_t du, int32_t dv, int32_t alpha, int32_t red, int32_t green,
                   int32_t blue);
    // Writes the 640 x 480 screen to "graps/Grap_NNN.bmp" (NNN counting from 000, at least
    // three digits); the folder must exist. Nothing for a screen of another size.
    void SaveScreenshot();

    // The handle receives the result, null when the picture cannot be loaded.
    Texture* LoadMemoryTexture(const char* name, Texture** handle);
    Texture* ReLoadMemoryTexture(const char* name, Texture** handle);
    void FreeMemoryTexture(Texture** handle);  // the handle becomes null
    // x, y and the button word, which is always 0: the game reads the buttons as keys.
    void GetCursorData(int32_t* out);
    int32_t ClearBuffer(int32_t what, uint32_t colour);  // 1
    int32_t DownLoadTexture(Texture* texture, int32_t unused);
    // To the back buffer (destination null) or into a picture.
    int32_t DrawBitmapRect(Texture* source, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                           int32_t width, int32_t height, int32_t keyed, Texture* destination);
    // Text on the screen itself.
    void DrawTextScreen(int32_t x, int32_t y, const char* text, int32_t alignment);
    void DrawColorTextScreen(int32_t x, int32_t y, uint32_t colour, const char* text,
                             int32_t alignment);
    // The adapter descriptions and their count.
    int32_t GetAdapterInfos(AdapterInfo** out);

    // Pure forwarders.
    Texture* LoadTexture(const char* name, int32_t index, uint32_t unused, int32_t userValue);
    Texture* ReLoadTexture(const char* name, int32_t index, uint32_t unused, int32_t userValue);
    Texture* GetTexture(int32_t index);
    void Reset();
    void EnableFog();
    int32_t DisableFog();
    int32_t IsGlideActive();
    void Flip();
    void Wait(int32_t unused);
    int32_t LockLFB(LfbInfo* out);
    void UnlockLFB(LfbInfo* info);
    void FillBitmap(Texture* picture);
    void CopyBitmap(Texture* destination, int32_t dx, int32_t dy, Texture* source, int32_t sx,
                    int32_t sy, int32_t width, int32_t height);
    Texture* CreateTexture(int32_t width, int32_t height, int32_t index, int32_t format);
    void CreateBitmap(Texture** out, int32_t width, int32_t height, int32_t format);
    void SetDrawTextVars(Texture* background, GameFont* font);
    void DrawText(Texture* target, uint32_t colour, int32_t x, int32_t y, const char* text,
                  int32_t flags);
    void DrawText2(Texture* target, int32_t x, int32_t y, const char* text, int32_t flags);
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float depth,
                  int32_t antialiased);
    void SetRenderStateDefaults();
    void* LockTexture(Texture* texture);
    void UnlockTexture(Texture* texture);
    uint8_t* FogGenerateLinear(float nearW, float farW);
    void Free();
    int32_t StrLen(const char* text);
    void SetArchive(CprArchive* archive);
    uint16_t GetScreenColor(uint32_t colour);
    void FillSolidRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);
    GameFont* CreateFixed(const char* characters, Texture* picture, int32_t cellWidth,
                          int32_t cellHeight, int32_t fixedWidth);
    GameFont* CreateProportional(const char* characters, Texture* picture, int32_t cellWidth,
                                 int32_t cellHeight, int32_t spacing);
    GameFont* CreateKerning(const char* characters, Texture* picture, int32_t cellWidth,
                            int32_t cellHeight, int32_t spacing);
    void FreeGameFont(GameFont* font);
    void SetFontBitmap(GameFont* font, Texture* picture);
    int32_t LoadTextureImage(const char* name);
    int32_t BeginDraw();
    void EndDraw();
    void LooseFocus();
    void GetFocus();

private:
    void ForgetAdapters();
    void RememberScreen(const ScreenMode* mode);

    AdapterInfo* adapterInfo_ = nullptr;
    int32_t adapterCount_ = 0;
    int32_t screenWidth_ = 0;
    int32_t screenHeight_ = 0;
    uint32_t screenshotNumber_ = 0;
};

extern RenderDevice g_renderDevice;
