// Text drawn into buffers and pictures, pixel by pixel: glyph pixels copied or coloured,
// transparency, the clip rectangle, and picture texts with their fitting and flags.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kit/font/DemoFonts.h"
#include "render/RenderApi.h"
#include "render/TextureStore.h"
#include "render/draw/PixelSurface.h"
#include "tests/render/LibraryScreen.h"

namespace
{

constexpr uint16_t kBackground = 0x1234;

// A buffer the caller locked, with padded rows.
struct LockedBuffer
{
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;
    static constexpr int kPitchPixels = 256;

    std::vector<uint16_t> pixels = std::vector<uint16_t>(kPitchPixels * kHeight, kBackground);

    LfbInfo Info() { return {pixels.data(), kPitchPixels * 2}; }
    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * kPitchPixels + x]; }
};

// Two glyphs of 4 x 3 in cells of 4: every lit pixel has its own value.
//   a: X... / .XX. / ...X      b: XXXX / .... / XXXX
Texture* TwoGlyphPicture()
{
    const uint16_t pixels[3][8] = {
        {0x1001, 0, 0, 0, 0x2001, 0x2002, 0x2003, 0x2004},
        {0, 0x1102, 0x1103, 0, 0, 0, 0, 0},
        {0, 0, 0, 0x1204, 0x2201, 0x2202, 0x2203, 0x2204},
    };
    return render::TextureStore::NewPicture(8, 3, 16, kTextureFormatRgb565,
                                            reinterpret_cast<const uint8_t*>(pixels));
}

class TextDrawing : public LibraryScreen
{
protected:
    void TearDown() override
    {
        rdll_FreeGameFont(font_);
        for (Texture* picture : pictures_)
        {
            FreePicture(picture);
        }
        LibraryScreen::TearDown();
    }

    GameFont* UseFont(GameFont* font)
    {
        font_ = font;
        rdll_SetDrawTextVars(nullptr, font);
        return font;
    }
    Texture* Keep(Texture* picture)
    {
        pictures_.push_back(picture);
        return picture;
    }

    GameFont* font_ = nullptr;
    std::vector<Texture*> pictures_;
};

TEST_F(TextDrawing, GlyphPixelsAreCopiedOrColouredAndZeroPixelsLeaveTheTarget)
{
    // Fixed width 3: each glyph covers its cell's four columns and advances four.
    UseFont(rdll_CreateFixed("ab", Keep(TwoGlyphPicture()), 4, 3, 3));
    LockedBuffer plain;
    LfbInfo plainInfo = plain.Info();
    rdll_DrawTextScreen(10, 5, "ba", 1, &plainInfo);
    const uint16_t expected[3][8] = {
        {0x2001, 0x2002, 0x2003, 0x2004, 0x1001, kBackground, kBackground, kBackground},
        {kBackground, kBackground, kBackground, kBackground, kBackground, 0x1102, 0x1103,
         kBackground},
        {0x2201, 0x2202, 0x2203, 0x2204, kBackground, kBackground, kBackground, 0x1204},
    };
    for (int y = 4; y < 9; ++y)
    {
        for (int x = 9; x < 19; ++x)
        {
            const bool inside = y >= 5 && y < 8 && x >= 10 && x < 18;
            EXPECT_EQ(plain.At(x, y), inside ? expected[y - 5][x - 10] : kBackground)
                << x << ", " << y;
        }
    }

    LockedBuffer coloured;
    LfbInfo colouredInfo = coloured.Info();
    rdll_DrawColorTextScreen(10, 5, 0x00FF00FF, "ba", 1, &colouredInfo);
    for (int y = 5; y < 8; ++y)
    {
        for (int x = 10; x < 18; ++x)
        {
            const bool lit = expected[y - 5][x - 10] != kBackground;
            EXPECT_EQ(coloured.At(x, y), lit ? rdll_GetScreenColor(0x00FF00FF) : kBackground);
        }
    }
}

TEST_F(TextDrawing, ClippedTextShowsWhatItWouldUnclippedAndNothingElse)
{
    const kit::DemoFont& sheet = kit::DemoFonts()[0];
    UseFont(rdll_CreateKerning(sheet.characters.data(),
                               Keep(PictureFrom(kit::DemoFontPicture(sheet))),
                               sheet.style.cellWidth, sheet.style.cellHeight, 0));
    const std::string text = "Kl\xE4ger \xDC";

    LockedBuffer reference;
    LfbInfo referenceInfo = reference.Info();
    rdll_SetClipRect(0, 0, LockedBuffer::kWidth, LockedBuffer::kHeight);
    rdll_DrawTextScreen(40, 30, text.c_str(), 1, &referenceInfo);

    const struct
    {
        render::Rect clip;
        const char* what;
    } kCases[] = {
        {{0, 0, 75, 100}, "right edge through a glyph"},
        {{53, 0, 200, 100}, "left edge through a glyph"},
        {{0, 38, 200, 100}, "top edge through the band"},
        {{0, 0, 200, 41}, "bottom edge through the band"},
        {{61, 33, 90, 45}, "all four edges"},
        {{0, 0, 200, 30}, "band below the clip"},
        {{0, 30 + sheet.style.cellHeight, 200, 100}, "band above the clip"},
        {{100, 0, 200, 100}, "the clip's left edge near the end"},
    };
    for (const auto& test : kCases)
    {
        SCOPED_TRACE(test.what);
        LockedBuffer clipped;
        LfbInfo clippedInfo = clipped.Info();
        rdll_SetClipRect(test.clip.left, test.clip.top, test.clip.right, test.clip.bottom);
        rdll_DrawTextScreen(40, 30, text.c_str(), 1, &clippedInfo);
        int differing = 0;
        for (int y = 0; y < LockedBuffer::kHeight; ++y)
        {
            for (int x = 0; x < LockedBuffer::kWidth; ++x)
            {
                const bool inside = x >= test.clip.left && x < test.clip.right &&
                                    y >= test.clip.top && y < test.clip.bottom;
                differing += clipped.At(x, y) != (inside ? reference.At(x, y) : kBackground);
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(TextDrawing, NothingIsDrawnWithoutFontOrText)
{
    LockedBuffer buffer;
    LfbInfo info = buffer.Info();
    rdll_DrawTextScreen(10, 10, "abc", 1, &info);
    UseFont(rdll_CreateFixed("ab", Keep(TwoGlyphPicture()), 4, 3, 3));
    rdll_DrawTextScreen(10, 10, "", 1, &info);
    rdll_DrawTextScreen(10, 10, nullptr, 1, &info);
    LfbInfo unlocked{nullptr, 512};
    rdll_DrawTextScreen(10, 10, "ab", 1, &unlocked);
    EXPECT_EQ(buffer.pixels, LockedBuffer().pixels);
    EXPECT_EQ(rdll_StrLen(nullptr), 0);
    rdll_FreeGameFont(font_);
    font_ = nullptr;
    EXPECT_EQ(rdll_StrLen("ab"), 0) << "freeing the current font unsets it";
}

// Picture texts: 16-pixel cells, one glyph lit in columns 0..9 (width 10).
class PictureText : public TextDrawing
{
protected:
    void SetUp() override
    {
        TextDrawing::SetUp();
        std::vector<uint16_t> pixels(32 * 16, 0);
        for (int y = 0; y < 16; ++y)
        {
            for (int x = 0; x < 10; ++x)
            {
                pixels[static_cast<size_t>(y) * 32 + x] =
                    static_cast<uint16_t>((x % 2 == 0 ? 0xF000 : 0x0000) | 0x0ABC);
            }
        }
        glyphs_ = Keep(render::TextureStore::NewPicture(
            32, 16, 64, kTextureFormatArgb4444, reinterpret_cast<const uint8_t*>(pixels.data())));
    }

    Texture* Target(int width, uint16_t fill)
    {
        Texture* target = Keep(render::TextureStore::NewBitmap(width, 20, kTextureFormatArgb4444));
        for (int i = 0; i < width * 20; ++i)
        {
            reinterpret_cast<uint16_t*>(target->pixels)[i] = fill;
        }
        return target;
    }
    static uint16_t PixelOf(const Texture* picture, int x, int y)
    {
        return reinterpret_cast<const uint16_t*>(picture->pixels)[y * picture->width + x];
    }
    // Columns of the row written by glyph pixels.
    static int LitColumns(const Texture* picture, int y, uint16_t fill)
    {
        int lit = 0;
        for (int x = 0; x < picture->width; ++x)
        {
            lit += PixelOf(picture, x, y) != fill;
        }
        return lit;
    }

    Texture* glyphs_ = nullptr;
};

TEST_F(PictureText, TintedTextTakesTheGlyphAlphaAndTheColoursTopBits)
{
    UseFont(rdll_CreateKerning("x", glyphs_, 16, 16, 0));
    Texture* target = Target(40, 0x0001);
    rdll_DrawText(target, 0x00A1B2C3, 3, 2, "x", 0);
    EXPECT_EQ(PixelOf(target, 3, 2), 0xFCBA) << "alpha 0xF, red 0xC, green 0xB, blue 0xA";
    EXPECT_EQ(PixelOf(target, 4, 2), 0x0001) << "a glyph pixel without alpha leaves the target";
    EXPECT_EQ(PixelOf(target, 3, 1), 0x0001);
    EXPECT_EQ(PixelOf(target, 3, 17), 0xFCBA);
    EXPECT_EQ(PixelOf(target, 3, 18), 0x0001) << "16 rows";
}

TEST_F(PictureText, TextsRunUntilAGlyphNoLongerFitsTheRow)
{
    UseFont(rdll_CreateKerning("x", glyphs_, 16, 16, 0));
    // Width 10 and advance 10: "xxx" needs exactly 30 columns.
    Texture* exact = Target(30, 0x0001);
    rdll_DrawText2(exact, 0, 0, "xxx", 0);
    EXPECT_EQ(LitColumns(exact, 0, 0x0001), 30) << "copied text: the last glyph fits exactly";
    Texture* tinted = Target(30, 0x0001);
    rdll_DrawText(tinted, 0xFFFFFF, 0, 0, "xxx", 0);
    EXPECT_EQ(LitColumns(tinted, 0, 0x0001), 2 * 5) << "tinted text needs one column more";

    Texture* right = Target(40, 0x0001);
    rdll_DrawText2(right, 32, 0, "xx", 0x2);
    EXPECT_EQ(PixelOf(right, 12, 0), 0xFABC) << "right-aligned: the text ends at x";
    EXPECT_EQ(PixelOf(right, 11, 0), 0x0001);
    EXPECT_EQ(PixelOf(right, 31, 0), 0x0ABC);
    EXPECT_EQ(PixelOf(right, 32, 0), 0x0001);
}

TEST_F(PictureText, TheBackgroundIsCopiedFirstAndTextsStayInsideTheTarget)
{
    UseFont(rdll_CreateKerning("x", glyphs_, 16, 16, 0));
    Texture* background = Target(40, 0x0777);
    rdll_SetDrawTextVars(background, font_);
    Texture* target = Target(40, 0x0001);
    rdll_DrawText2(target, 0, 0, "x", 0x4);
    EXPECT_EQ(PixelOf(target, 20, 10), 0x0777);
    EXPECT_EQ(PixelOf(target, 0, 0), 0xFABC);

    // Past the bottom, left of the left edge and a smaller background: cut, not overrun.
    Texture* small = Target(8, 0x0002);
    rdll_SetDrawTextVars(small, font_);
    rdll_DrawText2(target, -5, 12, "xxx", 0x4);
    rdll_DrawText(target, 0xFFFFFF, 30, 15, "xx", 0x4);
    EXPECT_EQ(PixelOf(target, 0, 0), 0x0002);
    EXPECT_EQ(PixelOf(target, 0, 12), 0x0ABC) << "glyph column 5 at target column 0";

    // Only kerning fonts draw tinted text.
    Texture* untouched = Target(40, 0x0001);
    GameFont* proportional = rdll_CreateProportional("x", glyphs_, 16, 16, 0);
    rdll_SetDrawTextVars(nullptr, proportional);
    rdll_DrawText(untouched, 0xFFFFFF, 0, 0, "x", 0);
    EXPECT_EQ(LitColumns(untouched, 0, 0x0001), 0);
    rdll_FreeGameFont(proportional);
}

}  // namespace
