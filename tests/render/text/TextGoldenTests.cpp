// Golden frames of screen text: a fixed, a proportional and a kerning font from the demo
// installation's sheets, each left-aligned, right-aligned and centred, plain and coloured, with
// Windows-1252 letters above 127, cut at the screen's edges and at a clip rectangle.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/font/DemoFonts.h"
#include "render/RenderApi.h"
#include "render/text/GameFont.h"
#include "tests/render/LibraryScreen.h"

namespace
{

const kit::DemoFont& Sheet(std::string_view name)
{
    for (const kit::DemoFont& font : kit::DemoFonts())
    {
        if (font.name == name)
        {
            return font;
        }
    }
    ADD_FAILURE() << "no demo font " << name;
    return kit::DemoFonts()[0];
}

class TextGolden : public LibraryScreen
{
protected:
    void TearDown() override
    {
        for (GameFont* font : fonts_)
        {
            rdll_FreeGameFont(font);
        }
        for (Texture* picture : pictures_)
        {
            FreePicture(picture);
        }
        LibraryScreen::TearDown();
    }

    Texture* SheetPicture(std::string_view name)
    {
        pictures_.push_back(PictureFrom(kit::DemoFontPicture(Sheet(name))));
        return pictures_.back();
    }
    GameFont* Keep(GameFont* font)
    {
        EXPECT_NE(font, nullptr);
        fonts_.push_back(font);
        return font;
    }

    std::vector<Texture*> pictures_;
    std::vector<GameFont*> fonts_;
};

TEST_F(TextGolden, EachFontKindAlignedAndCut)
{
    const kit::DemoFont& time = Sheet("texturen/fonts/balmoral16.bmp");
    const kit::DemoFont& tv = Sheet("texturen/fonts/tvfont1.bmp");
    const kit::DemoFont& menu = Sheet("fonts/Chicago16.bmp");
    GameFont* const fonts[] = {
        Keep(rdll_CreateFixed(time.characters.data(), SheetPicture(time.name), time.style.cellWidth,
                              time.style.cellHeight, 10)),
        Keep(rdll_CreateProportional(tv.characters.data(), SheetPicture(tv.name),
                                     tv.style.cellWidth, tv.style.cellHeight, 0)),
        Keep(rdll_CreateKerning(menu.characters.data(), SheetPicture(menu.name),
                                menu.style.cellWidth, menu.style.cellHeight, 1)),
    };
    ClearScreen(0x00503010);
    // The bottom half of the screen. Right: a centre line at x 480 for the alignments.
    rdll_SetClipRect(0, 0, 2000, 2000);
    rdll_FillSolidRect(480, 240, 1, 190, 0x0000A0FF);
    int y = 246;
    for (GameFont* font : fonts)
    {
        rdll_SetDrawTextVars(nullptr, font);
        rdll_DrawTextScreen(480, y, "Links", 1, nullptr);
        rdll_DrawColorTextScreen(480, y + font->cellHeight, 0x0040E0FF, "Rechts", 2, nullptr);
        rdll_DrawTextScreen(480, y + 2 * font->cellHeight, "M\xE4nner-Mitte", 3, nullptr);
        y += 3 * font->cellHeight + 2;
    }
    // Cut at the screen's right and bottom edges, though the clip rectangle reaches beyond.
    rdll_SetDrawTextVars(nullptr, fonts[2]);
    rdll_DrawTextScreen(560, 432, "\xC4\xD6\xDC \xE4\xF6\xFC \xDF \xB0", 1, nullptr);
    rdll_DrawTextScreen(330, 468, "Gr\xFC\xDF Gott, \xE0 bient\xF4t", 1, nullptr);

    // Left: a clip rectangle (framed) that cuts texts at all four sides.
    rdll_FillSolidRect(39, 299, 242, 82, 0x00FFFFFF);
    rdll_FillSolidRect(40, 300, 240, 80, 0x00503010);
    rdll_SetClipRect(40, 300, 280, 380);
    rdll_DrawTextScreen(160, 290, "Caf\xE9 \xE9\xE8\xEA \xED\xEE\xEC \xF3\xF4\xF2 \xFA\xFB\xF9", 3,
                        nullptr);
    rdll_DrawTextScreen(60, 370,
                        "\xDC"
                        "berholverbot",
                        1, nullptr);
    rdll_SetDrawTextVars(nullptr, fonts[0]);
    rdll_DrawTextScreen(10, 318, "Startaufstellung", 1, nullptr);
    rdll_SetDrawTextVars(nullptr, fonts[1]);
    rdll_DrawColorTextScreen(150, 340, 0x0080FF80, "\tQualifikation: Zeit!", 1, nullptr);

    ExpectGolden("text", 0, 240, 640, 240, 0xF83240F6BD428807);
}

}  // namespace
