// The span routines of the common state eight pixels at a time, for processors with AVX2 (chosen
// at run time). Each 128-bit half of a register holds four pixels laid out as the four-pixel
// routines lay them out, so every step is theirs done twice; each lane computes exactly what the
// one-pixel routine computes, so the pictures are the same whichever routines draw.
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

ZARVO_AVX2 inline __m256i EncodeDepth8(__m256 w)
{
    const __m256i value = _mm256_sub_epi32(_mm256_srli_epi32(_mm256_castps_si256(w), 11),
                                           _mm256_set1_epi32(kFloatOneBits >> 11));
    const __m256i tooLarge = _mm256_cmpgt_epi32(value, _mm256_set1_epi32(0xFFFF));
    const __m256i clamped = _mm256_or_si256(_mm256_andnot_si256(tooLarge, value),
                                            _mm256_and_si256(tooLarge, _mm256_set1_epi32(0xFFFF)));
    return _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), clamped), clamped);
}

ZARVO_AVX2 inline __m256i TexelCoordinate8(__m256 scaled)
{
    constexpr float kLimit = 1073741824.0f;
    scaled = _mm256_max_ps(scaled, _mm256_set1_ps(-kLimit));  // not a number gives -limit
    scaled = _mm256_min_ps(scaled, _mm256_set1_ps(kLimit));
    const __m256i truncated = _mm256_cvttps_epi32(scaled);
    const __m256 below = _mm256_cmp_ps(scaled, _mm256_cvtepi32_ps(truncated), _CMP_LT_OQ);
    return _mm256_add_epi32(truncated, _mm256_castps_si256(below));
}

ZARVO_AVX2 inline __m256i IteratedChannel8(__m256 value)
{
    value = _mm256_max_ps(value, _mm256_setzero_ps());  // not a number gives 0
    value = _mm256_min_ps(value, _mm256_set1_ps(255.0f));
    return _mm256_cvttps_epi32(_mm256_add_ps(value, _mm256_set1_ps(0.5f)));
}

// Eight 0xAARRGGBB words as 16-bit channels: low holds pixels 0-1 and 4-5, high 2-3 and 6-7.
struct Channels
{
    __m256i low;
    __m256i high;
};

ZARVO_AVX2 inline Channels Unpack(__m256i argb)
{
    return {_mm256_unpacklo_epi8(argb, _mm256_setzero_si256()),
            _mm256_unpackhi_epi8(argb, _mm256_setzero_si256())};
}

// One 32-bit value per pixel (at most 16 bits) repeated over the pixel's four channels.
ZARVO_AVX2 inline Channels Broadcast(__m256i perPixel)
{
    const __m256i words = _mm256_packs_epi32(perPixel, perPixel);
    const __m256i pairs = _mm256_unpacklo_epi16(words, words);
    return {_mm256_unpacklo_epi32(pairs, pairs), _mm256_unpackhi_epi32(pairs, pairs)};
}

ZARVO_AVX2 inline __m256i Lerp(__m256i a, __m256i b, __m256i f)
{
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(256), f);
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(a, rest), _mm256_mullo_epi16(b, f)), 8);
}

ZARVO_AVX2 inline Channels Lerp(const Channels& a, const Channels& b, const Channels& f)
{
    return {Lerp(a.low, b.low, f.low), Lerp(a.high, b.high, f.high)};
}

ZARVO_AVX2 inline __m256i Mul(__m256i a, __m256i b)
{
    return _mm256_srli_epi16(_mm256_mullo_epi16(a, _mm256_add_epi16(b, _mm256_set1_epi16(1))), 8);
}

ZARVO_AVX2 inline __m256i DivideBy255(__m256i x)
{
    return _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_add_epi16(x, _mm256_set1_epi16(1)), _mm256_srli_epi16(x, 8)), 8);
}

ZARVO_AVX2 inline __m256i ApplyFog(__m256i colour, __m256i fogColour, __m256i fog)
{
    const __m256i rest = _mm256_sub_epi16(_mm256_set1_epi16(255), fog);
    const __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(colour, rest), _mm256_mullo_epi16(fogColour, fog)),
        _mm256_set1_epi16(127));
    return DivideBy255(sum);
}

// Expand565 of eight pixels, as channels.
ZARVO_AVX2 inline Channels Expand565x8(__m128i pixels)
{
    const __m256i wide = _mm256_cvtepu16_epi32(pixels);
    const __m256i r = _mm256_srli_epi32(wide, 11);
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(wide, 5), _mm256_set1_epi32(0x3F));
    const __m256i b = _mm256_and_si256(wide, _mm256_set1_epi32(0x1F));
    const __m256i r8 = _mm256_or_si256(_mm256_slli_epi32(r, 3), _mm256_srli_epi32(r, 2));
    const __m256i g8 = _mm256_or_si256(_mm256_slli_epi32(g, 2), _mm256_srli_epi32(g, 4));
    const __m256i b8 = _mm256_or_si256(_mm256_slli_epi32(b, 3), _mm256_srli_epi32(b, 2));
    const __m256i argb =
        _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi32(r8, 16), _mm256_slli_epi32(g8, 8)), b8);
    return Unpack(argb);
}

ZARVO_AVX2 inline __m256i SpreadAlpha(__m256i channels)
{
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(channels, 0xFF), 0xFF);
}

// The dithered 5-6-5 words of the channels, in 32-bit lanes 0 and 2 of each half.
ZARVO_AVX2 inline __m256i Pack565(__m256i channels, __m256i add)
{
    const __m256i raised = _mm256_add_epi16(channels, add);
    const __m256i greenLanes = _mm256_set_epi16(0, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1, 0);
    const __m256i shifted =
        _mm256_or_si256(_mm256_andnot_si256(greenLanes, _mm256_srli_epi16(raised, 3)),
                        _mm256_and_si256(greenLanes, _mm256_srli_epi16(raised, 2)));
    const __m256i limited = _mm256_min_epi16(
        shifted, _mm256_set_epi16(0, 31, 63, 31, 0, 31, 63, 31, 0, 31, 63, 31, 0, 31, 63, 31));
    const __m256i sums = _mm256_madd_epi16(
        limited, _mm256_set_epi16(0, 2048, 32, 1, 0, 2048, 32, 1, 0, 2048, 32, 1, 0, 2048, 32, 1));
    return _mm256_add_epi32(sums, _mm256_srli_epi64(sums, 32));
}

// Eight 32-bit values of at most 16 bits (or masks) to eight 16-bit values, in order.
ZARVO_AVX2 inline __m128i Narrow(__m256i values)
{
    const __m256i packed = _mm256_packus_epi32(values, values);
    return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
}

ZARVO_AVX2 inline __m128i NarrowMask(__m256i mask)
{
    const __m256i packed = _mm256_packs_epi32(mask, mask);
    return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
}

// table[indices[0..7]] put together in registers: eight narrow stores read back by one wide
// load would stall the store forwarding.
template <class Entry>
ZARVO_AVX2 inline __m256i Lookup8(const Entry* table, const int32_t* indices)
{
    const auto at = [&](int lane) { return static_cast<int>(table[indices[lane]]); };
    return _mm256_setr_epi32(at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7));
}

// Lanes 0 and 2 of each half of a, then of b.
ZARVO_AVX2 inline __m256i EvenLanes(__m256i a, __m256i b)
{
    return _mm256_castps_si256(
        _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
}

ZARVO_AVX2 inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// The four texels of lane i (top left, bottom left, top right, bottom right) in the low half,
// those of lane i + 4 in the high half: one load each.
ZARVO_AVX2 inline __m256i QuadsOf(const TexelSampler& sampler, const int32_t* xs, const int32_t* ys,
                                  int lane)
{
    const auto at = [&](int i)
    {
        return reinterpret_cast<const __m128i*>(
            sampler.texels + DecodedIndex(sampler.stride, static_cast<uint32_t>(xs[i]),
                                          static_cast<uint32_t>(ys[i])));
    };
    return _mm256_loadu2_m128i(at(lane + 4), at(lane));
}

// Always inlined: called, it handed its two registers back through memory every group.
template <TexelKind kTexel>
[[gnu::always_inline]] ZARVO_AVX2 inline Channels FetchTexels(const TexelSampler& sampler,
                                                              __m256i x256, __m256i y256)
{
    if constexpr (kTexel != TexelKind::Bilinear)
    {
        const __m256i x = _mm256_and_si256(_mm256_srai_epi32(x256, 8),
                                           _mm256_set1_epi32(static_cast<int>(sampler.widthMask)));
        const __m256i y = _mm256_and_si256(_mm256_srai_epi32(y256, 8),
                                           _mm256_set1_epi32(static_cast<int>(sampler.heightMask)));
        alignas(32) int32_t indices[8];
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(indices),
            _mm256_mullo_epi32(
                _mm256_add_epi32(
                    _mm256_mullo_epi32(y, _mm256_set1_epi32(static_cast<int>(sampler.stride))), x),
                _mm256_set1_epi32(kDecodedWordsPerTexel)));
        return Unpack(Lookup8(sampler.texels, indices));
    }
    else
    {
        x256 = _mm256_sub_epi32(x256, _mm256_set1_epi32(128));
        y256 = _mm256_sub_epi32(y256, _mm256_set1_epi32(128));
        alignas(32) int32_t xs[8];
        alignas(32) int32_t ys[8];
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(xs),
            _mm256_and_si256(_mm256_srai_epi32(x256, 8),
                             _mm256_set1_epi32(static_cast<int>(sampler.widthMask))));
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(ys),
            _mm256_and_si256(_mm256_srai_epi32(y256, 8),
                             _mm256_set1_epi32(static_cast<int>(sampler.heightMask))));
        // Transposed within each half into one vector per corner, lanes in order.
        const __m256i quads0 = QuadsOf(sampler, xs, ys, 0);
        const __m256i quads1 = QuadsOf(sampler, xs, ys, 1);
        const __m256i quads2 = QuadsOf(sampler, xs, ys, 2);
        const __m256i quads3 = QuadsOf(sampler, xs, ys, 3);
        const __m256i lefts01 = _mm256_unpacklo_epi32(quads0, quads1);
        const __m256i lefts23 = _mm256_unpacklo_epi32(quads2, quads3);
        const __m256i rights01 = _mm256_unpackhi_epi32(quads0, quads1);
        const __m256i rights23 = _mm256_unpackhi_epi32(quads2, quads3);

        const __m256i fraction = _mm256_set1_epi32(0xFF);
        const Channels fx = Broadcast(_mm256_and_si256(x256, fraction));
        const Channels fy = Broadcast(_mm256_and_si256(y256, fraction));
        const Channels topRow = Lerp(Unpack(_mm256_unpacklo_epi64(lefts01, lefts23)),
                                     Unpack(_mm256_unpacklo_epi64(rights01, rights23)), fx);
        const Channels bottomRow = Lerp(Unpack(_mm256_unpackhi_epi64(lefts01, lefts23)),
                                        Unpack(_mm256_unpackhi_epi64(rights01, rights23)), fx);
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
    const __m256i constantAlpha = _mm256_set1_epi32(static_cast<int>(p.constant & 0xFF000000u));
    const __m256i fogColour = _mm256_unpacklo_epi8(
        _mm256_set1_epi32(static_cast<int>(PackArgb(0, p.fogRed, p.fogGreen, p.fogBlue))),
        _mm256_setzero_si256());
    const __m256i noAlpha =
        _mm256_set_epi16(0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1);
    // Both halves start at a column that is a multiple of four.
    const __m256i ditherLow = _mm256_broadcastsi128_si256(
        _mm_load_si128(reinterpret_cast<const __m128i*>(p.ditherAdds[y & 3])));
    const __m256i ditherHigh = _mm256_broadcastsi128_si256(
        _mm_load_si128(reinterpret_cast<const __m128i*>(p.ditherAdds[y & 3] + 8)));
    const __m256i laneOffsets = _mm256_set_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i spanStart = _mm256_set1_epi32(x0 - 1);
    const __m256i spanEnd = _mm256_set1_epi32(x1);

    const bool shareW =
        needW && PerspectiveFromW(s, p.sampler.coordinateScale, x0 & ~7, ((x1 - 1) | 7));
    for (int group = x0 & ~7; group < x1; group += 8)
    {
        const __m256i columns = _mm256_add_epi32(_mm256_set1_epi32(group), laneOffsets);
        __m256i active = _mm256_and_si256(_mm256_cmpgt_epi32(columns, spanStart),
                                          _mm256_cmpgt_epi32(spanEnd, columns));
        const __m256 column =
            _mm256_cvtepi32_ps(_mm256_sub_epi32(columns, _mm256_set1_epi32(s.originX)));
        const __m256 oow = Evaluate(s.oow, s.dOow, column);

        __m256i depth = _mm256_setzero_si256();
        __m256 w = _mm256_setzero_ps();
        if (needW)
        {
            w = _mm256_div_ps(_mm256_set1_ps(1.0f), oow);
            depth = EncodeDepth8(w);
        }
        if (p.depthOn)
        {
            const __m256i stored = _mm256_cvtepu16_epi32(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(depthRow + group)));
            const __m256i less = _mm256_cmpgt_epi32(stored, depth);
            const __m256i equal = _mm256_cmpeq_epi32(depth, stored);
            const __m256i greater = _mm256_cmpgt_epi32(depth, stored);
            const __m256i passes =
                _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(less, functionLess),
                                                _mm256_and_si256(equal, functionEqual)),
                                _mm256_and_si256(greater, functionGreater));
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
        const __m256i iterated = _mm256_or_si256(
            _mm256_or_si256(constantAlpha,
                            _mm256_slli_epi32(IteratedChannel8(Evaluate(s.r, s.dR, column)), 16)),
            _mm256_or_si256(_mm256_slli_epi32(IteratedChannel8(Evaluate(s.g, s.dG, column)), 8),
                            IteratedChannel8(Evaluate(s.b, s.dB, column))));
        const Channels factor = Unpack(iterated);
        Channels colour{Mul(texel.low, factor.low), Mul(texel.high, factor.high)};

        if constexpr (kFog)
        {
            alignas(32) int32_t depths[8];
            _mm256_store_si256(reinterpret_cast<__m256i*>(depths), depth);
            const Channels fog = Broadcast(Lookup8(p.fog, depths));
            colour.low = ApplyFog(colour.low, fogColour, _mm256_and_si256(fog.low, noAlpha));
            colour.high = ApplyFog(colour.high, fogColour, _mm256_and_si256(fog.high, noAlpha));
        }

        const __m128i oldPixels =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(colourRow + group));
        if constexpr (kBlend == BlendKind::SourceOver)
        {
            const __m256i opaque = _mm256_set1_epi16(255);
            const __m256i alphaLow = SpreadAlpha(colour.low);
            const __m256i alphaHigh = SpreadAlpha(colour.high);
            if (_mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi16(alphaLow, opaque),
                                                      _mm256_cmpeq_epi16(alphaHigh, opaque))) != -1)
            {
                // Source x alpha + stored x (255 - alpha); an opaque pixel keeps its colour.
                const Channels stored = Expand565x8(oldPixels);
                colour.low = _mm256_min_epi16(
                    _mm256_add_epi16(Mul(colour.low, alphaLow),
                                     Mul(stored.low, _mm256_sub_epi16(opaque, alphaLow))),
                    opaque);
                colour.high = _mm256_min_epi16(
                    _mm256_add_epi16(Mul(colour.high, alphaHigh),
                                     Mul(stored.high, _mm256_sub_epi16(opaque, alphaHigh))),
                    opaque);
            }
        }

        const __m128i keep = NarrowMask(active);
        if (p.colourWrite)
        {
            const __m256i lowPixels = Pack565(colour.low, ditherLow);
            const __m256i highPixels = Pack565(colour.high, ditherHigh);
            const __m128i newPixels = Narrow(EvenLanes(lowPixels, highPixels));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(colourRow + group),
                             Select(keep, newPixels, oldPixels));
        }
        if (p.depthOn && p.depthWrite)
        {
            const __m128i oldDepth =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(depthRow + group));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(depthRow + group),
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
