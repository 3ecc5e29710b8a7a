// Golden frames of 2D drawing: solid rectangles, keyed and opaque blits, translucent and
// textured rectangles, additive flares and lines with their blending; a fogged row of
// rectangles at growing depths; and the first, second and last frame of an animation.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "glide/Glide.h"
#include "kit/anim/DemoAnimations.h"
#include "render/RenderApi.h"
#include "tests/render/LibraryScreen.h"

namespace
{

// A table texture of 32 x 32 texels filled by texel(x, y).
template <typename Texel>
void MakeTexture(int32_t slot, int32_t format, Texel texel)
{
    Texture* texture = rdll_CreateTexture(32, 32, slot, format);
    ASSERT_NE(texture, nullptr);
    for (int y = 0; y < 32; ++y)
    {
        for (int x = 0; x < 32; ++x)
        {
            reinterpret_cast<uint16_t*>(texture->pixels)[y * 32 + x] = texel(x, y);
        }
    }
    ASSERT_EQ(rdll_DownLoadTexture(texture), 1);
}

constexpr int32_t kChecks = 1;
constexpr int32_t kGlow = 2;

void MakeTextures()
{
    MakeTexture(kChecks, kTextureFormatRgb565,
                [](int x, int y) {
                    return ((x / 4 + y / 4) % 2 == 0) ? Rgb565(230, 200, 40) : Rgb565(30, 90, 200);
                });
    // A round glow: opaque white in the middle, fading out to the edge.
    MakeTexture(kGlow, kTextureFormatArgb4444,
                [](int x, int y)
                {
                    const double distance = std::hypot(x - 15.5, y - 15.5) / 16.0;
                    const int alpha = std::max(0, static_cast<int>(15.0 * (1.0 - distance)));
                    return static_cast<uint16_t>(alpha << 12 | 0x0FFF);
                });
}

using DrawingGolden = LibraryScreen;

TEST_F(DrawingGolden, RectanglesBlitsFlaresAndLines)
{
    MakeTextures();
    Texture* sprite = PictureFrom(
        kit::RgbaPicture{8, 8,
                         []
                         {
                             std::vector<uint8_t> rgba;
                             for (int i = 0; i < 64; ++i)
                             {
                                 const bool lit = (i % 8 + i / 8) % 3 != 0;
                                 for (const uint8_t channel :
                                      {uint8_t(250), uint8_t(i * 4), uint8_t(90), uint8_t(255)})
                                 {
                                     rgba.push_back(lit ? channel : 0);
                                 }
                             }
                             return rgba;
                         }()});
    ClearScreen(0x00000000);
    rdll_FillSolidRect(0, 0, 256, 80, 0x00804020);
    rdll_FillSolidRect(0, 80, 256, 80, 0x00206040);
    // Opaque and keyed blits, the keyed one half outside the clip rectangle.
    rdll_DrawBitmapRect(sprite, 0, 0, 8, 8, 8, 8, 0, 0, nullptr);
    rdll_SetClipRect(0, 0, 256, 160);
    rdll_DrawBitmapRect(sprite, 0, 0, 20, 8, 8, 8, 1, 0, nullptr);
    rdll_DrawBitmapRect(sprite, 0, 0, 252, 8, 8, 8, 1, 0, nullptr);
    // A black band at half opacity, a textured rectangle scaled and cut by the clip, and the
    // glow blended by its own alpha times 160.
    rdll_DrawRect(-1, 0, 24, 256, 16, 0, 0, 0, 0, 128, 1.0f);
    rdll_SetClipRect(40, 50, 140, 150);
    rdll_DrawRect(kChecks, 20, 44, 96, 64, 0, 0, 32, 32, 255, 1.0f);
    rdll_SetClipRect(0, 0, 256, 160);
    rdll_DrawRect(kGlow, 120, 44, 64, 64, 0, 0, 32, 32, 160, 1.0f);
    // Flares add up: a red and a blue one overlapping, and a faint green one.
    rdll_DrawFlare(kGlow, 170, 60, 48, 48, 0, 0, 32, 32, 255, 255, 80, 40);
    rdll_DrawFlare(kGlow, 195, 75, 48, 48, 0, 0, 32, 32, 255, 40 + 256, 80, 255);
    rdll_DrawFlare(kGlow, 200, 10, 40, 40, 0, 0, 32, 32, 90, 40, 255, 40);
    // Lines, plain and smoothed, one of them cut by the clip rectangle.
    rdll_DrawLine(4, 150, 250, 118, 0xFFFFFFFF, 1.0f, 0);
    rdll_DrawLine(4, 156, 250, 124, 0xFF40FF40, 1.0f, 1);
    rdll_SetClipRect(0, 0, 200, 160);
    rdll_DrawLine(100, 140, 255, 100, 0x00FF4040, 1.0f, 0);
    rdll_SetClipRect(0, 0, kScreenWidth, kScreenHeight);

    ExpectGolden("drawing", 0, 0, 256, 160, 0xA299E9267C8C919F);
    FreePicture(sprite);
}

TEST_F(DrawingGolden, FogThickensWithDepth)
{
    MakeTextures();
    ClearScreen(0x00000000);
    const uint8_t* table = rdll_FogGenerateLinear(-1000.0f, 38000.0f);
    grFogTable(table);
    grFogColorValue(0xFFC0B0A0);
    rdll_EnableFog();
    const float depths[] = {1, 300, 1500, 4000, 8000, 15000, 25000, 40000};
    for (int band = 0; band < 8; ++band)
    {
        rdll_DrawRect(kChecks, band * 32, 0, 32, 48, 0, 0, 32, 32, 255, depths[band]);
    }
    EXPECT_EQ(rdll_DisableFog(), 1);
    for (int band = 0; band < 8; ++band)
    {
        rdll_DrawRect(kChecks, band * 32, 48, 32, 16, 0, 0, 32, 32, 255, depths[band]);
    }
    ExpectGolden("fog", 0, 0, 256, 64, 0x24724CAFE26738A5);
}

TEST_F(DrawingGolden, AnimationFramesFirstSecondAndLast)
{
    kit::CprWriter menu;
    std::string error;
    ASSERT_TRUE(kit::AddDemoAnimations(menu, error)) << error;
    const LibraryArchive archive(menu);
    Texture* picture = nullptr;
    int32_t frames = 0;
    ASSERT_EQ(rdll_OpenAnimation("mainmenu/test3.ani", &picture, &frames), 1);
    const struct
    {
        int32_t frame;
        const char* name;
        uint64_t hash;
    } kFrames[] = {
        {0, "animation-first", 0x9B82A18FEFD353B7},
        {1, "animation-second", 0xC8B2B6F7E6A537E0},
        {frames - 1, "animation-last", 0x2B0E71A56EC124E7},
    };
    for (const auto& shown : kFrames)
    {
        rdll_CopyAniFrame(shown.frame);
        ASSERT_EQ(rdll_DrawBitmapRect(picture, 0, 0, 0, 0, picture->width, picture->height, 0, 0,
                                      nullptr),
                  1);
        ExpectGolden(shown.name, 0, 0, picture->width, picture->height, shown.hash);
    }
    rdll_CloseAnimation();
}

}  // namespace
