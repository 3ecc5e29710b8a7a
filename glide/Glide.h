#pragma once

// The 3D board interface the render library drives: 40 gr* calls and one fog-table helper,
// implemented in software. One board, one texture unit, page-flipped 16-bit RGB 5-6-5 colour
// buffers and a 16-bit W-buffer. Every call draws at once and is synchronous; main thread only.
//
// Colours passed in are 32-bit ABGR words: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31.
// Screen coordinates have their origin at the upper left, y grows downwards, pixel (x, y)
// covers [x, x + 1) x [y, y + 1) and is sampled at its centre.

#include <cstdint>

using GrColor = uint32_t;
using GrAlpha = uint8_t;
using GrFog = uint8_t;  // one fog-table entry: 0 = no fog, 255 = fog colour only

constexpr int kGrFogTableSize = 64;
constexpr int kGrPaletteSize = 256;

struct GrTmuVertex
{
    float sow;  // s / w
    float tow;  // t / w
    float oow;  // 1 / w of the texture unit (texture perspective)
};

// 60 bytes. Read: x, y, r, g, b (0-255), a (0-255, iterated alpha), oow (1 / W for depth and
// fog), tmuvtx[0]. z, ooz and tmuvtx[1] are carried but not used.
struct GrVertex
{
    float x, y, z;
    float r, g, b;
    float ooz;
    float a;
    float oow;
    GrTmuVertex tmuvtx[2];
};
static_assert(sizeof(GrVertex) == 60);

struct GrHwConfiguration
{
    int32_t num_sst;  // boards found
};

// The modes and rates of the board, in the order of its mode table.
enum class GrScreenResolution : int32_t
{
    Res512x384 = 0,
    Res640x480 = 1,
    Res800x600 = 2,
    Res960x720 = 3,
    Res856x480 = 4,
    Res1024x768 = 5,
    Res1280x1024 = 6,
    Res1600x1200 = 7,
};
enum class GrScreenRefresh : int32_t
{
    Rate60Hz = 0,
    Rate70Hz = 1,
    Rate72Hz = 2,
    Rate75Hz = 3,
    Rate80Hz = 4,
    Rate85Hz = 5,
    Rate90Hz = 6,
    Rate100Hz = 7,
    Rate120Hz = 8,
};
enum class GrColorFormat : int32_t
{
    Abgr = 1,
};
enum class GrOriginLocation : int32_t
{
    UpperLeft = 0,
};
enum class GrControl : int32_t
{
    Activate = 1,    // the board shows its buffers again
    Deactivate = 2,  // the screen is handed back: swaps present nothing
};

enum class GrCmpFunction : int32_t  // bit 0: pass when less, bit 1: equal, bit 2: greater
{
    Never = 0,
    Less = 1,
    Equal = 2,
    LEqual = 3,
    Greater = 4,
    NotEqual = 5,
    GEqual = 6,
    Always = 7,
};
enum class GrDepthBufferMode : int32_t
{
    Disable = 0,
    WBuffer = 2,
};
enum class GrDitherMode : int32_t
{
    Disable = 0,
    Dither4x4 = 2,
};
enum class GrHint : int32_t
{
    StwHint = 0,
};
// Value of the StwHint: the texture unit's 1/w differs from the vertex 1/w. Texture
// perspective always follows the texture unit's own 1/w, so this is the only meaning.
constexpr uint32_t kGrStwHintTmu0WDiffers = 2;

// Colour and alpha combine: result = function(local, other, factor), optionally inverted
// (255 - result). Zero: 0; Local: local; ScaleOther: other x factor.
enum class GrCombineFunction : int32_t
{
    Zero = 0,
    Local = 1,
    ScaleOther = 2,
};
enum class GrCombineFactor : int32_t
{
    None = 0,  // no factor: same as Zero
    Zero = 1,
    Local = 2,
    One = 3,
};
enum class GrCombineLocal : int32_t
{
    Iterated = 0,
    Constant = 1,
};
enum class GrCombineOther : int32_t
{
    None = 0,  // nothing: black, alpha 0
    Iterated = 1,
    Texture = 2,
    Constant = 3,
};

enum class GrBlendFactor : int32_t
{
    Zero = 0,
    One = 1,
    SrcAlpha = 2,
    OneMinusSrcAlpha = 3,
};

enum class GrFogMode : int32_t
{
    Disable = 0,
    WithTable = 1,  // per pixel, from the fog table by the pixel's W
};

enum class GrChipId : int32_t
{
    Tmu0 = 0,
};
// Level of detail: the longer side of the texture, 256 >> code texels.
enum class GrLod : int32_t
{
    Lod256 = 0,
    Lod128 = 1,
    Lod64 = 2,
    Lod32 = 3,
    Lod16 = 4,
    Lod8 = 5,
    Lod4 = 6,
    Lod2 = 7,
    Lod1 = 8,
};
// Width : height. The longer side spans 0..256 in s or t; the shorter side 256 / ratio.
enum class GrAspectRatio : int32_t
{
    Aspect8x1 = 0,
    Aspect4x1 = 1,
    Aspect2x1 = 2,
    Aspect1x1 = 3,
    Aspect1x2 = 4,
    Aspect1x4 = 5,
    Aspect1x8 = 6,
};
enum class GrTextureFormat : int32_t
{
    P8 = 5,         // 8-bit index into the palette
    Rgb565 = 10,    // 16-bit, red in the top five bits
    Argb4444 = 12,  // 16-bit, alpha in the top nibble
};
enum class GrMipMapLevelMask : int32_t
{
    Both = 3,
};
enum class GrTextureFilterMode : int32_t
{
    PointSampled = 0,
    Bilinear = 1,
};
enum class GrMipMapMode : int32_t
{
    Disable = 0,
};
enum class GrTextureClampMode : int32_t
{
    Wrap = 0,  // coordinates repeat, negative ones too
};
enum class GrTexTable : int32_t
{
    Palette = 2,  // 256 words 0x00RRGGBB
};

// One texture level: width and height follow from largeLod and aspectRatio; texels are rows of
// that width without padding, 8-bit or 16-bit host words. Only single-level textures exist
// (smallLod == largeLod).
struct GrTexInfo
{
    GrLod smallLod;
    GrLod largeLod;
    GrAspectRatio aspectRatio;
    GrTextureFormat format;
    void* data;
};

enum class GrLock : int32_t
{
    ReadOnly = 0,
    WriteOnly = 1,
};
enum class GrBuffer : int32_t
{
    FrontBuffer = 0,
    BackBuffer = 1,
};
enum class GrLfbWriteMode : int32_t
{
    Rgb565 = 0,
};

struct GrLfbInfo
{
    void* lfbPtr;            // pixel (0, 0) of the locked buffer
    uint32_t strideInBytes;  // from one row to the next; may exceed 2 x width
};

// Board and window.
void grGlideInit();
bool grSstQueryBoards(GrHwConfiguration* hw);
bool grSstQueryHardware(GrHwConfiguration* hw);
void grSstSelect(int which);
// Opens the screen in the given mode: two colour buffers and one depth buffer. window is the
// caller's window handle and may be null; frames reach the screen through the present
// callback (GlidePresent.h).
bool grSstWinOpen(void* window, GrScreenResolution resolution, GrScreenRefresh refresh,
                  GrColorFormat format, GrOriginLocation origin, int colourBuffers, int auxBuffers);
void grSstWinClose();
void grSstControl(GrControl code);
void grGlideShutdown();
void grSstIdle();

// Buffers. Clear and primitives write only inside the clip window: minX <= x < maxX,
// minY <= y < maxY.
void grBufferClear(GrColor colour, GrAlpha alpha, uint16_t depth);
void grBufferSwap(int swapInterval);
void grClipWindow(uint32_t minX, uint32_t minY, uint32_t maxX, uint32_t maxY);
void grColorMask(bool rgb, bool alpha);
void grDepthMask(bool enable);
void grDepthBufferMode(GrDepthBufferMode mode);
void grDepthBufferFunction(GrCmpFunction function);
void grGammaCorrectionValue(float gamma);
void grDitherMode(GrDitherMode mode);
void grHints(GrHint type, uint32_t value);

// Pixel pipeline.
void grColorCombine(GrCombineFunction function, GrCombineFactor factor, GrCombineLocal local,
                    GrCombineOther other, bool invert);
void grAlphaCombine(GrCombineFunction function, GrCombineFactor factor, GrCombineLocal local,
                    GrCombineOther other, bool invert);
void grAlphaBlendFunction(GrBlendFactor rgbSource, GrBlendFactor rgbDestination,
                          GrBlendFactor alphaSource, GrBlendFactor alphaDestination);
void grConstantColorValue(GrColor colour);

// Texture unit. rgbFunction / alphaFunction Local pass the texel on, Zero gives 0.
void grTexCombine(GrChipId tmu, GrCombineFunction rgbFunction, GrCombineFactor rgbFactor,
                  GrCombineFunction alphaFunction, GrCombineFactor alphaFactor, bool rgbInvert,
                  bool alphaInvert);
// No per-pixel level of detail is computed: the magnification filter applies to every pixel.
void grTexFilterMode(GrChipId tmu, GrTextureFilterMode minFilter, GrTextureFilterMode magFilter);
void grTexMipMapMode(GrChipId tmu, GrMipMapMode mode, bool lodBlend);
void grTexClampMode(GrChipId tmu, GrTextureClampMode sMode, GrTextureClampMode tMode);
uint32_t grTexMinAddress(GrChipId tmu);
uint32_t grTexMaxAddress(GrChipId tmu);
// Texels are read from texture memory at startAddress, never from info->data.
void grTexSource(GrChipId tmu, uint32_t startAddress, GrMipMapLevelMask levels,
                 const GrTexInfo* info);
void grTexDownloadMipMap(GrChipId tmu, uint32_t startAddress, GrMipMapLevelMask levels,
                         const GrTexInfo* info);
void grTexDownloadTable(GrChipId tmu, GrTexTable type, const void* data);

// Primitives. A polygon is a convex fan (v0, vi, vi+1) drawn whatever its winding.
void grDrawPolygonVertexList(int count, const GrVertex* vertices);
void grDrawLine(const GrVertex* a, const GrVertex* b);
void grAADrawLine(const GrVertex* a, const GrVertex* b);

// Direct pixel access: raw 5-6-5 pixels, no clip, depth, blend or dither.
bool grLfbLock(GrLock type, GrBuffer buffer, GrLfbWriteMode writeMode, GrOriginLocation origin,
               bool pixelPipeline, GrLfbInfo* info);
bool grLfbUnlock(GrLock type, GrBuffer buffer);

// Fog.
void grFogMode(GrFogMode mode);
void grFogTable(const GrFog table[kGrFogTableSize]);
void grFogColorValue(GrColor colour);
// Fills the table for fog growing linearly with W from nearW (none) to farW (full).
void guFogGenerateLinear(GrFog table[kGrFogTableSize], float nearW, float farW);
