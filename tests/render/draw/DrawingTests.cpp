// 2D drawing: the colour conversion, picture clearing and copying, blits and fills through the
// frame-buffer lock, lines and overlays cut to the clip rectangle.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "glide/Glide.h"
#include "render/RenderApi.h"
#include "render/TextureStore.h"
#include "render/draw/Lines.h"
#include "tests/render/LibraryScreen.h"

namespace
{

constexpr uint16_t kUntouched = 0x4208;

uint16_t PatternPixel(int x, int y)
{
    return static_cast<uint16_t>(0x8000 | (x * 37 + y * 101) % 0x7FFF | 1);
}

// A width x height picture of PatternPixel, with rows padded by `padding` bytes.
Texture* PatternPicture(int width, int height, int padding = 0)
{
    const int stride = 2 * width + padding;
    std::vector<uint8_t> bytes(static_cast<size_t>(stride) * height, 0xAB);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const uint16_t pixel = PatternPixel(x, y);
            std::memcpy(&bytes[static_cast<size_t>(y) * stride + 2 * x], &pixel, 2);
        }
    }
    return render::TextureStore::NewPicture(width, height, stride, kTextureFormatRgb565,
                                            bytes.data());
}

uint16_t PixelOf(const Texture& picture, int x, int y)
{
    uint16_t pixel = 0;
    std::memcpy(&pixel, picture.pixels + static_cast<size_t>(y) * picture.stride + 2 * x, 2);
    return pixel;
}

std::vector<uint16_t> Pixels(const FrameView565& frame)
{
    std::vector<uint16_t> pixels;
    for (int y = 0; y < frame.height; ++y)
    {
        for (int x = 0; x < frame.width; ++x)
        {
            pixels.push_back(frame.At(x, y));
        }
    }
    return pixels;
}

TEST(ScreenColour, EachChannelKeepsItsTopBits)
{
    EXPECT_EQ(rdll_GetScreenColor(0x000000FF), 0xF800);
    EXPECT_EQ(rdll_GetScreenColor(0x00FF0000), 0x001F);
    EXPECT_EQ(rdll_GetScreenColor(0x0000FF00), 0x07E0);
    for (uint32_t level = 0; level < 256; ++level)
    {
        const uint32_t grey = level | level << 8 | level << 16 | 0xFF000000u;
        EXPECT_EQ(rdll_GetScreenColor(grey), Rgb565(level, level, level));
    }
}

class Drawing : public LibraryScreen
{
protected:
    void TearDown() override
    {
        for (Texture* picture : pictures_)
        {
            FreePicture(picture);
        }
        LibraryScreen::TearDown();
    }
    Texture* Keep(Texture* picture)
    {
        pictures_.push_back(picture);
        return picture;
    }
    // Draws the scene on a cleared screen and returns the top-left 256 x 160 pixels.
    std::vector<uint16_t> Drawn(const std::function<void()>& scene)
    {
        ClearScreen(0x00404040);
        scene();
        return Pixels(BackBuffer().Region(0, 0, 256, 160));
    }
    // What the unclipped scene drew inside the clip rectangle, the clear colour outside.
    std::vector<uint16_t> Masked(const std::vector<uint16_t>& unclipped, const render::Rect& clip)
    {
        std::vector<uint16_t> masked(unclipped.size(), Rgb565(0x40, 0x40, 0x40));
        for (int y = clip.top; y < clip.bottom; ++y)
        {
            for (int x = clip.left; x < clip.right; ++x)
            {
                masked[static_cast<size_t>(y) * 256 + x] =
                    unclipped[static_cast<size_t>(y) * 256 + x];
            }
        }
        return masked;
    }
    // The scene drawn with the clip rectangle shows what it shows without, inside the rectangle.
    void ExpectCutToClip(const std::function<void()>& scene, const render::Rect& clip)
    {
        const std::vector<uint16_t> unclipped = Drawn(scene);
        rdll_SetClipRect(clip.left, clip.top, clip.right, clip.bottom);
        const std::vector<uint16_t> clipped = Drawn(scene);
        rdll_SetClipRect(0, 0, kScreenWidth, kScreenHeight);
        EXPECT_EQ(clipped, Masked(unclipped, clip));
    }

    std::vector<Texture*> pictures_;
};

TEST_F(Drawing, FillBitmapClearsWholeRowsPaddingIncluded)
{
    Texture* picture = Keep(PatternPicture(5, 3, 6));
    rdll_FillBitmap(picture);
    EXPECT_EQ(std::vector<uint8_t>(picture->pixels, picture->pixels + 16 * 3),
              std::vector<uint8_t>(16 * 3, 0));
}

TEST_F(Drawing, CopyBitmapIsCutToBothPictures)
{
    Texture* source = Keep(PatternPicture(8, 8));
    Texture* destination = Keep(render::TextureStore::NewBitmap(6, 6, kTextureFormatRgb565));
    for (int i = 0; i < 36; ++i)
    {
        reinterpret_cast<uint16_t*>(destination->pixels)[i] = kUntouched;
    }
    rdll_CopyBitmap(destination, -1, 3, source, 2, 2, 8, 8);
    for (int y = 0; y < 6; ++y)
    {
        for (int x = 0; x < 6; ++x)
        {
            const int sx = x + 1 + 2;
            const int sy = y - 3 + 2;
            const bool copied = y >= 3 && sx < 8;
            EXPECT_EQ(PixelOf(*destination, x, y), copied ? PatternPixel(sx, sy) : kUntouched)
                << x << ", " << y;
        }
    }
}

TEST_F(Drawing, BlitsAndFillsShowTheSamePixelsWhenCutToTheClip)
{
    Texture* source = Keep(PatternPicture(64, 48));
    const render::Rect clip{70, 30, 200, 71};
    ExpectCutToClip([&] { rdll_DrawBitmapRect(source, 0, 0, 40, 20, 64, 48, 0, 0, nullptr); },
                    clip);
    ExpectCutToClip([&] { rdll_DrawBitmapRect(source, 8, 4, 150, 60, 64, 48, 1, 0, nullptr); },
                    clip);
    ExpectCutToClip([] { rdll_FillSolidRect(60, 25, 100, 30, 0x0030A0F0); }, clip);
}

TEST_F(Drawing, KeyedBlitsLeaveThePixelsUnderZeroes)
{
    Texture* source = Keep(PatternPicture(4, 1));
    reinterpret_cast<uint16_t*>(source->pixels)[1] = 0;
    Texture* target = Keep(render::TextureStore::NewBitmap(4, 1, kTextureFormatRgb565));
    for (const int keyed : {0, 1})
    {
        std::memset(target->pixels, 0x11, 8);
        EXPECT_EQ(rdll_DrawBitmapRect(source, 0, 0, 0, 0, 4, 1, keyed, 0, target), 1);
        EXPECT_EQ(PixelOf(*target, 0, 0), PatternPixel(0, 0));
        EXPECT_EQ(PixelOf(*target, 1, 0), keyed != 0 ? 0x1111 : 0);
    }
}

TEST_F(Drawing, BlitsReadOnlyTheSourceAndWriteOnlyTheScreen)
{
    Texture* source = Keep(PatternPicture(16, 16));
    rdll_SetClipRect(-100, -100, 5000, 5000);
    ClearScreen(0x00404040);
    // Past the source's edges, and past the screen's right and bottom edges.
    EXPECT_EQ(rdll_DrawBitmapRect(source, 8, 8, 630, 470, 64, 64, 0, 0, nullptr), 1);
    rdll_FillSolidRect(-20, 475, 2000, 50, 0x00FFFFFF);
    const FrameView565 frame = BackBuffer();
    EXPECT_EQ(frame.At(637, 470), PatternPixel(15, 8));
    EXPECT_EQ(frame.At(638, 470), kUntouched) << "past the source's right edge";
    EXPECT_EQ(frame.At(629, 470), kUntouched);
    EXPECT_EQ(frame.At(639, 477), 0xFFFF);
    // The rows' padding beyond the screen's width stays as it was.
    const FrameView565 padded = frame.Region(0, 0, 1024, kScreenHeight);
    for (const int x : {640, 700, 1023})
    {
        EXPECT_EQ(padded.At(x, 470), padded.At(x, 10));
        EXPECT_EQ(padded.At(x, 477), padded.At(x, 10));
    }
}

TEST_F(Drawing, BlitsWithoutScreenOrPictureReportFailure)
{
    Texture* source = Keep(PatternPicture(4, 4));
    Texture paletted = *source;
    paletted.format = kTextureFormatPalette8;
    EXPECT_EQ(rdll_DrawBitmapRect(nullptr, 0, 0, 0, 0, 4, 4, 0, 0, nullptr), 0);
    EXPECT_EQ(rdll_DrawBitmapRect(source, 0, 0, 0, 0, 4, 4, 0, 0, &paletted), 0);
    rdll_LooseFocus();
    EXPECT_EQ(rdll_DrawBitmapRect(source, 0, 0, 0, 0, 4, 4, 0, 0, nullptr), 0);
    rdll_FillSolidRect(0, 0, 4, 4, 0);
    rdll_DrawRect(-1, 0, 0, 4, 4, 0, 0, 0, 0, 255, 1.0f);
    rdll_DrawLine(0, 0, 4, 4, 0xFFFFFFFF, 1.0f, 0);
}

TEST(LineClip, EitherDirectionGivesTheSameLine)
{
    const render::Rect clip{0, 0, 640, 480};
    const auto forward = render::ClipLine(10, 50, 100, 50, clip);
    const auto backward = render::ClipLine(100, 50, 10, 50, clip);
    ASSERT_TRUE(forward && backward);
    EXPECT_EQ(forward->x1, backward->x1);
    EXPECT_EQ(forward->x2, backward->x2);
    EXPECT_EQ(forward->y1, backward->y1);
}

TEST(LineClip, LinesAreCutAtTheClipRectanglesLastPixels)
{
    const render::Rect clip{0, 0, 10, 10};
    const auto diagonal = render::ClipLine(20, 20, -10, -10, clip);
    ASSERT_TRUE(diagonal);
    EXPECT_FLOAT_EQ(diagonal->x1, 0.0f);
    EXPECT_FLOAT_EQ(diagonal->y1, 0.0f);
    EXPECT_FLOAT_EQ(diagonal->x2, 9.0f);
    EXPECT_FLOAT_EQ(diagonal->y2, 9.0f);

    const auto vertical = render::ClipLine(4, -5, 4, 30, clip);
    ASSERT_TRUE(vertical);
    EXPECT_FLOAT_EQ(vertical->y1, 0.0f);
    EXPECT_FLOAT_EQ(vertical->y2, 9.0f);

    EXPECT_FALSE(render::ClipLine(10, 0, 10, 5, clip)) << "right of the clip columns";
    EXPECT_FALSE(render::ClipLine(4, -9, 4, -1, clip)) << "above the clip";
    EXPECT_FALSE(render::ClipLine(-5, 12, 20, 11, clip)) << "below the clip";
}

TEST_F(Drawing, LinesDrawTheSamePixelsInEitherDirection)
{
    const auto line = [](int x1, int y1, int x2, int y2, int antialiased)
    { return [=] { rdll_DrawLine(x1, y1, x2, y2, 0xFFFFE040, 1.0f, antialiased); }; };
    for (const int antialiased : {0, 1})
    {
        EXPECT_EQ(Drawn(line(100, 50, 10, 50, antialiased)),
                  Drawn(line(10, 50, 100, 50, antialiased)));
        EXPECT_EQ(Drawn(line(200, 5, 3, 150, antialiased)),
                  Drawn(line(3, 150, 200, 5, antialiased)));
    }
    const std::vector<uint16_t> drawn = Drawn(line(10, 50, 100, 50, 0));
    EXPECT_EQ(drawn[50 * 256 + 10], Rgb565(0xFF, 0xE0, 0x40)) << "colours are 0xAARRGGBB";
}

TEST_F(Drawing, HalfTransparentBlackRectangleDarkensToAboutHalf)
{
    ClearScreen(0x00FFFFFF);
    rdll_DrawRect(-1, 10, 10, 20, 20, 0, 0, 0, 0, 128, 1.0f);
    const uint16_t pixel = BackBuffer().At(15, 15);
    EXPECT_NEAR(pixel >> 11, 15, 1);
    EXPECT_NEAR((pixel >> 5) & 0x3F, 31, 1);
    EXPECT_NEAR(pixel & 0x1F, 15, 1);
    EXPECT_EQ(BackBuffer().At(9, 15), 0xFFFF);
}

TEST_F(Drawing, TexturedRectanglesKeepTheirMappingWhenCut)
{
    Texture* texture = rdll_CreateTexture(64, 64, 7, kTextureFormatRgb565);
    ASSERT_NE(texture, nullptr);
    for (int y = 0; y < 64; ++y)
    {
        for (int x = 0; x < 64; ++x)
        {
            reinterpret_cast<uint16_t*>(texture->pixels)[y * 64 + x] = PatternPixel(x, y);
        }
    }
    ASSERT_EQ(rdll_DownLoadTexture(texture), 1);
    const auto scene = [] { rdll_DrawRect(7, 40, 20, 128, 96, 8, 4, 32, 48, 255, 1.0f); };
    ExpectCutToClip(scene, {77, 31, 141, 101});
    ExpectCutToClip(scene, {0, 0, 100, 160});

    // At one screen pixel per texel, undithered, the picture shows as it is.
    grDitherMode(GrDitherMode::Disable);
    const std::vector<uint16_t> exact =
        Drawn([] { rdll_DrawRect(7, 5, 6, 64, 64, 0, 0, 64, 64, 255, 1.0f); });
    EXPECT_EQ(exact[6 * 256 + 5], PatternPixel(0, 0));
    EXPECT_EQ(exact[(6 + 63) * 256 + 5 + 20], PatternPixel(20, 63));
}

TEST_F(Drawing, RectanglesWithoutDrawableTextureOrSizeDrawNothing)
{
    ASSERT_NE(rdll_CreateTexture(100, 100, 8, kTextureFormatRgb565), nullptr);
    const std::vector<uint16_t> blank = Drawn([] {});
    EXPECT_EQ(Drawn([] { rdll_DrawRect(8, 0, 0, 50, 50, 0, 0, 10, 10, 255, 1.0f); }), blank)
        << "not in texture memory";
    EXPECT_EQ(Drawn([] { rdll_DrawRect(9, 0, 0, 50, 50, 0, 0, 10, 10, 255, 1.0f); }), blank);
    EXPECT_EQ(Drawn([] { rdll_DrawRect(5000, 0, 0, 50, 50, 0, 0, 10, 10, 255, 1.0f); }), blank);
    EXPECT_EQ(Drawn([] { rdll_DrawRect(-1, 0, 0, 0, 50, 0, 0, 10, 10, 255, 1.0f); }), blank);
    EXPECT_EQ(Drawn([] { rdll_DrawFlare(-1, 0, 0, 50, -3, 0, 0, 10, 10, 255, 1, 2, 3); }), blank);
    EXPECT_NE(Drawn([] { rdll_DrawRect(-1, 0, 0, 50, 50, 0, 0, 0, 0, 255, 0.0f); }), blank)
        << "a depth of 0 counts as 1";
}

}  // namespace
