// Fonts made from glyph pictures: the character map, measured widths, kerning, alignment and
// the pictures that are refused.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "render/RenderApi.h"
#include "render/TextureStore.h"
#include "render/text/FontBuilder.h"
#include "render/text/TextLayout.h"

namespace
{

using Picture = std::unique_ptr<Texture, decltype(&render::TextureStore::Destroy)>;

// A 16-bit picture of cells side by side, each given as rows of '#' (lit) and '.' (0).
Picture CellPicture(int cellWidth, int cellHeight,
                    const std::vector<std::vector<std::string>>& cells)
{
    const int width = cellWidth * static_cast<int>(cells.size());
    std::vector<uint16_t> pixels(static_cast<size_t>(width) * cellHeight, 0);
    for (size_t cell = 0; cell < cells.size(); ++cell)
    {
        for (size_t row = 0; row < cells[cell].size(); ++row)
        {
            for (size_t column = 0; column < cells[cell][row].size(); ++column)
            {
                if (cells[cell][row][column] == '#')
                {
                    pixels[row * width + cell * cellWidth + column] = 0xFFFF;
                }
            }
        }
    }
    return {render::TextureStore::NewPicture(width, cellHeight, 2 * width, kTextureFormatRgb565,
                                             reinterpret_cast<const uint8_t*>(pixels.data())),
            &render::TextureStore::Destroy};
}

// Empty cells of 8 x 8.
Picture BlankPicture(int cells)
{
    return CellPicture(8, 8, std::vector<std::vector<std::string>>(static_cast<size_t>(cells)));
}

std::unique_ptr<GameFont> MakeFont(render::FontKind kind, const char* characters, Texture* picture,
                                   int cellWidth, int cellHeight, int parameter)
{
    return render::CreateGameFont(kind, characters, picture, cellWidth, cellHeight, parameter);
}

int32_t Measure(const GameFont& font, const std::string& text)
{
    return render::MeasureText(font, text);
}

TEST(FontCharacters, EachCharacterMapsToItsCellAndUnknownOnesToGlyphZero)
{
    const Picture picture = BlankPicture(4);
    const auto font = MakeFont(render::FontKind::Fixed, "abca", picture.get(), 8, 8, 7);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GlyphOf('b'), 1);
    EXPECT_EQ(font->GlyphOf('c'), 2);
    EXPECT_EQ(font->GlyphOf('a'), 3) << "a character named twice keeps its later cell";
    EXPECT_EQ(font->GlyphOf('z'), 0);
    EXPECT_EQ(font->GlyphOf('\xE4'), 0);
    EXPECT_EQ(font->glyphCount, 4);
}

TEST(FontCharacters, CharactersBeyondTheCellsOrTheFirst128AreLeftOut)
{
    const Picture three = BlankPicture(3);
    const auto font = MakeFont(render::FontKind::Fixed, "abcd", three.get(), 8, 8, 7);
    EXPECT_EQ(font->GlyphOf('d'), 0);
    EXPECT_EQ(font->glyphCount, 3);

    std::string many;
    for (int code = 1; code <= 200; ++code)
    {
        many.push_back(static_cast<char>(code));
    }
    const Picture wide = BlankPicture(200);
    const auto big = MakeFont(render::FontKind::Kerning, many.c_str(), wide.get(), 8, 8, 0);
    EXPECT_EQ(big->glyphCount, render::kMaxGlyphs);
    EXPECT_EQ(big->GlyphOf(static_cast<char>(128)), 127);
    EXPECT_EQ(big->GlyphOf(static_cast<char>(129)), 0);
}

TEST(FontWidths, FixedFontAdvancesOneMoreThanItsWidth)
{
    const Picture picture = BlankPicture(2);
    const auto font = MakeFont(render::FontKind::Fixed, "AB", picture.get(), 8, 8, 8);
    EXPECT_EQ(Measure(*font, "A"), 9);
    EXPECT_EQ(Measure(*font, "ABBA"), 36);
}

TEST(FontWidths, ProportionalGlyphsMeasureTheirLitColumnsAndTheBlankGetsTheAverage)
{
    const Picture picture = CellPicture(8, 2,
                                        {
                                            {},
                                            {"#....", "....#"},  // last lit column 4
                                            {"..#", "#"},        // last lit column 2
                                        });
    const auto font = MakeFont(render::FontKind::Proportional, " ab", picture.get(), 8, 2, 1);
    // Before the final +1: a 4 + 1, b 2 + 1, the blank (1) the average (5 + 3 + 1) / 3.
    EXPECT_EQ(Measure(*font, "a"), 6);
    EXPECT_EQ(Measure(*font, "b"), 4);
    EXPECT_EQ(Measure(*font, " "), 4);
    EXPECT_EQ(Measure(*font, "ab "), 6 + 4 + 4);
}

TEST(FontKerning, PairsAdvanceAsFarAsTheirClosestRowsAllow)
{
    const std::vector<std::string> full(3, "#####");
    const std::vector<std::string> right(3, "..###");
    const Picture picture = CellPicture(8, 3, {full, right});
    const auto font = MakeFont(render::FontKind::Kerning, "ab", picture.get(), 8, 3, 0);
    EXPECT_EQ(Measure(*font, "a"), 5);
    EXPECT_EQ(Measure(*font, "aa"), 5 + 5);
    // b's first lit column lands right after a's last one.
    EXPECT_EQ(Measure(*font, "ab"), 3 + 5);
}

TEST(FontKerning, APointLitInFewRowsLandsRightAfterTheGlyphBeforeIt)
{
    // The point's first lit column follows the glyph's last lit column in the rows they share;
    // the rows the point leaves empty do not pull it into the glyph.
    const struct
    {
        std::vector<std::string> glyph;
        std::vector<std::string> point;
        int64_t pointColumn;  // the point is lit from its cell's first column
        const char* what;
    } kCases[] = {
        {{"#####", "#####", "#####", "#####"}, {"", "", "", "##"}, 5, "glyph as wide in every row"},
        {{"#####", "#####", "##", "##"}, {"", "", "", "##"}, 2, "glyph narrow where the point is"},
    };
    for (const auto& test : kCases)
    {
        SCOPED_TRACE(test.what);
        const Picture picture = CellPicture(8, 4, {test.glyph, test.point});
        const auto font = MakeFont(render::FontKind::Kerning, "a.", picture.get(), 8, 4, 0);
        EXPECT_EQ(render::LayOutText(*font, "a.", 0, render::kAlignLeft).pens[1], test.pointColumn);
    }
}

TEST(FontKerning, GlyphBeforeABlankAdvancesTheSmallerWidthPlusSpacing)
{
    const Picture picture = CellPicture(8, 2,
                                        {
                                            {"#####", "#####"},  // a: 4 + 1
                                            {"##", "##"},        // b: 1 + 1
                                            {},                  // blank: the average 2
                                        });
    const auto font = MakeFont(render::FontKind::Kerning, "ab ", picture.get(), 8, 2, 1);
    EXPECT_EQ(Measure(*font, "a "), (2 + 1) + (2 + 1));
    EXPECT_EQ(Measure(*font, "b "), (2 + 1) + (2 + 1));
    EXPECT_EQ(Measure(*font, " a"), (2 + 1) + (5 + 1));
}

TEST(FontLayout, AlignmentPlacesTheTextAboutX)
{
    const Picture picture = BlankPicture(2);
    const auto wide = MakeFont(render::FontKind::Fixed, "W", picture.get(), 8, 8, 100);
    const auto narrow = MakeFont(render::FontKind::Fixed, "N", picture.get(), 8, 8, 39);
    EXPECT_EQ(render::LayOutText(*wide, "W", 320, render::kAlignCentre).pens[0], 270);
    EXPECT_EQ(render::LayOutText(*narrow, "N", 100, render::kAlignRight).pens[0], 60);
    EXPECT_EQ(render::LayOutText(*narrow, "N", 100, render::kAlignLeft).pens[0], 100);
    EXPECT_EQ(render::LayOutText(*narrow, "N", 100, 7).pens[0], 100);
}

TEST(FontLayout, EmptyTextsMeasureNothingAndLongOnesStopAt255Characters)
{
    const Picture picture = BlankPicture(1);
    const auto font = MakeFont(render::FontKind::Fixed, "x", picture.get(), 8, 8, 8);
    EXPECT_EQ(Measure(*font, ""), 0);
    EXPECT_EQ(Measure(*font, std::string(300, 'x')), 255 * 9);
}

TEST(FontPictures, PicturesThatCannotHoldGlyphsAreRefused)
{
    const Picture picture = BlankPicture(2);
    Texture paletted = *picture;
    paletted.format = kTextureFormatPalette8;
    Texture shortRows = *picture;
    shortRows.stride = picture->width;

    for (const render::FontKind kind :
         {render::FontKind::Fixed, render::FontKind::Proportional, render::FontKind::Kerning})
    {
        EXPECT_EQ(MakeFont(kind, "ab", nullptr, 8, 8, 1), nullptr);
        EXPECT_EQ(MakeFont(kind, "ab", &paletted, 8, 8, 1), nullptr);
        EXPECT_EQ(MakeFont(kind, "ab", &shortRows, 8, 8, 1), nullptr);
        EXPECT_EQ(MakeFont(kind, "ab", picture.get(), 0, 8, 1), nullptr);
        EXPECT_EQ(MakeFont(kind, "ab", picture.get(), 8, -1, 1), nullptr);
    }
    EXPECT_EQ(rdll_CreateKerning("ab", nullptr, 8, 8, 1), nullptr);
}

TEST(FontPictures, GlyphsReachingPastThePictureReadItAsEmpty)
{
    // A fixed width beyond the cell reads into the next cell, and past the last one.
    const Picture picture = CellPicture(4, 4, {{"####"}, {"####"}});
    const auto fixed = MakeFont(render::FontKind::Fixed, "ab", picture.get(), 4, 4, 40);
    EXPECT_EQ(Measure(*fixed, "ab"), 82);
    // Cells taller than the picture, and a picture narrower than one cell.
    const auto tall = MakeFont(render::FontKind::Kerning, "ab", picture.get(), 4, 64, 0);
    EXPECT_EQ(Measure(*tall, "ab"), 4 + 4);
    const auto none = MakeFont(render::FontKind::Kerning, "ab", picture.get(), 16, 4, 0);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->glyphCount, 1);
}

}  // namespace
