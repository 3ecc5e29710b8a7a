// The span routines of the common state, four pixels at a time: texel x iterated colour with
// texel alpha x constant alpha, blend replace or source-over, point or bilinear, fog or not.
// Each lane computes exactly what the one-pixel routine computes (same float operations in the
// same order, the same integer rules), so the pictures are the same either way.
//
// Groups start at columns that are multiples of four; lanes outside the span keep their pixels.
// As every screen width is a multiple of four, a group never reaches into another row.
//
// Built where the compiler has SSE2; elsewhere the one-pixel routines draw everything.

#include "glide/Pipeline.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <array>
#include <cstdint>
#include <utility>

#include "glide/Colour.h"
#include "glide/Depth.h"

namespace glide
{
namespace
{

// attribute = base + step x column, as the one-pixel routine evaluates it.
inline __m128 Evaluate(float base, float step, __m128 column)
{
    return _mm_add_ps(_mm_set1_ps(base), _mm_mul_ps(_mm_set1_ps(step), column));
}

// EncodeDepth in every lane.
inline __m128i EncodeDepth4(__m128 w)
{
    const __m128i value =
        _mm_sub_epi32(_mm_srli_epi32(_mm_castps_si128(w), 11), _mm_set1_epi32(kFloatOneBits >> 11));
    const __m128i tooLarge = _mm_cmpgt_epi32(value, _mm_set1_epi32(0xFFFF));
    const __m128i clamped = _mm_or_si128(_mm_andnot_si128(tooLarge, value),
                                         _mm_and_si128(tooLarge, _mm_set1_epi32(0xFFFF)));
    return _mm_andnot_si128(_mm_cmplt_epi32(clamped, _mm_setzero_si128()), clamped);
}

// TexelCoordinate in every lane.
inline __m128i TexelCoordinate4(__m128 scaled)
{
    constexpr float kLimit = 1073741824.0f;
    scaled = _mm_max_ps(scaled, _mm_set1_ps(-kLimit));  // not a number gives -limit
    scaled = _mm_min_ps(scaled, _mm_set1_ps(kLimit));
    const __m128i truncated = _mm_cvttps_epi32(scaled);
    const __m128 below = _mm_cmplt_ps(scaled, _mm_cvtepi32_ps(truncated));
    return _mm_add_epi32(truncated, _mm_castps_si128(below));
}

// IteratedChannel in every lane.
inline __m128i IteratedChannel4(__m128 value)
{
    value = _mm_max_ps(value, _mm_setzero_ps());  // not a number gives 0
    value = _mm_min_ps(value, _mm_set1_ps(255.0f));
    return _mm_cvttps_epi32(_mm_add_ps(value, _mm_set1_ps(0.5f)));
}

// Four 0xAARRGGBB words as 16-bit channels: pixels 0-1 and 2-3, each blue, green, red, alpha.
struct Channels
{
    __m128i low;
    __m128i high;
};

inline Channels Unpack(__m128i argb)
{
    return {_mm_unpacklo_epi8(argb, _mm_setzero_si128()),
            _mm_unpackhi_epi8(argb, _mm_setzero_si128())};
}

// One 32-bit value per pixel repeated over the pixel's four channels.
inline Channels Broadcast(__m128i perPixel)
{
    const __m128i words = _mm_packs_epi32(perPixel, perPixel);  // values fit in 16 bits
    const __m128i pairs = _mm_unpacklo_epi16(words, words);
    return {_mm_unpacklo_epi32(pairs, pairs), _mm_unpackhi_epi32(pairs, pairs)};
}

// The same from four 16-bit values in the low half.
inline Channels BroadcastWords(__m128i words)
{
    const __m128i pairs = _mm_unpacklo_epi16(words, words);
    return {_mm_unpacklo_epi32(pairs, pairs), _mm_unpackhi_epi32(pairs, pairs)};
}

// One 32-bit lane, through a register.
inline int32_t Lane(__m128i values, int lane)
{
    switch (lane)
    {
        case 0:
            return _mm_cvtsi128_si32(values);
        case 1:
            return _mm_cvtsi128_si32(_mm_shuffle_epi32(values, 1));
        case 2:
            return _mm_cvtsi128_si32(_mm_shuffle_epi32(values, 2));
        default:
            return _mm_cvtsi128_si32(_mm_shuffle_epi32(values, 3));
    }
}

// (a (256 - f) + b f) >> 8 per channel.
inline __m128i Lerp(__m128i a, __m128i b, __m128i f)
{
    const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(256), f);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, rest), _mm_mullo_epi16(b, f)), 8);
}

inline Channels Lerp(const Channels& a, const Channels& b, const Channels& f)
{
    return {Lerp(a.low, b.low, f.low), Lerp(a.high, b.high, f.high)};
}

// Mul(a, b) = (a (b + 1)) >> 8 per channel.
inline __m128i Mul(__m128i a, __m128i b)
{
    return _mm_srli_epi16(_mm_mullo_epi16(a, _mm_add_epi16(b, _mm_set1_epi16(1))), 8);
}

// x / 255 for 0 <= x <= 65152, exactly.
inline __m128i DivideBy255(__m128i x)
{
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)),
                          8);
}

// ApplyFog on blue, green and red; fog has 0 in the alpha channel, which keeps alpha.
inline __m128i ApplyFog(__m128i colour, __m128i fogColour, __m128i fog)
{
    const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(255), fog);
    const __m128i sum =
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(colour, rest), _mm_mullo_epi16(fogColour, fog)),
                      _mm_set1_epi16(127));
    return DivideBy255(sum);
}

// Expand565 of four pixels, as channels.
inline Channels Expand565x4(__m128i pixels)  // four 16-bit pixels in the low half
{
    const __m128i wide = _mm_unpacklo_epi16(pixels, _mm_setzero_si128());
    const __m128i r = _mm_srli_epi32(wide, 11);
    const __m128i g = _mm_and_si128(_mm_srli_epi32(wide, 5), _mm_set1_epi32(0x3F));
    const __m128i b = _mm_and_si128(wide, _mm_set1_epi32(0x1F));
    const __m128i r8 = _mm_or_si128(_mm_slli_epi32(r, 3), _mm_srli_epi32(r, 2));
    const __m128i g8 = _mm_or_si128(_mm_slli_epi32(g, 2), _mm_srli_epi32(g, 4));
    const __m128i b8 = _mm_or_si128(_mm_slli_epi32(b, 3), _mm_srli_epi32(b, 2));
    const __m128i argb =
        _mm_or_si128(_mm_or_si128(_mm_slli_epi32(r8, 16), _mm_slli_epi32(g8, 8)), b8);
    return Unpack(argb);
}

// Each pixel's alpha channel repeated over its four channels.
inline __m128i SpreadAlpha(__m128i channels)
{
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(channels, 0xFF), 0xFF);
}

// The dithered 5-6-5 words of two pixels' channels, in 32-bit lanes 0 and 2.
inline __m128i Pack565(__m128i channels, __m128i add)
{
    const __m128i raised = _mm_add_epi16(channels, add);
    const __m128i greenLanes = _mm_set_epi16(0, 0, -1, 0, 0, 0, -1, 0);
    const __m128i shifted = _mm_or_si128(_mm_andnot_si128(greenLanes, _mm_srli_epi16(raised, 3)),
                                         _mm_and_si128(greenLanes, _mm_srli_epi16(raised, 2)));
    const __m128i limited = _mm_min_epi16(shifted, _mm_set_epi16(0, 31, 63, 31, 0, 31, 63, 31));
    // blue x 1 + green x 32 and red x 2048 + alpha x 0, then the two sums of each pixel.
    const __m128i sums = _mm_madd_epi16(limited, _mm_set_epi16(0, 2048, 32, 1, 0, 2048, 32, 1));
    return _mm_add_epi32(sums, _mm_srli_epi64(sums, 32));  // pixel words in lanes 0 and 2
}

// Four 32-bit values of at most 16 bits to four 16-bit values in the low half.
inline __m128i Narrow(__m128i values)
{
    const __m128i offset = _mm_set1_epi32(0x8000);
    return _mm_xor_si128(_mm_packs_epi32(_mm_sub_epi32(values, offset), _mm_setzero_si128()),
                         _mm_set1_epi16(static_cast<int16_t>(0x8000)));
}

inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <TexelKind kTexel>
[[gnu::always_inline]] inline void FetchTexels(const TexelSampler& sampler, __m128i x256,
                                               __m128i y256, Channels& texel)
{
    if constexpr (kTexel != TexelKind::Bilinear)
    {
        const auto at = [&](int lane)
        { return static_cast<int>(SamplePoint(sampler, Lane(x256, lane), Lane(y256, lane))); };
        texel = Unpack(_mm_set_epi32(at(3), at(2), at(1), at(0)));
    }
    else
    {
        x256 = _mm_sub_epi32(x256, _mm_set1_epi32(128));
        y256 = _mm_sub_epi32(y256, _mm_set1_epi32(128));
        // Per lane its four texels in one load, top left, bottom left, top right, bottom right;
        // transposed into one vector per corner.
        const auto quad = [&](int lane)
        {
            const uint32_t x = static_cast<uint32_t>(Lane(x256, lane) >> 8) & sampler.widthMask;
            const uint32_t y = static_cast<uint32_t>(Lane(y256, lane) >> 8) & sampler.heightMask;
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                sampler.texels + DecodedIndex(sampler.stride, x, y)));
        };
        const __m128i quad0 = quad(0);
        const __m128i quad1 = quad(1);
        const __m128i quad2 = quad(2);
        const __m128i quad3 = quad(3);
        const __m128i lefts01 = _mm_unpacklo_epi32(quad0, quad1);
        const __m128i lefts23 = _mm_unpacklo_epi32(quad2, quad3);
        const __m128i rights01 = _mm_unpackhi_epi32(quad0, quad1);
        const __m128i rights23 = _mm_unpackhi_epi32(quad2, quad3);
        const __m128i topLeft = _mm_unpacklo_epi64(lefts01, lefts23);
        const __m128i bottomLeft = _mm_unpackhi_epi64(lefts01, lefts23);
        const __m128i topRight = _mm_unpacklo_epi64(rights01, rights23);
        const __m128i bottomRight = _mm_unpackhi_epi64(rights01, rights23);

        const __m128i fraction = _mm_set1_epi32(0xFF);
        const Channels fx = Broadcast(_mm_and_si128(x256, fraction));
        const Channels fy = Broadcast(_mm_and_si128(y256, fraction));
        const Channels top = Lerp(Unpack(topLeft), Unpack(topRight), fx);
        const Channels bottom = Lerp(Unpack(bottomLeft), Unpack(bottomRight), fx);
        texel = Lerp(top, bottom, fy);
    }
}

template <TexelKind kTexel, bool kFog, BlendKind kBlend>
void DrawSpan4(const Pipeline& p, int y, int x0, int x1, const SpanPlanes& s, int /*coverage*/)
{
    uint16_t* const colourRow = p.colour + static_cast<std::ptrdiff_t>(y) * p.colourStride;
    uint16_t* const depthRow = p.depth + static_cast<std::ptrdiff_t>(y) * p.depthStride;
    const bool needW = kFog || p.depthOn;
    const __m128i functionLess = _mm_set1_epi32(-static_cast<int>(p.depthFunction & 1));
    const __m128i functionEqual = _mm_set1_epi32(-static_cast<int>((p.depthFunction >> 1) & 1));
    const __m128i functionGreater = _mm_set1_epi32(-static_cast<int>((p.depthFunction >> 2) & 1));
    const __m128i constantAlpha = _mm_set1_epi32(static_cast<int>(p.constant & 0xFF000000u));
    const __m128i fogColour = _mm_unpacklo_epi8(
        _mm_set1_epi32(static_cast<int>(PackArgb(0, p.fogRed, p.fogGreen, p.fogBlue))),
        _mm_setzero_si128());
    const __m128i noAlpha = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i ditherLow = _mm_load_si128(reinterpret_cast<const __m128i*>(p.ditherAdds[y & 3]));
    const __m128i ditherHigh =
        _mm_load_si128(reinterpret_cast<const __m128i*>(p.ditherAdds[y & 3] + 8));
    const __m128i laneOffsets = _mm_set_epi32(3, 2, 1, 0);
    const __m128i spanStart = _mm_set1_epi32(x0 - 1);
    const __m128i spanEnd = _mm_set1_epi32(x1);

    const bool shareW =
        needW && PerspectiveFromW(s, p.sampler.coordinateScale, x0 & ~3, ((x1 - 1) | 3));
    for (int group = x0 & ~3; group < x1; group += 4)
    {
        const __m128i columns = _mm_add_epi32(_mm_set1_epi32(group), laneOffsets);
        __m128i active =
            _mm_and_si128(_mm_cmpgt_epi32(columns, spanStart), _mm_cmplt_epi32(columns, spanEnd));
        const __m128 column = _mm_cvtepi32_ps(_mm_sub_epi32(columns, _mm_set1_epi32(s.originX)));
        const __m128 oow = Evaluate(s.oow, s.dOow, column);

        __m128i depth = _mm_setzero_si128();
        __m128 w = _mm_setzero_ps();
        if (needW)
        {
            w = _mm_div_ps(_mm_set1_ps(1.0f), oow);
            depth = EncodeDepth4(w);
        }
        if (p.depthOn)
        {
            const __m128i stored = _mm_unpacklo_epi16(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(depthRow + group)),
                _mm_setzero_si128());
            const __m128i less = _mm_cmplt_epi32(depth, stored);
            const __m128i equal = _mm_cmpeq_epi32(depth, stored);
            const __m128i greater = _mm_cmpgt_epi32(depth, stored);
            const __m128i passes = _mm_or_si128(_mm_or_si128(_mm_and_si128(less, functionLess),
                                                             _mm_and_si128(equal, functionEqual)),
                                                _mm_and_si128(greater, functionGreater));
            active = _mm_and_si128(active, passes);
        }
        if (_mm_movemask_epi8(active) == 0)
        {
            continue;
        }

        const __m128 perspective = shareW ? _mm_mul_ps(_mm_set1_ps(p.sampler.coordinateScale), w)
                                          : _mm_div_ps(_mm_set1_ps(p.sampler.coordinateScale),
                                                       Evaluate(s.tmuOow, s.dTmuOow, column));
        const __m128i x256 =
            TexelCoordinate4(_mm_mul_ps(Evaluate(s.sow, s.dSow, column), perspective));
        const __m128i y256 =
            TexelCoordinate4(_mm_mul_ps(Evaluate(s.tow, s.dTow, column), perspective));
        Channels texel;
        FetchTexels<kTexel>(p.sampler, x256, y256, texel);

        // Texel x iterated colour; texel alpha x constant alpha.
        const __m128i iterated = _mm_or_si128(
            _mm_or_si128(constantAlpha,
                         _mm_slli_epi32(IteratedChannel4(Evaluate(s.r, s.dR, column)), 16)),
            _mm_or_si128(_mm_slli_epi32(IteratedChannel4(Evaluate(s.g, s.dG, column)), 8),
                         IteratedChannel4(Evaluate(s.b, s.dB, column))));
        const Channels factor = Unpack(iterated);
        Channels colour{Mul(texel.low, factor.low), Mul(texel.high, factor.high)};

        if constexpr (kFog)
        {
            const auto fogAt = [&](int lane) { return p.fog[Lane(depth, lane)]; };
            __m128i fogs = _mm_cvtsi32_si128(fogAt(0));
            fogs = _mm_insert_epi16(fogs, fogAt(1), 1);
            fogs = _mm_insert_epi16(fogs, fogAt(2), 2);
            fogs = _mm_insert_epi16(fogs, fogAt(3), 3);
            const Channels fog = BroadcastWords(fogs);
            colour.low = ApplyFog(colour.low, fogColour, _mm_and_si128(fog.low, noAlpha));
            colour.high = ApplyFog(colour.high, fogColour, _mm_and_si128(fog.high, noAlpha));
        }

        const __m128i oldPixels =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(colourRow + group));
        if constexpr (kBlend == BlendKind::SourceOver)
        {
            const __m128i opaque = _mm_set1_epi16(255);
            const __m128i alphaLow = SpreadAlpha(colour.low);
            const __m128i alphaHigh = SpreadAlpha(colour.high);
            if (_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(alphaLow, opaque),
                                                _mm_cmpeq_epi16(alphaHigh, opaque))) != 0xFFFF)
            {
                // Source x alpha + stored x (255 - alpha); an opaque pixel keeps its colour.
                const Channels stored = Expand565x4(oldPixels);
                const auto blend = [&](__m128i c, __m128i d, __m128i a) {
                    return _mm_min_epi16(_mm_add_epi16(Mul(c, a), Mul(d, _mm_sub_epi16(opaque, a))),
                                         opaque);
                };
                colour.low = blend(colour.low, stored.low, alphaLow);
                colour.high = blend(colour.high, stored.high, alphaHigh);
            }
        }

        if (p.colourWrite)
        {
            const __m128i lowPixels = Pack565(colour.low, ditherLow);
            const __m128i highPixels = Pack565(colour.high, ditherHigh);
            // Lanes 0 and 2 of each hold the pixel words.
            const __m128i words = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(lowPixels),
                                                                  _mm_castsi128_ps(highPixels),
                                                                  _MM_SHUFFLE(2, 0, 2, 0)));
            const __m128i newPixels = Narrow(words);
            const __m128i keep = _mm_packs_epi32(active, active);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(colourRow + group),
                             Select(keep, newPixels, oldPixels));
        }
        if (p.depthOn && p.depthWrite)
        {
            const __m128i oldDepth =
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(depthRow + group));
            const __m128i keep = _mm_packs_epi32(active, active);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(depthRow + group),
                             Select(keep, Narrow(depth), oldDepth));
        }
    }
}

constexpr int kTexturedKinds = static_cast<int>(TexelKind::Count) - 1;  // all but None

template <int kIndex>
constexpr SpanFunction VectorSpanAt()
{
    constexpr int texel = kIndex / 4 + 1;
    constexpr bool fog = (kIndex / 2) % 2 != 0;
    constexpr BlendKind blend = kIndex % 2 != 0 ? BlendKind::SourceOver : BlendKind::Replace;
    return &DrawSpan4<static_cast<TexelKind>(texel), fog, blend>;
}

template <int... kIndices>
constexpr auto MakeVectorSpanTable(std::integer_sequence<int, kIndices...>)
{
    return std::array<SpanFunction, sizeof...(kIndices)>{VectorSpanAt<kIndices>()...};
}

constexpr auto kVectorSpanTable =
    MakeVectorSpanTable(std::make_integer_sequence<int, kTexturedKinds * 4>());

}  // namespace

SpanFunction ChooseFourWideSpanFunction(TexelKind texel, bool fog, BlendKind blend)
{
    if (texel == TexelKind::None || blend == BlendKind::General)
    {
        return nullptr;
    }
    const int index = (static_cast<int>(texel) - 1) * 4 + (fog ? 2 : 0) +
                      (blend == BlendKind::SourceOver ? 1 : 0);
    return kVectorSpanTable[index];
}

}  // namespace glide

#endif  // __SSE2__
