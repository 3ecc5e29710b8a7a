// Golden frames of the rasterizer: small scenes drawn in the top-left corner of the screen,
// each checked by the hash of its pixels (references in golden/), and exact checks of the rules
// that a picture would show less sharply.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <vector>

#include "glide/Glide.h"
#include "glide/GlideOptions.h"
#include "tests/glide/GlideTestScene.h"

namespace
{

constexpr GrColor kBackground = Abgr(32, 48, 96);

// 8 x 8 pictures with a white texel at (0, 0) and a black one at (7, 0), so that the
// orientation and the repeats show.
uint32_t PatternRgb(int x, int y)
{
    if (y == 0 && (x == 0 || x == 7))
    {
        return x == 0 ? 0xFFFFFF : 0x000000;
    }
    return static_cast<uint32_t>(x * 32 + 16) << 16 | static_cast<uint32_t>(y * 32 + 16) << 8 |
           static_cast<uint32_t>(((x + y) & 1) != 0 ? 200 : 60);
}

std::vector<uint16_t> Pattern565()
{
    std::vector<uint16_t> texels;
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            const uint32_t c = PatternRgb(x, y);
            texels.push_back(Rgb565(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF),
                                    static_cast<int>(c & 0xFF)));
        }
    }
    return texels;
}

// Alpha falls from opaque at the left to 1/15 at the right.
std::vector<uint16_t> Pattern4444()
{
    std::vector<uint16_t> texels;
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            const uint32_t c = PatternRgb(x, y);
            texels.push_back(static_cast<uint16_t>((15 - 2 * x) << 12 | (c >> 20) << 8 |
                                                   ((c >> 12) & 15) << 4 | ((c >> 4) & 15)));
        }
    }
    return texels;
}

struct PalettedPattern
{
    std::vector<uint8_t> texels;
    std::vector<uint32_t> palette;
};

PalettedPattern PatternP8()
{
    PalettedPattern pattern;
    pattern.palette.assign(kGrPaletteSize, 0xFF00FF);  // unused entries magenta
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
        {
            const uint8_t index = static_cast<uint8_t>(255 - (y * 8 + x));
            pattern.texels.push_back(index);
            pattern.palette[index] = PatternRgb(x, y) | 0xAB000000u;  // alpha is ignored
        }
    }
    return pattern;
}

// A quad of 32 x 32 pixels at (x, y) showing texels -4 .. 12 of an 8 x 8 texture both ways
// (two repeats and a half), through negative coordinates.
void DrawWrappedQuad(float x, float y)
{
    Draw(Rectangle(x, y, x + 32, y + 32, 1.0f, Abgr(255, 255, 255), -128, -128, 384, 384));
}

// Every golden frame once per set of span routines: each must give the same pixels.
class GlideGolden : public GlideScene, public ::testing::WithParamInterface<GlideSpanRoutines>
{
protected:
    void SetUp() override
    {
        if (!SpanRoutinesAvailable(GetParam()))
        {
            GTEST_SKIP() << "not on this build or processor";
        }
        spanRoutines_ = GetParam();
        GlideScene::SetUp();
    }
};

const auto kEverySpanRoutines = ::testing::Values(
    GlideSpanRoutines::OnePixel, GlideSpanRoutines::FourWide, GlideSpanRoutines::EightWide);

INSTANTIATE_TEST_SUITE_P(Spans, GlideGolden, kEverySpanRoutines, SpanRoutinesName);

TEST_P(GlideGolden, FlatPolygons)
{
    Clear(kBackground);
    grDitherMode(GrDitherMode::Disable);
    UseConstantColour(Abgr(240, 200, 40));
    Draw({Vertex(3.5f, 60.0f), Vertex(30.25f, 2.75f), Vertex(61.0f, 50.5f)});
    UseConstantColour(Abgr(40, 160, 240));
    Draw({Vertex(40, 4), Vertex(62, 10), Vertex(58, 30), Vertex(44, 34), Vertex(36, 20)});
    ExpectGolden("flat", 64, 64, 0x834BC37710588063);
    ExpectUntouchedOutside(64, 64, Rgb565(32, 48, 96));
}

TEST_P(GlideGolden, GouraudShadingWithDither)
{
    Clear(kBackground);
    UseIteratedColour();
    Draw({Vertex(32, 2, 1, Abgr(255, 0, 0)), Vertex(62, 40, 1, Abgr(0, 255, 0)),
          Vertex(2, 40, 1, Abgr(0, 0, 255))});
    // A grey ramp, where the 4 x 4 dither shows between the 5-6-5 steps.
    Draw({Vertex(0, 44, 1, Abgr(0, 0, 0)), Vertex(64, 44, 1, Abgr(64, 64, 64)),
          Vertex(64, 64, 1, Abgr(64, 64, 64)), Vertex(0, 64, 1, Abgr(0, 0, 0))});
    ExpectGolden("gouraud", 64, 64, 0x9C23DBBC9D3127DD);
}

TEST_P(GlideGolden, TexturedEachFormatPointAndBilinearWrapped)
{
    Clear(kBackground);
    grDitherMode(GrDitherMode::Disable);
    grConstantColorValue(0xFF000000u);
    const std::vector<uint16_t> texels565 = Pattern565();
    const std::vector<uint16_t> texels4444 = Pattern4444();
    const PalettedPattern paletted = PatternP8();
    grTexDownloadTable(GrChipId::Tmu0, GrTexTable::Palette, paletted.palette.data());

    for (const bool bilinear : {false, true})
    {
        const GrTextureFilterMode filter =
            bilinear ? GrTextureFilterMode::Bilinear : GrTextureFilterMode::PointSampled;
        grTexFilterMode(GrChipId::Tmu0, filter, filter);
        const float y = bilinear ? 32.0f : 0.0f;
        LoadTexture(0x100, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565,
                    texels565.data());
        DrawWrappedQuad(0, y);
        LoadTexture(0x200, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::Argb4444,
                    texels4444.data());
        DrawWrappedQuad(32, y);
        LoadTexture(0x300, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::P8,
                    paletted.texels.data());
        DrawWrappedQuad(64, y);
    }
    ExpectGolden("textured", 96, 64, 0xBE309471E9971C3D);
}

TEST_P(GlideGolden, PerspectiveCorrectFloor)
{
    Clear(kBackground);
    grDitherMode(GrDitherMode::Disable);
    std::vector<uint16_t> checks(64);
    for (int i = 0; i < 64; ++i)
    {
        checks[i] = ((i % 8 + i / 8) & 1) != 0 ? Rgb565(230, 230, 230) : Rgb565(20, 90, 20);
    }
    LoadTexture(0x100, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565,
                checks.data());
    // Opaque, so replacing gives what blending by alpha gives; no depth buffer needed.
    grAlphaBlendFunction(GrBlendFactor::One, GrBlendFactor::Zero, GrBlendFactor::One,
                         GrBlendFactor::Zero);
    grDepthBufferMode(GrDepthBufferMode::Disable);
    // A square floor seen at an angle: its far edge four times as far (and as narrow).
    const GrColor white = Abgr(255, 255, 255);
    Draw({Vertex(24, 8, 4, white, 0, 0), Vertex(40, 8, 4, white, 256, 0),
          Vertex(64, 64, 1, white, 256, 256), Vertex(0, 64, 1, white, 0, 256)});
    ExpectGolden("perspective", 64, 64, 0xB2DBD72A75184375);

    // Down the middle column s is 128 (texel column 4); t follows 1/w, which is linear on the
    // screen: t = (t/w) / (1/w) with both interpolated between the top (y 8) and bottom (y 64)
    // edges. Where t is not near a texel boundary the pixel shows that texel's check.
    const FrameView565 frame = BackBuffer();
    int checked = 0;
    for (int y = 8; y < 64; ++y)
    {
        const double along = (y + 0.5 - 8.0) / 56.0;
        const double oow = 0.25 + 0.75 * along;
        const double t = 256.0 * along / oow;
        const double texelRow = t / 32.0;
        if (std::fabs(texelRow - std::round(texelRow)) < 0.05)
        {
            continue;
        }
        const int row = static_cast<int>(texelRow);
        const uint16_t expected = ((4 + row) & 1) != 0 ? checks[1] : checks[0];
        EXPECT_EQ(frame.At(32, y), expected) << "row " << y << ", t " << t;
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

TEST_P(GlideGolden, DepthTestIsIndependentOfDrawingOrder)
{
    const auto drawScene = [](bool nearFirst)
    {
        UseConstantColour(Abgr(220, 40, 40));
        const std::vector<GrVertex> nearQuad = Rectangle(8, 8, 40, 40, 10.0f);
        UseConstantColour(Abgr(40, 220, 40));
        const std::vector<GrVertex> farQuad = Rectangle(24, 24, 56, 56, 20.0f);
        const auto drawNear = [&]
        {
            UseConstantColour(Abgr(220, 40, 40));
            Draw(nearQuad);
        };
        const auto drawFar = [&]
        {
            UseConstantColour(Abgr(40, 220, 40));
            Draw(farQuad);
        };
        if (nearFirst)
        {
            drawNear();
            drawFar();
        }
        else
        {
            drawFar();
            drawNear();
        }
        // Two rectangles whose depths cross halfway: each is in front on one side.
        UseConstantColour(Abgr(40, 40, 220));
        Draw({Vertex(0, 44, 2), Vertex(64, 44, 50), Vertex(64, 62, 50), Vertex(0, 62, 2)});
        UseConstantColour(Abgr(220, 220, 40));
        Draw({Vertex(0, 46, 50), Vertex(64, 46, 2), Vertex(64, 64, 2), Vertex(0, 64, 50)});
    };
    Clear(kBackground);
    drawScene(true);
    const uint64_t nearFirst = HashFrame(BackBuffer().Region(0, 0, 64, 64));
    Clear(kBackground);
    drawScene(false);
    EXPECT_EQ(HashFrame(BackBuffer().Region(0, 0, 64, 64)), nearFirst);
    ExpectGolden("depth", 64, 64, 0x116B5E0AB09DEF25);
}

TEST_P(GlideGolden, DepthAndColourMasks)
{
    Clear(kBackground);
    // Depth writes off: the near red rectangle leaves no depth, the far green one covers it.
    grDepthMask(false);
    UseConstantColour(Abgr(220, 40, 40));
    Draw(Rectangle(4, 4, 28, 28, 5.0f));
    grDepthMask(true);
    UseConstantColour(Abgr(40, 220, 40));
    Draw(Rectangle(16, 16, 40, 32, 50.0f));
    // Colour writes off: an invisible near rectangle cuts a hole into the far blue one.
    grColorMask(false, false);
    Draw(Rectangle(8, 40, 24, 56, 5.0f));
    grColorMask(true, false);
    UseConstantColour(Abgr(40, 40, 220));
    Draw(Rectangle(0, 36, 40, 64, 50.0f));
    ExpectGolden("masks", 64, 64, 0x0812377DD9590CE5);
}

TEST_P(GlideGolden, BothBlendFunctions)
{
    Clear(kBackground);
    grAlphaBlendFunction(GrBlendFactor::One, GrBlendFactor::Zero, GrBlendFactor::One,
                         GrBlendFactor::Zero);
    const GrColor stripes[] = {Abgr(255, 0, 0), Abgr(0, 255, 0), Abgr(0, 0, 255),
                               Abgr(255, 255, 255)};
    for (int i = 0; i < 4; ++i)
    {
        UseConstantColour(stripes[i]);
        Draw(Rectangle(i * 16.0f, 0, i * 16.0f + 16, 64));
    }
    grDepthBufferFunction(GrCmpFunction::Always);

    // Translucent black, alpha 128: darkens the top half by about half.
    grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::OneMinusSrcAlpha,
                         GrBlendFactor::One, GrBlendFactor::Zero);
    UseConstantColour(Abgr(0, 0, 0, 128));
    Draw(Rectangle(0, 0, 64, 30));

    // Additive, tinted and faded: a 4444 sprite whose alpha falls to the right.
    grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::One, GrBlendFactor::One,
                         GrBlendFactor::Zero);
    UseTextureTimesIterated();
    grConstantColorValue(Abgr(0, 0, 0, 200));
    const std::vector<uint16_t> sprite = Pattern4444();
    LoadTexture(0x100, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::Argb4444,
                sprite.data());
    Draw(Rectangle(4, 34, 60, 62, 1.0f, Abgr(255, 160, 64), 0, 0, 256, 256));
    ExpectGolden("blend", 64, 64, 0xC0DCCFDD2E46EB2F);
}

TEST_P(GlideGolden, SourceOverBlendsWheneverTheSourceMayBeTranslucent)
{
    Clear(Abgr(0, 0, 255));
    grDitherMode(GrDitherMode::Disable);
    grDepthBufferFunction(GrCmpFunction::Always);
    grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::OneMinusSrcAlpha,
                         GrBlendFactor::One, GrBlendFactor::Zero);
    UseTextureTimesIterated();
    const uint16_t white565[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    const uint16_t halfWhite4444[4] = {0x8FFF, 0x8FFF, 0x8FFF, 0x8FFF};  // alpha 136
    struct Case
    {
        const char* what;
        const void* texels;  // nothing selected when null
        GrTextureFormat format;
        int constantAlpha;
        uint16_t expected;
    };
    const Case cases[] = {
        {"no texture: transparent black", nullptr, GrTextureFormat::Rgb565, 255, 0x001F},
        {"opaque texels, opaque constant", white565, GrTextureFormat::Rgb565, 255, 0xFFFF},
        {"opaque texels, constant alpha 128", white565, GrTextureFormat::Rgb565, 128,
         Rgb565(128, 128, 255)},
        {"texel alpha 136, opaque constant", halfWhite4444, GrTextureFormat::Argb4444, 255,
         Rgb565(136, 136, 255)},
    };
    float x = 0;
    for (const Case& c : cases)
    {
        if (c.texels != nullptr)
        {
            LoadTexture(0x100 + static_cast<uint32_t>(x) * 16, GrLod::Lod2,
                        GrAspectRatio::Aspect1x1, c.format, c.texels);
        }
        grConstantColorValue(Abgr(0, 0, 0, c.constantAlpha));
        Draw(Rectangle(x, 0, x + 8, 8, 1.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
        EXPECT_EQ(BackBuffer().At(static_cast<int>(x) + 3, 3), c.expected) << c.what;
        x += 8;
    }
}

TEST_P(GlideGolden, ANewFogTableShowsFromTheNextPolygon)
{
    Clear(kBackground);
    grDitherMode(GrDitherMode::Disable);
    grDepthBufferFunction(GrCmpFunction::Always);
    UseTextureTimesIterated();
    grConstantColorValue(Abgr(0, 0, 0, 255));
    const uint16_t white565[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    LoadTexture(0x100, GrLod::Lod2, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565, white565);
    grFogColorValue(Abgr(0, 0, 0));
    grFogMode(GrFogMode::WithTable);
    GrFog clear[kGrFogTableSize] = {};
    GrFog full[kGrFogTableSize];
    std::fill(std::begin(full), std::end(full), GrFog{255});
    const GrFog* const tables[] = {clear, full, full, clear};
    for (int i = 0; i < 4; ++i)
    {
        grFogTable(tables[i]);
        Draw(Rectangle(i * 8.0f, 0, i * 8.0f + 8, 8, 10.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
        EXPECT_EQ(BackBuffer().At(i * 8 + 3, 3), tables[i] == full ? 0x0000 : 0xFFFF)
            << "polygon " << i;
    }
}

TEST_P(GlideGolden, TableFogPerPixel)
{
    Clear(kBackground);
    GrFog fog[kGrFogTableSize];
    guFogGenerateLinear(fog, 50.0f, 500.0f);
    grFogTable(fog);
    grFogColorValue(Abgr(200, 200, 210));
    grFogMode(GrFogMode::WithTable);

    // W from 50 at the left to 600 at the right. Textured (through the common combine) with
    // stripes that shrink with distance, then iterated colour only.
    std::vector<uint16_t> stripes(8);
    for (int i = 0; i < 8; ++i)
    {
        stripes[i] = (i & 1) != 0 ? Rgb565(200, 60, 40) : Rgb565(40, 60, 200);
    }
    LoadTexture(0x100, GrLod::Lod8, GrAspectRatio::Aspect8x1, GrTextureFormat::Rgb565,
                stripes.data());
    const GrColor white = Abgr(255, 255, 255);
    Draw({Vertex(0, 0, 50, white, 0, 16), Vertex(64, 0, 600, white, 1024, 16),
          Vertex(64, 30, 600, white, 1024, 16), Vertex(0, 30, 50, white, 0, 16)});
    UseIteratedColour();
    Draw({Vertex(0, 34, 50, Abgr(240, 40, 40)), Vertex(64, 34, 600, Abgr(240, 40, 40)),
          Vertex(64, 64, 600, Abgr(40, 40, 40)), Vertex(0, 64, 50, Abgr(40, 40, 40))});
    ExpectGolden("fog", 64, 64, 0x3D21F10A3A5CBD02);
}

TEST_P(GlideGolden, ClipWindow)
{
    Clear(kBackground);
    grClipWindow(8, 8, 56, 40);
    UseIteratedColour();
    Draw({Vertex(-20, -10, 1, Abgr(255, 255, 0)), Vertex(90, 20, 1, Abgr(0, 255, 255)),
          Vertex(10, 80, 1, Abgr(255, 0, 255))});
    UseConstantColour(Abgr(0, 0, 0));
    const GrVertex from = Vertex(0, 60, 1), to = Vertex(63, 2, 1);
    grDrawLine(&from, &to);
    ExpectGolden("clip", 64, 64, 0x4BC024B4D42B2F7B);
    ExpectUntouchedOutside(56, 40, Rgb565(32, 48, 96));
}

void DrawStar(float centreX, float centreY, bool antialiased, bool reversed)
{
    for (int i = 0; i < 16; ++i)
    {
        const double angle = i * 3.14159265358979 / 8 + 0.1;
        const float radius = i % 2 == 0 ? 29.0f : 20.0f;
        const GrColor colour = i % 3 == 0   ? Abgr(255, 255, 255)
                               : i % 3 == 1 ? Abgr(255, 200, 0)
                                            : Abgr(0, 220, 255);
        GrVertex a = Vertex(centreX, centreY, 1, colour);
        GrVertex b = Vertex(centreX + radius * static_cast<float>(std::cos(angle)),
                            centreY + radius * static_cast<float>(std::sin(angle)), 1, colour);
        if (reversed)
        {
            std::swap(a, b);
        }
        UseConstantColour(colour);
        antialiased ? grAADrawLine(&a, &b) : grDrawLine(&a, &b);
    }
}

TEST_P(GlideGolden, PlainAndAntialiasedLinesEitherWayRound)
{
    const auto drawBoth = [](bool reversed)
    {
        DrawStar(32, 32, false, reversed);
        DrawStar(96, 32, true, reversed);
        // Depth always, as overlays draw lines.
    };
    grDepthBufferFunction(GrCmpFunction::Always);
    grDitherMode(GrDitherMode::Disable);
    Clear(kBackground);
    drawBoth(true);
    const uint64_t reversed = HashFrame(BackBuffer().Region(0, 0, 128, 64));
    Clear(kBackground);
    drawBoth(false);
    EXPECT_EQ(HashFrame(BackBuffer().Region(0, 0, 128, 64)), reversed);
    ExpectGolden("lines", 128, 64, 0x3FDECA9C1C163D1A);
}

TEST_P(GlideGolden, FrameBufferWritesWithPaddedStrideThenPolygons)
{
    Clear(kBackground);
    GrLfbInfo info{};
    ASSERT_TRUE(grLfbLock(GrLock::WriteOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                          GrOriginLocation::UpperLeft, false, &info));
    ASSERT_EQ(info.strideInBytes, kPaddedStrideBytes);
    auto* base = static_cast<uint8_t*>(info.lfbPtr);
    for (int y = 0; y < 64; ++y)
    {
        auto* row = reinterpret_cast<uint16_t*>(base + y * info.strideInBytes);
        for (int x = 0; x < 64; ++x)
        {
            row[x] = Rgb565((x ^ y) * 4, x * 4, y * 4);
        }
    }
    grLfbUnlock(GrLock::WriteOnly, GrBuffer::BackBuffer);
    // A translucent polygon drawn afterwards blends with what the lock wrote.
    UseConstantColour(Abgr(255, 255, 255, 96));
    Draw({Vertex(32, 4), Vertex(60, 32), Vertex(32, 60), Vertex(4, 32)});
    ExpectGolden("lfb", 64, 64, 0x22D5C147BA1AFF66);
    ExpectUntouchedOutside(64, 64, Rgb565(32, 48, 96));
}

// Every pixel of the area is either untouched or covered exactly once: additive drawing of
// triangles sharing edges shows a double hit as a brighter pixel and a gap as a dark one.
TEST_P(GlideGolden, SharedEdgesAreCoveredExactlyOnce)
{
    Clear(Abgr(0, 0, 0));
    grDitherMode(GrDitherMode::Disable);
    grDepthBufferMode(GrDepthBufferMode::Disable);
    grAlphaBlendFunction(GrBlendFactor::One, GrBlendFactor::One, GrBlendFactor::One,
                         GrBlendFactor::Zero);
    UseConstantColour(Abgr(64, 64, 64));
    // A fan over an irregular octagon, and a strip of slivers next to it.
    std::vector<GrVertex> octagon;
    for (int i = 0; i < 8; ++i)
    {
        const double angle = i * 3.14159265358979 / 4 + 0.3;
        octagon.push_back(Vertex(24.3f + 20.7f * static_cast<float>(std::cos(angle)),
                                 24.6f + 19.9f * static_cast<float>(std::sin(angle))));
    }
    Draw(octagon);
    for (int i = 0; i < 6; ++i)
    {
        const float x = 48.0f + i * 2.37f;
        Draw({Vertex(x, 2.5f), Vertex(x + 2.37f, 2.5f), Vertex(x + 1.1f, 60.25f)});
        Draw({Vertex(x + 2.37f, 2.5f), Vertex(x + 3.47f, 60.25f), Vertex(x + 1.1f, 60.25f)});
    }

    const FrameView565 frame = BackBuffer();
    std::set<uint16_t> values;
    int covered = 0;
    for (int y = 0; y < 64; ++y)
    {
        for (int x = 0; x < 64; ++x)
        {
            values.insert(frame.At(x, y));
            covered += frame.At(x, y) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(values, (std::set<uint16_t>{0, Rgb565(64, 64, 64)}));
    // The octagon's area is about 1165 pixels, the strip's 6 x 2.37 x 57.75 = 821.
    EXPECT_NEAR(covered, 1165 + 821, 40);
}

// A full screen of small polygons in three layers, each nearer than the one before (textured
// and fogged, translucent, additive),
// drawn on a fresh board with the given number of threads; with flushEach every polygon is
// drawn before the next is given (on the calling thread), else all at the swap (in bands).
uint64_t DrawBusyScreen(int threads, bool flushEach,
                        GlideSpanRoutines routines = GlideSpanRoutines::Fastest)
{
    GlideOptions options;
    options.threads = threads;
    options.spanRoutines = routines;
    SetGlideOptions(options);
    grGlideInit();
    EXPECT_TRUE(grSstWinOpen(nullptr, GrScreenResolution::Res512x384, GrScreenRefresh::Rate60Hz,
                             GrColorFormat::Abgr, GrOriginLocation::UpperLeft, 2, 1));
    grDepthBufferMode(GrDepthBufferMode::WBuffer);
    grDepthBufferFunction(GrCmpFunction::LEqual);
    grDepthMask(true);
    grBufferClear(kBackground, 0, 0xFFFF);
    const std::vector<uint16_t> texels = Pattern565();
    LoadTexture(0x100, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565,
                texels.data());
    grTexFilterMode(GrChipId::Tmu0, GrTextureFilterMode::Bilinear, GrTextureFilterMode::Bilinear);
    GrFog fog[kGrFogTableSize];
    guFogGenerateLinear(fog, 10.0f, 400.0f);
    grFogTable(fog);
    grFogColorValue(Abgr(160, 170, 190));

    const auto flush = [flushEach]
    {
        if (flushEach)
        {
            GrLfbInfo info{};
            grLfbLock(GrLock::ReadOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                      GrOriginLocation::UpperLeft, false, &info);
            grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer);
        }
    };
    for (int layer = 0; layer < 3; ++layer)
    {
        grFogMode(layer == 0 ? GrFogMode::WithTable : GrFogMode::Disable);
        grAlphaBlendFunction(GrBlendFactor::SrcAlpha,
                             layer == 2 ? GrBlendFactor::One : GrBlendFactor::OneMinusSrcAlpha,
                             GrBlendFactor::One, GrBlendFactor::Zero);
        UseTextureTimesIterated();
        grConstantColorValue(Abgr(0, 0, 0, layer == 0 ? 255 : 150));
        for (int y = 0; y < kScreenHeight; y += 24)
        {
            for (int x = 0; x < kScreenWidth; x += 24)
            {
                const float w = 260.0f - 80.0f * layer + (x + y) * 0.1f;  // later ones nearer
                const GrColor colour = Abgr(255 - x / 4, 128 + y / 4, 200, 255);
                const float left = x + layer * 5.25f, top = y + layer * 3.5f;
                Draw({Vertex(left, top, w, colour, 0, 0),
                      Vertex(left + 30.5f, top + 2, w * 1.5f, colour, 300, 0),
                      Vertex(left + 26, top + 27.75f, w * 2, Abgr(40, 40, 40), 300, 300),
                      Vertex(left - 3, top + 25, w, colour, 0, 300)});
                flush();
            }
        }
    }
    GrLfbInfo info{};
    EXPECT_TRUE(grLfbLock(GrLock::ReadOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                          GrOriginLocation::UpperLeft, false, &info));
    grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer);
    const uint64_t hash = HashFrame({static_cast<const uint16_t*>(info.lfbPtr), kScreenWidth,
                                     kScreenHeight, static_cast<int>(info.strideInBytes)});
    grGlideShutdown();
    SetGlideOptions(GlideOptions{});
    return hash;
}

TEST(GlideWorkSharing, PictureIsTheSameHoweverTheWorkIsCutUp)
{
    const uint64_t polygonByPolygon = DrawBusyScreen(1, true);
    EXPECT_EQ(DrawBusyScreen(1, false), polygonByPolygon);
    EXPECT_EQ(DrawBusyScreen(4, false), polygonByPolygon);
    EXPECT_EQ(DrawBusyScreen(7, false), polygonByPolygon);
}

// Textured, fogged polygons whose 1/W runs to the ends of the float range, through 0 and
// beyond, with texture coordinates of 0 where a perspective of infinity would make them NaN.
uint64_t DrawExtremeDepths(GlideSpanRoutines routines)
{
    GlideOptions options;
    options.threads = 1;
    options.spanRoutines = routines;
    SetGlideOptions(options);
    grGlideInit();
    EXPECT_TRUE(grSstWinOpen(nullptr, GrScreenResolution::Res512x384, GrScreenRefresh::Rate60Hz,
                             GrColorFormat::Abgr, GrOriginLocation::UpperLeft, 2, 1));
    grDepthBufferMode(GrDepthBufferMode::WBuffer);
    grDepthBufferFunction(GrCmpFunction::Always);
    grDepthMask(true);
    grBufferClear(kBackground, 0, 0xFFFF);
    const std::vector<uint16_t> texels = Pattern565();
    LoadTexture(0x100, GrLod::Lod8, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565,
                texels.data());
    grTexFilterMode(GrChipId::Tmu0, GrTextureFilterMode::Bilinear, GrTextureFilterMode::Bilinear);
    UseTextureTimesIterated();
    grConstantColorValue(Abgr(0, 0, 0, 255));
    GrFog fog[kGrFogTableSize];
    guFogGenerateLinear(fog, 10.0f, 400.0f);
    grFogTable(fog);
    grFogColorValue(Abgr(160, 170, 190));
    grFogMode(GrFogMode::WithTable);

    const float oows[][2] = {{1e-38f, 1e38f}, {-1.0f, 1.0f},     {1e-30f, 2e-30f},
                             {3e38f, 3e38f},  {-1e-35f, -1e35f}, {0.0f, 0.5f}};
    float top = 0;
    for (const auto& ends : oows)
    {
        for (const float st : {0.0f, 96.0f})
        {
            std::vector<GrVertex> quad = Rectangle(3, top, 301, top + 13);
            for (size_t i = 0; i < quad.size(); ++i)
            {
                const float oow = ends[i == 1 || i == 2 ? 1 : 0];
                quad[i].oow = quad[i].tmuvtx[0].oow = oow;
                quad[i].tmuvtx[0].sow = st * oow * static_cast<float>(i);
                quad[i].tmuvtx[0].tow = st * oow;
            }
            Draw(quad);
            top += 16;
        }
    }
    GrLfbInfo info{};
    EXPECT_TRUE(grLfbLock(GrLock::ReadOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                          GrOriginLocation::UpperLeft, false, &info));
    grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer);
    const uint64_t hash = HashFrame({static_cast<const uint16_t*>(info.lfbPtr), kScreenWidth,
                                     kScreenHeight, static_cast<int>(info.strideInBytes)});
    grGlideShutdown();
    SetGlideOptions(GlideOptions{});
    return hash;
}

class GlideSpanRoutinesAgree : public ::testing::TestWithParam<GlideSpanRoutines>
{
};

TEST_P(GlideSpanRoutinesAgree, OnABusyScreenWithTheOnePixelRoutines)
{
    if (!SpanRoutinesAvailable(GetParam()))
    {
        GTEST_SKIP() << "not on this build or processor";
    }
    EXPECT_EQ(DrawBusyScreen(1, false, GetParam()),
              DrawBusyScreen(1, false, GlideSpanRoutines::OnePixel));
}

TEST_P(GlideSpanRoutinesAgree, AtTheEndsOfTheFloatRangeWithTheOnePixelRoutines)
{
    if (!SpanRoutinesAvailable(GetParam()))
    {
        GTEST_SKIP() << "not on this build or processor";
    }
    EXPECT_EQ(DrawExtremeDepths(GetParam()), DrawExtremeDepths(GlideSpanRoutines::OnePixel));
}

INSTANTIATE_TEST_SUITE_P(Spans, GlideSpanRoutinesAgree, kEverySpanRoutines, SpanRoutinesName);

}  // namespace
