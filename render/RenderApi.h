#pragma once

// The render library's interface, shared by the library and the game that loads it: the
// records that cross between them and the C prototypes of every exported entry point. The
// game binds the entry points by name; decltype(&::rdll_Name) is the type of a bound slot
// (qualified, so that a slot may carry the entry point's name). Every entry point is called
// from the game's main thread only.

#include <cstdint>

class CprArchive;
struct GameFont;
struct GlidePrimitiveTable;
struct VectorVars;
struct WorldObject;

inline constexpr int32_t kTextureTableSize = 4096;

// Pixel formats of a Texture; any other value is taken as RGB 5-6-5.
inline constexpr int32_t kTextureFormatPalette8 = 1;  // one byte a pixel, through the palette
inline constexpr int32_t kTextureFormatRgb565 = 4;    // red in the top five bits
inline constexpr int32_t kTextureFormatArgb4444 = 5;  // alpha in the top nibble

// The board's description of a downloaded texture, as the texture unit takes it: codes for
// the level of detail (longer side 256 >> lod texels), the aspect ratio and the texel format.
struct TextureGlideInfo
{
    int32_t smallLod = 0;
    int32_t largeLod = 0;
    int32_t aspectRatio = 0;
    int32_t format = 0;  // 5 palettised 8-bit, 10 RGB 5-6-5, 12 ARGB 4-4-4-4
    void* data = nullptr;
};

// A picture in main memory that may also be copied into texture memory. Owned by the
// library; the game keeps pointers and reads width and height.
struct Texture
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;           // bytes from one row to the next
    uint8_t* pixels = nullptr;    // owned by the library
    uint32_t* palette = nullptr;  // 8-bit pictures: 256 shared colours 0x00RRGGBB
    int32_t format = 0;
    int32_t userValue = 0;    // the caller's; -1 for pictures of a texture container
    uint32_t downloaded = 0;  // 1 once the texture has a texture-memory address
    uint32_t textureAddress = 0;
    // Texture-coordinate ranges of the picture's sides in the board's texel space.
    int32_t sRange = 0;
    int32_t negatedTRange = 0;
    TextureGlideInfo glideInfo;
    int32_t tableIndex = 0;  // -1 once a newer texture took its table slot
    Texture* next = nullptr;
    Texture* previous = nullptr;
};

// A display mode as the game asks for it.
struct ScreenMode
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    int32_t refreshRateHz = 0;
    int32_t unused = 0;
};

struct ScreenModeInfo
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint8_t refreshRateCount = 0;
    const uint32_t* refreshRatesHz = nullptr;
};

struct AdapterInfo
{
    char name[4096] = {};
    uint32_t modeCount = 0;
    const ScreenModeInfo* modes = nullptr;
};

// A locked frame buffer: 16-bit RGB 5-6-5 pixels, row 0 at the top.
struct LfbInfo
{
    void* address = nullptr;
    int32_t stride = 0;  // bytes from one row to the next; may exceed 2 x width
};

// The mouse over the game window's picture: its position and the picture's size, in picture
// pixels. The position may lie outside the picture.
struct WindowCursor
{
    int x = 0;
    int y = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// What the game hands over as its window: how frames reach the screen, where the mouse is,
// whether the window has the keyboard focus, and how a modal message is shown. The library
// keeps a copy.
struct RenderWindow
{
    // Shows a finished frame; the pixels are valid only during the call.
    void (*present)(const uint16_t* pixels, int width, int height, int pitchBytes,
                    void* user) = nullptr;
    // Null: the window tells nothing of the mouse.
    WindowCursor (*cursor)(void* user) = nullptr;
    // Null: the window always has the focus.
    bool (*hasFocus)(void* user) = nullptr;
    // Shows a modal message box with a Windows-1252 text; null: the text goes to stderr.
    void (*showMessage)(const char* text, void* user) = nullptr;
    void* user = nullptr;
};

#pragma GCC visibility push(default)
extern "C"
{
    // Board and adapter.
    int32_t rdll_InitHardware();
    int32_t rdll_GetAdapterInfos(AdapterInfo** out);
    int32_t rdll_GetDllInfo(char* out);

    // Screen and device. window is a RenderWindow; option and text are not read.
    int32_t rdll_InitScreen(const RenderWindow* window, int32_t option, const char* text,
                            const ScreenMode* mode);
    void rdll_SwitchScreenMode(const ScreenMode* mode);
    void rdll_ShotDown();
    void rdll_CleanUp();
    void rdll_Free();
    int32_t rdll_IsGlideActive();
    void rdll_LooseFocus();
    void rdll_GetFocus();
    void rdll_ClearBuffer(int32_t what, uint32_t colour);
    void rdll_Flip();
    int32_t rdll_BeginDraw();
    void rdll_EndDraw();
    void rdll_Begin3D();
    void rdll_Finish3D();
    void rdll_GrabScreen();
    int32_t rdll_LockLFB(LfbInfo* out);
    void rdll_UnlockLFB(LfbInfo* info);

    // Render state. A saved state is an id, 0 = none; each is restored once.
    void rdll_SetRenderStateDefaults();
    uint32_t rdll_SaveRenderState();
    void rdll_ResetRenderState(uint32_t savedState);

    // Textures.
    Texture* rdll_GetTexture(int32_t index);
    Texture* rdll_LoadTexture(const char* name, int32_t index, uint32_t unused, int32_t userValue);
    Texture* rdll_ReLoadTexture(const char* name, int32_t index, uint32_t unused,
                                int32_t userValue);
    int32_t rdll_LoadTextureImage(const char* name);
    Texture* rdll_LoadMemoryTexture(const char* name, int32_t userValue);
    Texture* rdll_ReLoadMemoryTexture(Texture* texture, const char* name, int32_t userValue);
    void rdll_FreeMemoryTexture(Texture* texture);
    int32_t rdll_DownLoadTexture(Texture* texture);
    int32_t rdll_DownLoadTextureIndex(int32_t index);
    Texture* rdll_CreateTexture(int32_t width, int32_t height, int32_t index, int32_t format);
    void rdll_CreateBitmap(Texture** out, int32_t width, int32_t height, int32_t format);
    void* rdll_LockTexture(Texture* texture);
    void rdll_UnlockTexture(Texture* texture);
    void rdll_Wait(int32_t unused);
    void rdll_Reset();
    void rdll_SetArchive(CprArchive* archive);

    // 2D drawing and fog. Colours of 2D calls are 0x00BBGGRR.
    void rdll_FillBitmap(Texture* picture);
    void rdll_CopyBitmap(Texture* destination, int32_t dx, int32_t dy, Texture* source, int32_t sx,
                         int32_t sy, int32_t width, int32_t height);
    int32_t rdll_DrawBitmapRect(Texture* source, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                                int32_t width, int32_t height, int32_t keyed, int32_t unused,
                                Texture* destination);
    void rdll_FillSolidRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);
    uint16_t rdll_GetScreenColor(uint32_t colour);
    void rdll_DrawRect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                       int32_t u, int32_t v, int32_t du, int32_t dv, int32_t alpha, float depth);
    void rdll_DrawFlare(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                        int32_t u, int32_t v, int32_t du, int32_t dv, int32_t alpha, int32_t red,
                        int32_t green, int32_t blue);
    void rdll_DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float depth,
                       int32_t antialiased);
    void rdll_SetClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // out = {x, y, 0}: the mouse scaled to 640 x 480; left alone when the window tells none.
    void rdll_GetCursorData(int32_t* out);
    void rdll_EnableFog();
    int32_t rdll_DisableFog();
    uint8_t* rdll_FogGenerateLinear(float nearW, float farW);

    // Fonts and text.
    GameFont* rdll_CreateFixed(const char* characters, Texture* picture, int32_t cellWidth,
                               int32_t cellHeight, int32_t fixedWidth);
    GameFont* rdll_CreateProportional(const char* characters, Texture* picture, int32_t cellWidth,
                                      int32_t cellHeight, int32_t spacing);
    GameFont* rdll_CreateKerning(const char* characters, Texture* picture, int32_t cellWidth,
                                 int32_t cellHeight, int32_t spacing);
    void rdll_SetFontBitmap(GameFont* font, Texture* picture);
    void rdll_FreeGameFont(GameFont* font);
    void rdll_SetDrawTextVars(Texture* background, GameFont* font);
    void rdll_DrawText(Texture* target, uint32_t colour, int32_t x, int32_t y, const char* text,
                       int32_t flags);
    void rdll_DrawText2(Texture* target, int32_t x, int32_t y, const char* text, int32_t flags);
    void rdll_DrawTextScreen(int32_t x, int32_t y, const char* text, int32_t alignment,
                             LfbInfo* target);
    void rdll_DrawColorTextScreen(int32_t x, int32_t y, uint32_t colour, const char* text,
                                  int32_t alignment, LfbInfo* target);
    int32_t rdll_StrLen(const char* text);

    // Animation: the picture record is laid out as a Texture.
    int32_t rdll_OpenAnimation(const char* name, Texture** picture, int32_t* frameCount);
    void rdll_CopyAniFrame(int32_t frame);
    void rdll_CloseAnimation();

    // Vector engine.
    const GlidePrimitiveTable* rdll_GetJumpTable();
    void vecdll_SetVectorVars(VectorVars* vars);
    int32_t vecdll_Draw(const int32_t* drawBlock);
    void vecdll_init();
    void vecdll_recalc_matrix(WorldObject* object);
    void vecdll_collrotateall();
    void vecdll_resetrenderstate();
}
#pragma GCC visibility pop
