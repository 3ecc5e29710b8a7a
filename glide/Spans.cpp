// The span routines: one per combination of texel kind, combine shortcut, fog and blend, so
// that the per-pixel loop carries no branch on those. Depth, colour mask and dither stay run-time
// values; they are the same for every pixel of a span and cost the predictor nothing.

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "glide/Colour.h"
#include "glide/Depth.h"
#include "glide/Pipeline.h"

namespace glide
{
namespace
{

template <TexelKind kTexel>
[[gnu::always_inline]] inline uint32_t FetchTexel(const TexelSampler& sampler, float sow, float tow,
                                                  float tmuOow)
{
    const float perspective = sampler.coordinateScale / tmuOow;
    int32_t x256 = TexelCoordinate(sow * perspective);
    int32_t y256 = TexelCoordinate(tow * perspective);
    if constexpr (kTexel == TexelKind::Bilinear)
    {
        return SampleBilinear(sampler, x256 - 128, y256 - 128);
    }
    else
    {
        return SamplePoint(sampler, x256, y256);
    }
}

// An iterated colour channel at a pixel: rounded and clamped to 0-255.
inline int IteratedChannel(float value)
{
    value = std::max(0.0f, value);  // also not a number
    value = std::min(255.0f, value);
    return static_cast<int>(value + 0.5f);
}

inline int BlendFactor(GrBlendFactor factor, int alpha)
{
    switch (factor)
    {
        case GrBlendFactor::Zero:
            return 0;
        case GrBlendFactor::One:
            return 255;
        case GrBlendFactor::SrcAlpha:
            return alpha;
        case GrBlendFactor::OneMinusSrcAlpha:
            return 255 - alpha;
    }
    return 0;
}

inline int Saturate(int value)
{
    return value < 255 ? value : 255;
}

template <TexelKind kTexel, bool kCommonCombine, bool kFog, BlendKind kBlend>
void DrawSpan(const Pipeline& p, int y, int x0, int x1, const SpanPlanes& s, int coverage)
{
    uint16_t* const colourRow = p.colour + static_cast<std::ptrdiff_t>(y) * p.colourStride;
    uint16_t* const depthRow = p.depth + static_cast<std::ptrdiff_t>(y) * p.depthStride;
    const DitherRow dither(*p.dither, y);
    const bool needW = kFog || p.depthOn;  // the depth value also places the fog
    const int constantAlpha = Alpha(p.constant);

    for (int x = x0; x < x1; ++x)
    {
        const float column = static_cast<float>(x - s.originX);
        const float oow = s.oow + s.dOow * column;
        const uint32_t depth = needW ? EncodeDepth(1.0f / oow) : 0;
        if (p.depthOn && !DepthPasses(p.depthFunction, depth, depthRow[x]))
        {
            continue;
        }

        uint32_t texel = 0;
        if constexpr (kTexel != TexelKind::None)
        {
            texel = FetchTexel<kTexel>(p.sampler, s.sow + s.dSow * column, s.tow + s.dTow * column,
                                       s.tmuOow + s.dTmuOow * column);
        }

        int r, g, b, a;
        if constexpr (kCommonCombine)
        {
            // Texel x iterated colour, texel alpha x constant alpha.
            r = Mul(Red(texel), IteratedChannel(s.r + s.dR * column));
            g = Mul(Green(texel), IteratedChannel(s.g + s.dG * column));
            b = Mul(Blue(texel), IteratedChannel(s.b + s.dB * column));
            a = Mul(Alpha(texel), constantAlpha);
        }
        else
        {
            texel = (texel & p.texelKeep) ^ p.texelInvert;
            const uint32_t iterated = PackArgb(
                IteratedChannel(s.a + s.dA * column), IteratedChannel(s.r + s.dR * column),
                IteratedChannel(s.g + s.dG * column), IteratedChannel(s.b + s.dB * column));
            const uint32_t sources[] = {0u, 0xFFFFFFFFu, iterated, texel, p.constant};
            const uint32_t colourA = sources[static_cast<int>(p.colourA)];
            const uint32_t colourB = sources[static_cast<int>(p.colourB)];
            const uint32_t rgb =
                PackArgb(0, Mul(Red(colourA), Red(colourB)), Mul(Green(colourA), Green(colourB)),
                         Mul(Blue(colourA), Blue(colourB))) ^
                p.colourInvert;
            r = Red(rgb);
            g = Green(rgb);
            b = Blue(rgb);
            a = Mul(Alpha(sources[static_cast<int>(p.alphaA)]),
                    Alpha(sources[static_cast<int>(p.alphaB)])) ^
                p.alphaInvert;
            a = Mul(a, coverage);
        }

        if constexpr (kFog)
        {
            const int fog = p.fog[depth];
            r = ApplyFog(r, p.fogRed, fog);
            g = ApplyFog(g, p.fogGreen, fog);
            b = ApplyFog(b, p.fogBlue, fog);
        }

        if (p.colourWrite)
        {
            if constexpr (kBlend == BlendKind::SourceOver)
            {
                if (a != 255)
                {
                    const uint32_t stored = Expand565(colourRow[x]);
                    const int rest = 255 - a;
                    r = Saturate(Mul(r, a) + Mul(Red(stored), rest));
                    g = Saturate(Mul(g, a) + Mul(Green(stored), rest));
                    b = Saturate(Mul(b, a) + Mul(Blue(stored), rest));
                }
            }
            else if constexpr (kBlend == BlendKind::General)
            {
                const uint32_t stored = Expand565(colourRow[x]);
                const int source = BlendFactor(p.blendSource, a);
                const int destination = BlendFactor(p.blendDestination, a);
                r = Saturate(Mul(r, source) + Mul(Red(stored), destination));
                g = Saturate(Mul(g, source) + Mul(Green(stored), destination));
                b = Saturate(Mul(b, source) + Mul(Blue(stored), destination));
            }
            colourRow[x] = dither.Pack(x, r, g, b);
        }
        if (p.depthOn && p.depthWrite)
        {
            depthRow[x] = static_cast<uint16_t>(depth);
        }
    }
}

constexpr int kTexelKinds = static_cast<int>(TexelKind::Count);
constexpr int kBlendKinds = static_cast<int>(BlendKind::Count);

constexpr int TableIndex(int texel, bool commonCombine, bool fog, int blend)
{
    return ((texel * 2 + (commonCombine ? 1 : 0)) * 2 + (fog ? 1 : 0)) * kBlendKinds + blend;
}

template <int kIndex>
constexpr SpanFunction SpanAt()
{
    constexpr int blend = kIndex % kBlendKinds;
    constexpr bool fog = (kIndex / kBlendKinds) % 2 != 0;
    constexpr bool commonCombine = (kIndex / kBlendKinds / 2) % 2 != 0;
    constexpr int texel = kIndex / kBlendKinds / 4;
    return &DrawSpan<static_cast<TexelKind>(texel), commonCombine, fog,
                     static_cast<BlendKind>(blend)>;
}

template <int... kIndices>
constexpr auto MakeSpanTable(std::integer_sequence<int, kIndices...>)
{
    return std::array<SpanFunction, sizeof...(kIndices)>{SpanAt<kIndices>()...};
}

constexpr auto kSpanTable =
    MakeSpanTable(std::make_integer_sequence<int, kTexelKinds * 2 * 2 * kBlendKinds>());

}  // namespace

SpanFunction ChooseSpanFunction(TexelKind texel, bool commonCombine, bool fog, BlendKind blend)
{
    return kSpanTable[TableIndex(static_cast<int>(texel), commonCombine, fog,
                                 static_cast<int>(blend))];
}

}  // namespace glide
