// The span routines of the common state eight pixels at a time, for processors with AVX2 (chosen
// at run time). A pixel keeps one 32-bit lane from first to last, its channels two to a lane
// (see Channels), so that hardly any step moves data between lanes; each lane computes exactly
// what the one-pixel routine computes, so the pictures are the same whichever routines draw.
//
// Groups start at columns that are multiples of eight; lanes outside the span keep their pixels.
// As every screen width is a multiple of eight, a group never reaches into another row.
//
// Only the functions here are built for AVX2: the shared inline helpers they call stay plain,
// so that no AVX2 copy of one can stand in for it elsewhere.

#include "glide/Pipeline.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <array>
#include <cstdint>
#include <utility>

#include "glide/Colour.h"
#include "glide/Depth.h"

#define ZARVO_AVX2 __attribute__((target("avx2")))

namespace glide
{
namespace
{

ZARVO_AVX2 inline __m256 Evaluate(float base, float step, __m256 column)
{
    return _mm256_add_ps(_mm256_set1_ps(base), _mm256_mul_ps(_mm256_set1_ps(step), column));
}

// EncodeDepth in every lane: a negative W's bits are beyond the largest value.
ZARVO_AVX2 inline __m256i EncodeDepth8(__m256 w)
{
    const __m256i value = _mm256_sub_epi32(_mm256_srli_epi32(_mm256_castps_si256(w), 11),
                                           _mm256_set1_epi32(kFloatOneBits >> 11));
    return _mm256_min_epi32(_mm256_max_epi32(value, _mm256_setzero_si256()),
                            _mm256_set1_epi32(0xFFFF));
}

ZARVO_AVX2 inline __m256i TexelCoordinate8(__m256 scaled)
{
    constexpr float kLimit = 1073741824.0f;
    scaled = _mm256_max_ps(scaled, _mm256_set1_ps(-kLimit));  // not a number gives -limit
    scaled = _mm256_min_ps(scaled, _mm256_set1_ps(kLimit));
    return _mm256_cvttps_epi32(_mm256_floor_ps(scaled));
}

ZARVO_AVX2 inline __m256i IteratedChannel8(__m256 value)
{
    value = _mm256_max_ps(value, _mm256_setzero_ps());  // not a number gives 0
    value = _mm256_min_ps(value, _mm256_set1_ps(255.0f));
    return _mm256_cvttps_epi32(_mm256_add_ps(value, _mm256_set1_ps(0.5f)));
}

// Eight pixels' channels, two 16-bit channels in each pixel's 32-bit lane: blue (low) and red
// in one register, green and alpha in the other. Splitting and joining 0xAARRGGBB words this way
// takes masks and shifts, no shuffles.
struct Channels
{
    __m256i blueRed;
    __m256i greenAlpha;
};

ZARVO_AVX2 inline Channels Split(__m256i argb)
{
    return {_mm256_and_si256(argb, _mm256_set1_epi32(0x00FF00FF)), _mm256_srli_epi16(argb, 8)};
}

// low | high << 16 for 32-bit values of at most 16 bits.
ZARVO_AVX2 inline __m256i Pair(__m256i low, __m256i high)
{
    return _mm256_or_si256(low, _mm256_slli_epi32(high, 16));
}

ZARVO_AVX2 inline __m256i Lerp(__m256i a, __m256i b, __m256i f)
{
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(256), f);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(a, rest), _mm256_mullo_epi16(b, f)), 8);
}

ZARVO_AVX2 inline Channels Lerp(const Channels& a, const Channels& b, __m256i f)
{
    return {Lerp(a.blueRed, b.blueRed, f), Lerp(a.greenAlpha, b.greenAlpha, f)};
}

ZARVO_AVX2 inline __m256i Mul(__m256i a, __m256i b)
{
    return _mm256_srli_epi16(_mm256_mullo_epi16(a, _mm256_add_epi16(b, _mm256_set1_epi16(1))), 8);
}

// x / 255 for every 16-bit x: x x 0x8081 / 2^23.
ZARVO_AVX2 inline __m256i DivideBy255(__m256i x)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(static_cast<short>(0x8081))),
                             7);
}

ZARVO_AVX2 inline __m256i ApplyFog(__m256i colour, __m256i fogColour, __m256i fog)
{
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(255), fog);
    const __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(colour, rest), _mm256_mullo_epi16(fogColour, fog)),
        _mm256_set1_epi16(127));
    return DivideBy255(sum);
}

// Expand565 of eight pixels held one to a 32-bit lane.
ZARVO_AVX2 inline Channels Expand565x8(__m256i pixels)
{
    const __m256i r = _mm256_srli_epi32(pixels, 11);
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(pixels, 5), _mm256_set1_epi32(0x3F));
    const __m256i b = _mm256_and_si256(pixels, _mm256_set1_epi32(0x1F));
    const __m256i blueRed = Pair(b, r);
    return {_mm256_or_si256(_mm256_slli_epi16(blueRed, 3), _mm256_srli_epi16(blueRed, 2)),
            _mm256_or_si256(_mm256_slli_epi32(g, 2), _mm256_srli_epi32(g, 4))};
}

// What the dither adds to each channel, in the lanes of Channels, for the eight columns of a
// group on row y (both halves start at a column that is a multiple of four).
ZARVO_AVX2 inline Channels DitherAdds(const Pipeline& p, int y)
{
    // Per 128-bit half the two pixels' blue, green, red, alpha words become blue, red, blue,
    // red, green, alpha, green, alpha.
    const __m256i byChannel = _mm256_shuffle_epi8(
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p.ditherAdds[y & 3])),
        _mm256_broadcastsi128_si256(
            _mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 6, 7, 10, 11, 14, 15)));
    return {_mm256_permute4x64_epi64(byChannel, _MM_SHUFFLE(2, 0, 2, 0)),
            _mm256_permute4x64_epi64(byChannel, _MM_SHUFFLE(3, 1, 3, 1))};
}

// The dithered 5-6-5 words of the channels, one to a 32-bit lane.
ZARVO_AVX2 inline __m256i Pack565(const Channels& colour, const Channels& add)
{
    const __m256i blueRed = _mm256_min_epi16(
        _mm256_srli_epi16(_mm256_add_epi16(colour.blueRed, add.blueRed), 3), _mm256_set1_epi16(31));
    const __m256i green =
        _mm256_min_epi16(_mm256_srli_epi16(_mm256_add_epi16(colour.greenAlpha, add.greenAlpha), 2),
                         _mm256_set1_epi16(63));
    return _mm256_add_epi32(_mm256_madd_epi16(blueRed, _mm256_set1_epi32(2048 << 16 | 1)),
                            _mm256_madd_epi16(green, _mm256_set1_epi32(32)));
}

// Eight 32-bit values of at most 16 bits to eight 16-bit values, in order, and as many again.
ZARVO_AVX2 inline __m256i Narrow(__m256i first, __m256i second)
{
    return _mm256_permute4x64_epi64(_mm256_packus_epi32(first, second), _MM_SHUFFLE(3, 1, 2, 0));
}

// table[indices] in every 32-bit lane, put together in registers: eight narrow stores read
// back by one wide load would stall the store forwarding.
template <class Entry>
ZARVO_AVX2 inline __m256i Lookup8(const Entry* table, const int32_t* indices)
{
    const auto at = [&](int lane) { return static_cast<int>(table[indices[lane]]); };
    return _mm256_setr_epi32(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
}

ZARVO_AVX2 inline __m256i Lookup8(const uint8_t* table, __m256i indices)
{
    alignas(32) int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), indices);
    return Lookup8(table, at);
}

// The slots (y x stride + x) of the texels at x256 and y256, wrapped.
ZARVO_AVX2 inline __m256i TexelSlots(const TexelSampler& sampler, __m256i x256, __m256i y256)
{
    const __m256i x = _mm256_and_si256(_mm256_srai_epi32(x256, 8),
                                       _mm256_set1_epi32(static_cast<int>(sampler.widthMask)));
    const __m256i y = _mm256_and_si256(_mm256_srai_epi32(y256, 8),
                                       _mm256_set1_epi32(static_cast<int>(sampler.heightMask)));
    return _mm256_add_epi32(
        _mm256_mullo_epi32(y, _mm256_set1_epi32(static_cast<int>(sampler.stride))), x);
}

// The four texels of lane i (top left, bottom left, top right, bottom right) in the low half,
// those of lane i + 4 in the high half: one load each.
ZARVO_AVX2 inline __m256i QuadsOf(const TexelSampler& sampler, const int32_t* slots, int lane)
{
    const auto at = [&](int i)
    {
        return reinterpret_cast<const __m128i*>(sampler.texels + static_cast<uint32_t>(slots[i]) *
                                                                     kDecodedWordsPerTexel);
    };
    return _mm256_loadu2_m128i(at(lane + 4), at(lane));
}

// Always inlined: called, it handed its two registers back through memory every group.
template <TexelKind kTexel>
[[gnu::always_inline]] ZARVO_AVX2 inline Channels FetchTexels(const TexelSampler& sampler,
                                                              __m256i x256, __m256i y256)
{
    static_assert(kDecodedWordsPerTexel == 2, "a slot's word is found by one shift");
    if constexpr (kTexel != TexelKind::Bilinear)
    {
        alignas(32) int32_t indices[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(indices),
                           _mm256_slli_epi32(TexelSlots(sampler, x256, y256), 1));
        return Split(Lookup8(sampler.texels, indices));
    }
    else
    {
        x256 = _mm256_sub_epi32(x256, _mm256_set1_epi32(128));
        y256 = _mm256_sub_epi32(y256, _mm256_set1_epi32(128));
        alignas(32) int32_t slots[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(slots), TexelSlots(sampler, x256, y256));
        // Transposed within each half into one vector per corner, lanes in order.
        const __m256i quads0 = QuadsOf(sampler, slots, 0);
        const __m256i quads1 = QuadsOf(sampler, slots, 1);
        const __m256i quads2 = QuadsOf(sampler, slots, 2);
        const __m256i quads3 = QuadsOf(sampler, slots, 3);
        const __m256i lefts01 = _mm256_unpacklo_epi32(quads0, quads1);
        const __m256i lefts23 = _mm256_unpacklo_epi32(quads2, quads3);
        const __m256i rights01 = _mm256_unpackhi_epi32(quads0, quads1);
        const __m256i rights23 = _mm256_unpackhi_epi32(quads2, quads3);

        // The fractions (low bytes) as the weights of both channels of a lane.
        const __m256i spreadLowByte = _mm256_broadcastsi128_si256(
            _mm_setr_epi8(0, -1, 0, -1, 4, -1, 4, -1, 8, -1, 8, -1, 12, -1, 12, -1));
        const __m256i fx = _mm256_shuffle_epi8(x256, spreadLowByte);
        const __m256i fy = _mm256_shuffle_epi8(y256, spreadLowByte);
        const Channels topRow = Lerp(Split(_mm256_unpacklo_epi64(lefts01, lefts23)),
                                     Split(_mm256_unpacklo_epi64(rights01, rights23)), fx);
        const Channels bottomRow = Lerp(Split(_mm256_unpackhi_epi64(lefts01, lefts23)),
                                        Split(_mm256_unpackhi_epi64(rights01, rights23)), fx);
        return Lerp(topRow, bottomRow, fy);
    }
}

template <TexelKind kTexel, bool kFog, BlendKind kBlend>
ZARVO_AVX2 void DrawSpan8(const Pipeline& p, int y, int x0, int x1, const SpanPlanes& s,
                          int /*coverage*/)
{
    uint16_t* const colourRow = p.colour + static_cast<std::ptrdiff_t>(y) * p.colourStride;
    uint16_t* const depthRow = p.depth + static_cast<std::ptrdiff_t>(y) * p.depthStride;
    const bool needW = kFog || p.depthOn;
    const __m256i functionLess = _mm256_set1_epi32(-static_cast<int>(p.depthFunction & 1));
    const __m256i functionEqual = _mm256_set1_epi32(-static_cast<int>((p.depthFunction >> 1) & 1));
    const __m256i functionGreater =
        _mm256_set1_epi32(-static_cast<int>((p.depthFunction >> 2) & 1));
    const __m256i constantAlpha =
        _mm256_set1_epi32(static_cast<int>((p.constant >> 8) & 0xFF0000u));
    const Channels fogColour{_mm256_set1_epi32(p.fogBlue | p.fogRed << 16),
                             _mm256_set1_epi32(p.fogGreen)};
    const Channels ditherAdds = DitherAdds(p, y);
    // Columns from the planes' origin: small whole numbers, exact in floats however stepped.
    const __m256 spanStart = _mm256_set1_ps(static_cast<float>(x0 - 1 - s.originX));
    const __m256 spanEnd = _mm256_set1_ps(static_cast<float>(x1 - s.originX));
    __m256 column = _mm256_add_ps(_mm256_set1_ps(static_cast<float>((x0 & ~7) - s.originX)),
                                  _mm256_setr_ps(0, 1, 2, 3, 4, 5, 6, 7));

    const bool shareW =
        needW && PerspectiveFromW(s, p.sampler.coordinateScale, x0 & ~7, ((x1 - 1) | 7));
    for (int group = x0 & ~7; group < x1;
         group += 8, column = _mm256_add_ps(column, _mm256_set1_ps(8.0f)))
    {
        __m256i active =
            _mm256_castps_si256(_mm256_and_ps(_mm256_cmp_ps(column, spanStart, _CMP_GT_OQ),
                                              _mm256_cmp_ps(column, spanEnd, _CMP_LT_OQ)));
        const __m256 oow = Evaluate(s.oow, s.dOow, column);

        __m256i depth = _mm256_setzero_si256();
        __m256 w = _mm256_setzero_ps();
        if (needW)
        {
            w = _mm256_div_ps(_mm256_set1_ps(1.0f), oow);
            depth = EncodeDepth8(w);
        }
        __m256i storedDepth = _mm256_setzero_si256();
        if (p.depthOn)
        {
            storedDepth = _mm256_cvtepu16_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(depthRow + group)));
            const __m256i less = _mm256_cmpgt_epi32(storedDepth, depth);
            const __m256i greater = _mm256_cmpgt_epi32(depth, storedDepth);
            const __m256i passes = _mm256_blendv_epi8(
                _mm256_blendv_epi8(functionEqual, functionLess, less), functionGreater, greater);
            active = _mm256_and_si256(active, passes);
        }
        if (_mm256_movemask_epi8(active) == 0)
        {
            continue;
        }

        const __m256 perspective = shareW
                                       ? _mm256_mul_ps(_mm256_set1_ps(p.sampler.coordinateScale), w)
                                       : _mm256_div_ps(_mm256_set1_ps(p.sampler.coordinateScale),
                                                       Evaluate(s.tmuOow, s.dTmuOow, column));
        const __m256i x256 =
            TexelCoordinate8(_mm256_mul_ps(Evaluate(s.sow, s.dSow, column), perspective));
        const __m256i y256 =
            TexelCoordinate8(_mm256_mul_ps(Evaluate(s.tow, s.dTow, column), perspective));
        const Channels texel = FetchTexels<kTexel>(p.sampler, x256, y256);

        // Texel x iterated colour; texel alpha x constant alpha.
        const __m256i iteratedBlueRed = Pair(IteratedChannel8(Evaluate(s.b, s.dB, column)),
                                             IteratedChannel8(Evaluate(s.r, s.dR, column)));
        const __m256i iteratedGreenAlpha =
            _mm256_or_si256(IteratedChannel8(Evaluate(s.g, s.dG, column)), constantAlpha);
        Channels colour{Mul(texel.blueRed, iteratedBlueRed),
                        Mul(texel.greenAlpha, iteratedGreenAlpha)};

        if constexpr (kFog)
        {
            // Alpha takes no fog.
            const __m256i fog = Lookup8(p.fog, depth);
            colour.blueRed = ApplyFog(colour.blueRed, fogColour.blueRed, Pair(fog, fog));
            colour.greenAlpha = ApplyFog(colour.greenAlpha, fogColour.greenAlpha, fog);
        }

        const __m256i oldPixels = _mm256_cvtepu16_epi32(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(colourRow + group)));
        if constexpr (kBlend == BlendKind::SourceOver)
        {
            const __m256i opaque = _mm256_set1_epi16(255);
            const __m256i alpha = _mm256_srli_epi32(colour.greenAlpha, 16);
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, _mm256_set1_epi32(255))) != -1)
            {
                // Source x alpha + stored x (255 - alpha); an opaque pixel keeps its colour.
                const __m256i sourceShare = Pair(alpha, alpha);
                const __m256i storedShare = _mm256_sub_epi16(opaque, sourceShare);
                const Channels stored = Expand565x8(oldPixels);
                colour.blueRed =
                    _mm256_min_epi16(_mm256_add_epi16(Mul(colour.blueRed, sourceShare),
                                                      Mul(stored.blueRed, storedShare)),
                                     opaque);
                colour.greenAlpha =
                    _mm256_min_epi16(_mm256_add_epi16(Mul(colour.greenAlpha, sourceShare),
                                                      Mul(stored.greenAlpha, storedShare)),
                                     opaque);
            }
        }

        // Pixels first, depth values second.
        const __m256i written =
            Narrow(_mm256_blendv_epi8(oldPixels, Pack565(colour, ditherAdds), active),
                   _mm256_blendv_epi8(storedDepth, depth, active));
        if (p.colourWrite)
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(colourRow + group),
                             _mm256_castsi256_si128(written));
        }
        if (p.depthOn && p.depthWrite)
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(depthRow + group),
                             _mm256_extracti128_si256(written, 1));
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
    return &DrawSpan8<static_cast<TexelKind>(texel), fog, blend>;
}

template <int... kIndices>
constexpr auto MakeVectorSpanTable(std::integer_sequence<int, kIndices...>)
{
    return std::array<SpanFunction, sizeof...(kIndices)>{VectorSpanAt<kIndices>()...};
}

constexpr auto kVectorSpanTable =
    MakeVectorSpanTable(std::make_integer_sequence<int, kTexturedKinds * 4>());

}  // namespace

bool EightWideSpansRun()
{
    return __builtin_cpu_supports("avx2") != 0;
}

SpanFunction ChooseEightWideSpanFunction(TexelKind texel, bool fog, BlendKind blend)
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

#endif  // __x86_64__
