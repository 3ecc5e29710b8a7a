#pragma once

// The render state decoded for drawing: what every covered pixel goes through, in order:
//   1. depth (W-buffer on): D = EncodeDepth(1 / oow), compared with the stored value; a miss
//      ends the pixel;
//   2. texel, if a combine uses it: s / tmuOow, t / tmuOow through the filter;
//   3. colour and alpha combine: each a product of two sources (zero, one, iterated, texel,
//      constant), optionally inverted; lines scale the alpha by their coverage;
//   4. fog (table mode) from the depth value of W, looked up in a table made once per fog table;
//   5. blend with the stored pixel;
//   6. 5-6-5 write through the dither table (colour writes on), depth write (depth writes on).
// Decoded once per state change; each combination of the costly choices (filter, the common
// combine, fog, blend) gets its own span routine, and the common combine with a replace or
// source-over blend one that draws four pixels at a time.

#include <cstdint>
#include <memory>

#include "glide/Dither.h"
#include "glide/Fog.h"
#include "glide/Glide.h"
#include "glide/GlideOptions.h"
#include "glide/TexelFetch.h"
#include "glide/TextureUnit.h"

namespace glide
{

enum class TexelKind : uint8_t
{
    None,  // no combine reads the texture
    Point,
    Bilinear,
    Count,
};

enum class BlendKind : uint8_t
{
    Replace,     // source x 1 + destination x 0: the stored pixel is not read
    SourceOver,  // source x alpha + destination x (1 - alpha)
    General,
    Count,
};

// Inputs of a combine. The values index Pipeline's per-pixel source list.
enum class CombineSource : uint8_t
{
    Zero,
    One,
    Iterated,
    Texel,
    Constant,
};

// The vertex attributes along one screen row: attribute at the centre of pixel column x is
// base + step x (x - originX). The origin lies near the primitive, so that the float base holds
// a value of the size of the ones drawn, and does not depend on the clip window.
// Colours are 0-255.
struct SpanPlanes
{
    int originX;
    float oow, tmuOow, sow, tow, r, g, b, a;
    float dOow, dTmuOow, dSow, dTow, dR, dG, dB, dA;
};

// Whether the texel coordinates' perspective, scale / tmuOow, can be taken as scale x (1 / oow)
// from the W the depth needs anyway, with the same result bit for bit, on the columns
// [first, last]: the two planes are one, and 1 / oow and its scaled value stay normal floats
// there, so that the power-of-two scale moves the exponent alone. Planes evaluated as the span
// routines do are monotonic in the column, so the two ends bound every value between.
inline bool PerspectiveFromW(const SpanPlanes& s, float scale, int first, int last)
{
    if (s.tmuOow != s.oow || s.dTmuOow != s.dOow || scale < 1.0f || scale > 256.0f)
    {
        return false;
    }
    const float firstOow = s.oow + s.dOow * static_cast<float>(first - s.originX);
    const float lastOow = s.oow + s.dOow * static_cast<float>(last - s.originX);
    // One sign at both ends, so no value between comes near 0 (false for not a number).
    const auto positive = [](float oow) { return oow > 0x1p-100f && oow < 0x1p100f; };
    const auto negative = [](float oow) { return oow < -0x1p-100f && oow > -0x1p100f; };
    return (positive(firstOow) && positive(lastOow)) || (negative(firstOow) && negative(lastOow));
}

struct Pipeline;

// Draws pixels x0 <= x < x1 of row y; coverage 0-255 scales the alpha (lines only).
using SpanFunction = void (*)(const Pipeline& pipeline, int y, int x0, int x1,
                              const SpanPlanes& planes, int coverage);

struct Pipeline
{
    uint16_t* colour = nullptr;  // the back buffer
    int colourStride = 0;        // in pixels
    uint16_t* depth = nullptr;
    int depthStride = 0;

    bool depthOn = false;  // W-buffer mode: test and maybe write
    uint32_t depthFunction = 0;
    bool depthWrite = false;

    TexelSampler sampler;
    DecodedTexels texels;              // what the sampler reads, kept while this pipeline is in use
    uint32_t texelKeep = 0xFFFFFFFFu;  // the texture unit's output: (texel & keep) ^ invert
    uint32_t texelInvert = 0;

    CombineSource colourA = CombineSource::Texel;
    CombineSource colourB = CombineSource::Iterated;
    uint32_t colourInvert = 0;  // 0x00FFFFFF when inverted
    CombineSource alphaA = CombineSource::Texel;
    CombineSource alphaB = CombineSource::Constant;
    int alphaInvert = 0;    // 0xFF when inverted
    uint32_t constant = 0;  // 0xAARRGGBB

    bool fogOn = false;
    std::shared_ptr<const FogByDepth> fogKeep;  // kept while this pipeline is in use
    const uint8_t* fog = nullptr;               // [depth value]: the fog 0-255
    int fogRed = 0, fogGreen = 0, fogBlue = 0;

    GrBlendFactor blendSource = GrBlendFactor::One;
    GrBlendFactor blendDestination = GrBlendFactor::Zero;

    bool colourWrite = true;
    const DitherTable* dither = nullptr;
    // [y & 3]: what the dither adds to blue, green, red and alpha of four pixels at columns
    // 0-3 modulo 4 before the shift: t / 2, t / 4, t / 2, 0 (for the four-pixel routines).
    alignas(16) int16_t ditherAdds[4][16] = {};

    SpanFunction triangleSpan = nullptr;
    SpanFunction lineSpan = nullptr;  // never the common-combine shortcut: lines have coverage
};

SpanFunction ChooseSpanFunction(TexelKind texel, bool commonCombine, bool fog, BlendKind blend);
// The routine of the common combine that draws several pixels at a time, where the chosen
// routines have one (else null).
SpanFunction ChooseVectorSpanFunction(GlideSpanRoutines routines, TexelKind texel, bool fog,
                                      BlendKind blend);
#if defined(__SSE2__)
SpanFunction ChooseFourWideSpanFunction(TexelKind texel, bool fog, BlendKind blend);
#endif
#if defined(__x86_64__)
bool EightWideSpansRun();  // the processor has AVX2
SpanFunction ChooseEightWideSpanFunction(TexelKind texel, bool fog, BlendKind blend);
#endif

}  // namespace glide
