// The exact rules of the pixel pipeline, checked against their definitions.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "glide/Colour.h"
#include "glide/Depth.h"
#include "glide/Dither.h"
#include "glide/Fog.h"
#include "glide/Glide.h"
#include "glide/TexelFetch.h"
#include "glide/TextureUnit.h"

namespace
{

using namespace glide;

TEST(DepthEncoding, FollowsTheFourTwelveFloat)
{
    struct Case
    {
        float w;
        uint32_t depth;
    };
    const Case cases[] = {{0.5f, 0x0000},     {1.0f, 0x0000},     {1.5f, 0x0800},
                          {10.0f, 0x3400},    {100.0f, 0x6900},   {8192.0f, 0xD000},
                          {60000.0f, 0xFD4C}, {65535.9f, 0xFFFF}, {65536.0f, 0xFFFF},
                          {1e30f, 0xFFFF}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(EncodeDepth(c.w), c.depth) << "W = " << c.w;
    }
}

TEST(DepthEncoding, PutsPointsBehindTheEyeFarthest)
{
    // oow <= 0 or not a number: W is infinite, negative or not a number.
    EXPECT_EQ(EncodeDepth(1.0f / 0.0f), 0xFFFFu);
    EXPECT_EQ(EncodeDepth(1.0f / -0.0f), 0xFFFFu);
    EXPECT_EQ(EncodeDepth(-5.0f), 0xFFFFu);
    EXPECT_EQ(EncodeDepth(std::numeric_limits<float>::quiet_NaN()), 0xFFFFu);
}

TEST(DepthEncoding, IsMonotonicAndMatchesTheFormula)
{
    uint32_t previous = 0;
    for (double w = 1.0; w < 65536.0; w *= 1.0007)
    {
        const uint32_t depth = EncodeDepth(static_cast<float>(w));
        const double exact = static_cast<float>(w);
        const int exponent = static_cast<int>(std::floor(std::log2(exact)));
        const uint32_t mantissa =
            static_cast<uint32_t>(std::floor((exact / std::ldexp(1.0, exponent) - 1.0) * 4096.0));
        ASSERT_EQ(depth, static_cast<uint32_t>(exponent) << 12 | mantissa) << "W = " << w;
        ASSERT_GE(depth, previous);
        previous = depth;
    }
}

TEST(DepthCompare, EveryFunctionPassesItsOrders)
{
    // Stored value 100 against incoming 99 (less), 100 (equal) and 101 (greater).
    struct Case
    {
        GrCmpFunction function;
        bool less, equal, greater;
    };
    const Case cases[] = {
        {GrCmpFunction::Never, false, false, false},  {GrCmpFunction::Less, true, false, false},
        {GrCmpFunction::Equal, false, true, false},   {GrCmpFunction::LEqual, true, true, false},
        {GrCmpFunction::Greater, false, false, true}, {GrCmpFunction::NotEqual, true, false, true},
        {GrCmpFunction::GEqual, false, true, true},   {GrCmpFunction::Always, true, true, true},
    };
    for (const Case& c : cases)
    {
        const uint32_t bits = static_cast<uint32_t>(c.function);
        EXPECT_EQ(DepthPasses(bits, 99, 100), c.less) << bits;
        EXPECT_EQ(DepthPasses(bits, 100, 100), c.equal) << bits;
        EXPECT_EQ(DepthPasses(bits, 101, 100), c.greater) << bits;
    }
}

TEST(FogTable, LinearTablesHaveTheKnownEntries)
{
    GrFog table[kGrFogTableSize];
    guFogGenerateLinear(table, 1.0f, 65000.0f);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[40], 4);
    EXPECT_EQ(table[52], 32);
    EXPECT_EQ(table[60], 128);
    EXPECT_EQ(table[63], 205);

    guFogGenerateLinear(table, -1000.0f, 38000.0f);
    EXPECT_EQ(table[0], 6);
    EXPECT_EQ(table[40], 13);
    EXPECT_EQ(table[56], 113);
    EXPECT_EQ(table[63], 255);
}

TEST(FogTable, EqualNearAndFarGiveFullFogFromThatDistance)
{
    GrFog table[kGrFogTableSize];
    guFogGenerateLinear(table, 1024.0f, 1024.0f);  // W(40) = 1024
    EXPECT_EQ(table[39], 0);
    EXPECT_EQ(table[40], 255);
    EXPECT_EQ(table[63], 255);
}

TEST(FogTable, EntryDistancesSpanOctavesInFourSteps)
{
    EXPECT_DOUBLE_EQ(FogTableW(0), 1.0);
    EXPECT_DOUBLE_EQ(FogTableW(3), 1.6);
    EXPECT_DOUBLE_EQ(FogTableW(4), 2.0);
    EXPECT_DOUBLE_EQ(FogTableW(63), 52428.8);
}

class FogLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < kGrFogTableSize; ++i)
        {
            table_[i] = static_cast<GrFog>(i * 4);  // 0, 4, ... 252
        }
        ramp_ = MakeFogRamp(table_);
    }
    int AtW(double w) const
    {
        const float oow = static_cast<float>(1.0 / w);
        return FogAmount(ramp_, EncodeDepth(1.0f / oow));
    }
    GrFog table_[kGrFogTableSize];
    FogRamp ramp_;
};

TEST_F(FogLookup, HitsEachEntryAtItsDistance)
{
    for (int i = 0; i < kGrFogTableSize; ++i)
    {
        EXPECT_EQ(AtW(FogTableW(i)), table_[i]) << "entry " << i;
    }
}

TEST_F(FogLookup, InterpolatesEvenlyInOneOverWBetweenEntries)
{
    // Halfway between entries 41 and 42 in 1/W: 1/W = (1/W41 + 1/W42) / 2.
    const double halfway = 2.0 / (1.0 / FogTableW(41) + 1.0 / FogTableW(42));
    EXPECT_EQ(AtW(halfway), (table_[41] + table_[42]) / 2);
}

TEST_F(FogLookup, ClampsBeforeTheFirstAndAfterTheLastEntry)
{
    EXPECT_EQ(AtW(0.25), table_[0]);
    EXPECT_EQ(AtW(60000.0), table_[63]);
    EXPECT_EQ(AtW(1e9), table_[63]);
    EXPECT_EQ(FogAmount(ramp_, EncodeDepth(1.0f / -0.5f)), table_[63]);  // behind the eye
}

TEST(FogBlend, MixesTheFogColourInByAmount)
{
    EXPECT_EQ(ApplyFog(200, 40, 0), 200);
    EXPECT_EQ(ApplyFog(200, 40, 255), 40);
    EXPECT_EQ(ApplyFog(200, 40, 128), (200 * 127 + 40 * 128 + 127) / 255);
}

TEST(ColourExpansion, WidensEveryFiveSixFiveAndFourFourFourFourPixel)
{
    for (uint32_t p = 0; p < 0x10000; ++p)
    {
        const uint32_t r5 = p >> 11, g6 = (p >> 5) & 63, b5 = p & 31;
        const uint32_t expected565 = 0xFF000000u | ((r5 << 3 | r5 >> 2) << 16) |
                                     ((g6 << 2 | g6 >> 4) << 8) | (b5 << 3 | b5 >> 2);
        ASSERT_EQ(Expand565(p), expected565) << p;
        const uint32_t expected4444 = ((p >> 12) * 17) << 24 | ((p >> 8 & 15) * 17) << 16 |
                                      ((p >> 4 & 15) * 17) << 8 | (p & 15) * 17;
        ASSERT_EQ(Expand4444(p), expected4444) << p;
        ASSERT_EQ(Pack565(Expand565(p)), p) << "widening is undone by truncation";
    }
}

TEST(ColourArithmetic, ProductIsExactAtTheEnds)
{
    for (int a = 0; a < 256; ++a)
    {
        ASSERT_EQ(Mul(a, 255), a);
        ASSERT_EQ(Mul(a, 0), 0);
        ASSERT_EQ(Mul(255, a), a);
    }
    EXPECT_EQ(AbgrToArgb(0x80332211u), 0x80112233u);
}

TEST(Dithering, TruncatesWhenOffAndRaisesByUpToOneStepWhenOn)
{
    const DitherTable& plain = TruncatingTable();
    const DitherTable& dithered = Dither4x4Table();
    for (int v = 0; v < 256; ++v)
    {
        for (int y = 0; y < 4; ++y)
        {
            for (int x = 0; x < 4; ++x)
            {
                ASSERT_EQ(plain.redBlue[y][x][v], v >> 3);
                ASSERT_EQ(plain.green[y][x][v], v >> 2);
                ASSERT_GE(dithered.redBlue[y][x][v], v >> 3);
                ASSERT_LE(dithered.redBlue[y][x][v], std::min(31, (v >> 3) + 1));
            }
        }
    }
    // The largest threshold (x 0, y 3) lifts 7 to the next 5-bit step; threshold 0 never does.
    EXPECT_EQ(dithered.redBlue[3][0][7], 1);
    EXPECT_EQ(dithered.redBlue[0][0][7], 0);
    EXPECT_EQ(dithered.redBlue[3][0][255], 31);
    EXPECT_EQ(dithered.green[3][0][255], 63);
}

TEST(TexelAddressing, FloorsNegativeCoordinates)
{
    EXPECT_EQ(TexelCoordinate(0.0f), 0);
    EXPECT_EQ(TexelCoordinate(255.9f), 255);
    EXPECT_EQ(TexelCoordinate(-0.25f), -1);
    EXPECT_EQ(TexelCoordinate(-256.0f), -256);
    EXPECT_EQ(TexelCoordinate(-256.5f), -257);
    EXPECT_EQ(TexelCoordinate(1e20f), 1 << 30);
    EXPECT_EQ(TexelCoordinate(std::numeric_limits<float>::quiet_NaN()), -(1 << 30));
}

class TexelSampling : public ::testing::Test
{
protected:
    // 4 x 4 texels, red growing along the row, green falling, read as the pipeline reads the
    // texture unit's decoded copy.
    void SetUp() override
    {
        for (uint16_t i = 0; i < 16; ++i)
        {
            source_[i] = static_cast<uint16_t>(0xF000 | (i << 8) | ((15 - i) << 4));
        }
        unit_.Reset(0, 4096);
        const GrTexInfo info{GrLod::Lod4, GrLod::Lod4, GrAspectRatio::Aspect1x1,
                             GrTextureFormat::Argb4444, source_};
        unit_.Download(0, info);
        unit_.Select(0, info);
        sampler_ = unit_.Sampler(decoded_);
    }
    uint32_t Texel(int x, int y) const { return Expand4444(source_[(y & 3) * 4 + (x & 3)]); }

    uint16_t source_[16];
    TextureUnit unit_;
    DecodedTexels decoded_;
    TexelSampler sampler_;
};

TEST_F(TexelSampling, PointSamplingWrapsBothWays)
{
    EXPECT_EQ(SamplePoint(sampler_, 0, 0), Texel(0, 0));
    EXPECT_EQ(SamplePoint(sampler_, -64, 0), Texel(3, 0)) << "-0.25 is the last column";
    EXPECT_EQ(SamplePoint(sampler_, 4 * 256 + 300, -5 * 256), Texel(1, 3));
}

TEST_F(TexelSampling, BilinearWeighsTheFourNeighbours)
{
    // A sample at a texel centre, after the half-texel shift, is that texel.
    EXPECT_EQ(SampleBilinear(sampler_, 2 * 256, 1 * 256), Texel(2, 1));
    // Halfway between columns 3 and 0 (wrapped) of row 0.
    const uint32_t mixed = SampleBilinear(sampler_, 3 * 256 + 128, 0);
    EXPECT_EQ(Red(mixed), (Red(Texel(3, 0)) * 128 + Red(Texel(0, 0)) * 128) >> 8);
    EXPECT_EQ(Green(mixed), (Green(Texel(3, 0)) * 128 + Green(Texel(0, 0)) * 128) >> 8);
    EXPECT_EQ(Alpha(mixed), 255);
}

TEST_F(TexelSampling, BilinearWrapsPastTheLastRowAndColumn)
{
    // The corner sample blends texels (3, 3), (0, 3), (3, 0) and (0, 0) equally.
    const uint32_t corner = SampleBilinear(sampler_, 3 * 256 + 128, 3 * 256 + 128);
    const auto blend = [&](int (*channel)(uint32_t))
    {
        const int top = (channel(Texel(3, 3)) * 128 + channel(Texel(0, 3)) * 128) >> 8;
        const int bottom = (channel(Texel(3, 0)) * 128 + channel(Texel(0, 0)) * 128) >> 8;
        return (top * 128 + bottom * 128) >> 8;
    };
    EXPECT_EQ(Red(corner), blend(Red));
    EXPECT_EQ(Green(corner), blend(Green));
    EXPECT_EQ(Blue(corner), blend(Blue));
}

TEST(TextureLayout, FollowsLevelOfDetailAndAspect)
{
    struct Case
    {
        GrLod lod;
        GrAspectRatio aspect;
        GrTextureFormat format;
        int width, height;
        uint32_t bytes;
    };
    const Case cases[] = {
        {GrLod::Lod256, GrAspectRatio::Aspect8x1, GrTextureFormat::Rgb565, 256, 32, 16384},
        {GrLod::Lod128, GrAspectRatio::Aspect1x4, GrTextureFormat::Argb4444, 32, 128, 8192},
        {GrLod::Lod4, GrAspectRatio::Aspect1x8, GrTextureFormat::P8, 1, 4, 4},
        {GrLod::Lod1, GrAspectRatio::Aspect1x1, GrTextureFormat::P8, 1, 1, 1},
    };
    for (const Case& c : cases)
    {
        const std::optional<TextureLayout> layout =
            LayoutOf(GrTexInfo{c.lod, c.lod, c.aspect, c.format, nullptr});
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(layout->width, c.width);
        EXPECT_EQ(layout->height, c.height);
        EXPECT_EQ(layout->SizeInBytes(), c.bytes);
    }
    EXPECT_FALSE(LayoutOf(GrTexInfo{GrLod::Lod1, GrLod::Lod2, GrAspectRatio::Aspect1x1,
                                    GrTextureFormat::P8, nullptr}))
        << "mipmap chains are not supported";
    EXPECT_FALSE(LayoutOf(GrTexInfo{static_cast<GrLod>(9), static_cast<GrLod>(9),
                                    GrAspectRatio::Aspect1x1, GrTextureFormat::P8, nullptr}));
}

}  // namespace
