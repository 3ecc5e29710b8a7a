// The demo installation's fonts: a glyph in every cell that names a visible character, the
// accented letters told apart from their base letters, and every sheet loaded from its archive
// by the library into a font with one glyph per character.

#include <gtest/gtest.h>

#include <string>

#include "core/util/GlyphShapes.h"
#include "kit/DemoInstallation.h"
#include "kit/font/DemoFonts.h"
#include "render/RenderApi.h"
#include "render/text/GameFont.h"
#include "tests/render/LibraryScreen.h"

namespace
{

bool CellIsLit(const kit::RgbaPicture& picture, int cellWidth, size_t cell)
{
    for (int y = 0; y < picture.height; ++y)
    {
        for (int x = 0; x < cellWidth; ++x)
        {
            const size_t at = (static_cast<size_t>(y) * picture.width + cell * cellWidth + x) * 4;
            if (picture.rgba[at] != 0 || picture.rgba[at + 1] != 0 || picture.rgba[at + 2] != 0)
            {
                return true;
            }
        }
    }
    return false;
}

TEST(DemoFonts, EveryVisibleCharacterHasAGlyph)
{
    for (const kit::DemoFont& font : kit::DemoFonts())
    {
        SCOPED_TRACE(std::string(font.name));
        const kit::RgbaPicture picture = kit::DemoFontPicture(font);
        ASSERT_EQ(picture.width, static_cast<int>(font.characters.size()) * font.style.cellWidth);
        ASSERT_EQ(picture.height, font.style.cellHeight);
        for (size_t cell = 0; cell < font.characters.size(); ++cell)
        {
            const char character = font.characters[cell];
            const bool blank =
                character == ' ' || character == '\t' ||
                (font.characters == kRaceSymbolCharacters &&
                 std::string_view("CHIJKL").find(character) != std::string_view::npos);
            EXPECT_EQ(CellIsLit(picture, font.style.cellWidth, cell), !blank)
                << "cell " << cell << " '" << character << "'";
        }
    }
}

TEST(DemoFonts, AccentedLettersDifferFromTheirBaseLetters)
{
    const std::string_view accented =
        "\xC4\xD6\xDC\xE4\xF6\xFC\xE1\xE2\xE0\xE9\xEA\xE8\xF3\xF4\xF2\xFA\xFB\xF9";
    const std::string_view bases = "AOUaouaaaeeeooouuu";
    for (size_t i = 0; i < accented.size(); ++i)
    {
        const auto letter = static_cast<uint8_t>(accented[i]);
        EXPECT_NE(GlyphShapeOf(letter), GlyphShapeOf(static_cast<uint8_t>(bases[i])))
            << int{letter};
        EXPECT_NE(GlyphShapeOf(letter), GlyphShapeOf(0));
    }
    // Acute, circumflex and grave i share the dotless i, each with its own accent.
    EXPECT_NE(GlyphShapeOf(0xED), GlyphShapeOf(0xEE));
    EXPECT_NE(GlyphShapeOf(0xEE), GlyphShapeOf(0xEC));
    EXPECT_NE(GlyphShapeOf(0xEC), GlyphShapeOf('i'));
}

using DemoFontSheets = LibraryScreen;

TEST_F(DemoFontSheets, EverySheetLoadsFromItsArchiveIntoAFont)
{
    kit::DemoArchives archives;
    std::string error;
    ASSERT_TRUE(kit::AddDemoFonts(archives, error)) << error;
    for (const kit::DemoArchive which : {kit::DemoArchive::Menu, kit::DemoArchive::Textures})
    {
        const LibraryArchive archive(which == kit::DemoArchive::Menu ? archives.menu
                                                                     : archives.textures);
        for (const kit::DemoFont& font : kit::DemoFonts())
        {
            if (font.archive != which)
            {
                continue;
            }
            SCOPED_TRACE(std::string(font.name));
            Texture* picture = rdll_LoadMemoryTexture(std::string(font.name).c_str(), 0);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->format, kTextureFormatRgb565);
            GameFont* made = rdll_CreateKerning(font.characters.data(), picture,
                                                font.style.cellWidth, font.style.cellHeight, 1);
            ASSERT_NE(made, nullptr);
            EXPECT_EQ(made->glyphCount, static_cast<int32_t>(font.characters.size()));
            rdll_SetDrawTextVars(nullptr, made);
            EXPECT_GT(rdll_StrLen(font.characters.data()), 0);
            rdll_FreeGameFont(made);
            rdll_FreeMemoryTexture(picture);
        }
    }
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
