// The menu and race fonts and the toolkit's pictures, loaded from the menu archive through the
// game's render library.

#include <array>

#include "app/device/RenderDevice.h"
#include "core/game/GameEnums.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuFonts.h"
#include "render/RenderApi.h"
#include "tests/frontend/toolkit/ToolkitScreen.h"

namespace
{
constexpr std::array<MenuFont, kMenuFontCount> kMenuFonts = {MenuFont::Menu16, MenuFont::Menu16Blue,
                                                             MenuFont::Menu18, MenuFont::Menu12,
                                                             MenuFont::Menu12Fixed};
constexpr std::array<RaceFont, kRaceFontCount> kRaceFonts = {
    RaceFont::RaceSymbols, RaceFont::BigDigits, RaceFont::TvFont, RaceFont::Balmoral,
    RaceFont::Requester};

class MenuFontsTest : public ToolkitScreen
{
};

TEST_F(MenuFontsTest, TheDemoInstallationsFontsAndPicturesLoadOnceAndAreFreed)
{
    OpenScreen();
    LoadMenuFonts();
    LoadRaceFonts();
    for (const MenuFont font : kMenuFonts)
    {
        EXPECT_NE(GetMenuFont(font), nullptr) << ToIndex(font);
    }
    for (const RaceFont font : kRaceFonts)
    {
        EXPECT_NE(GetRaceFont(font), nullptr) << ToIndex(font);
    }
    const struct
    {
        MenuPicture picture;
        int width;
        int height;
    } pictures[] = {
        {MenuPicture::Chicago18Light, 2280, 24}, {MenuPicture::Chicago18Yellow, 2280, 24},
        {MenuPicture::Pointer, 32, 32},          {MenuPicture::ClassPicture, 160, 93},
        {MenuPicture::FileRequester, 296, 292},  {MenuPicture::AskRequester, 296, 184},
    };
    for (const auto& expected : pictures)
    {
        const Texture* picture = GetMenuPicture(expected.picture);
        ASSERT_NE(picture, nullptr) << ToIndex(expected.picture);
        EXPECT_EQ(picture->width, expected.width);
        EXPECT_EQ(picture->height, expected.height);
    }

    GameFont* const menu16 = GetMenuFont(MenuFont::Menu16);
    LoadMenuFonts();
    EXPECT_EQ(GetMenuFont(MenuFont::Menu16), menu16);

    FreeMenuFonts();
    FreeRaceFonts();
    EXPECT_EQ(GetMenuFont(MenuFont::Menu16), nullptr);
    EXPECT_EQ(GetMenuFontPicture(MenuFont::Menu16), nullptr);
    EXPECT_EQ(GetMenuPicture(MenuPicture::Pointer), nullptr);
    EXPECT_EQ(GetRaceFont(RaceFont::Requester), nullptr);
}

TEST_F(MenuFontsTest, FixedFontsAdvanceByTheirWidthAndOnePixel)
{
    OpenScreen();
    LoadMenuFonts();
    LoadRaceFonts();
    SetTextFont(GetMenuFont(MenuFont::Menu12Fixed));
    EXPECT_EQ(g_renderDevice.StrLen("abc"), 3 * 8);
    SetTextFont(GetRaceFont(RaceFont::Requester));
    EXPECT_EQ(g_renderDevice.StrLen("\xC4\xD6"), 2 * 8);
    SetTextFont(GetRaceFont(RaceFont::RaceSymbols));
    EXPECT_EQ(g_renderDevice.StrLen("AB"), 2 * 33);
}

TEST_F(MenuFontsTest, FontsWhosePicturesAreMissingStayEmptyAndDrawNothing)
{
    OpenScreen(false);
    LoadMenuFonts();
    for (const MenuFont font : kMenuFonts)
    {
        EXPECT_EQ(GetMenuFont(font), nullptr) << ToIndex(font);
    }
    EXPECT_EQ(GetMenuPicture(MenuPicture::Pointer), nullptr);
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    EXPECT_EQ(DrawTextClipped(10, 10, "Text", kAlignLeft), 0);
}
}  // namespace
