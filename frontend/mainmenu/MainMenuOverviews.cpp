// The rider overview (a tile per rider of the class) and the circuit overview (a tile per
// circuit): a click on a tile chooses it and returns to the rider or circuit page.

#include <algorithm>
#include <cstring>
#include <string>

#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "frontend/MainMenu.h"
#include "frontend/SessionChoices.h"
#include "frontend/mainmenu/MainMenuLayout.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "race/RaceContext.h"
#include "view/titles/EventTitles.h"

namespace
{
constexpr const char* kRiderScreen = "MainMenu/fahrerscreen.jpg";
constexpr const char* kCircuitScreen = "MainMenu/streckenscreen.jpg";
constexpr const char* kCircuitOverviewScreen = "strecken/uebersicht.jpg";
constexpr std::array<const char*, 3> kRiderOverviewScreens = {
    "MainMenu/overview125.jpg", "MainMenu/overview250.jpg", "MainMenu/overview500.jpg"};
constexpr int32_t kRiderOverviewHeadline = 6;
constexpr int32_t kCircuitOverviewHeadline = 8;
constexpr uint32_t kTileTextColour = 0xFFFFFF;
constexpr uint32_t kHoveredTileColour = 0x00FFFF;
constexpr uint32_t kCircuitTextColour = 0xF0F0F0;
constexpr int32_t kNameBoxWidth = 85;

struct TileRow
{
    int32_t firstTile;
    int32_t count;
    int32_t x;  // of the first tile
    int32_t y;
};
// Six, seven, seven and five riders; the 26th rider of 250 ccm ends the last row.
constexpr std::array<TileRow, 4> kRiderRows = {{
    {0, 6, 92, 107},
    {6, 7, 2, 197},
    {13, 7, 2, 287},
    {20, 6, 92, 377},
}};
constexpr int32_t kRiderTilePitch = 90;
constexpr std::array<TileRow, 4> kCircuitRows = {{
    {0, 5, 59, 102},
    {5, 5, 59, 192},
    {10, 5, 59, 282},
    {15, 3, 173, 372},
}};
constexpr int32_t kCircuitTilePitch = 114;

std::string NameLine(const std::array<char, 16>& name)
{
    return std::string(name.data(), strnlen(name.data(), name.size()));
}
}  // namespace

void MainMenu::BuildOverviewTiles()
{
    riderOverview_ = {};
    circuitOverview_ = {};
    for (const TileRow& row : kRiderRows)
    {
        for (int32_t k = 0; k < row.count; ++k)
        {
            riderTiles_[static_cast<size_t>(row.firstTile + k)] =
                VisibleGadget(row.x + kRiderTilePitch * k, row.y, 88, 85);
        }
    }
    for (const TileRow& row : kCircuitRows)
    {
        for (int32_t k = 0; k < row.count; ++k)
        {
            circuitTiles_[static_cast<size_t>(row.firstTile + k)] =
                VisibleGadget(row.x + kCircuitTilePitch * k, row.y, 114, 90);
        }
    }
    for (Gadget& tile : circuitTiles_)
    {
        AddGadget(circuitOverview_.frame.gadgets, tile, kGadgetHighlight);
    }
}

bool MainMenu::DispatchOverviewTile(const Gadget& gadget)
{
    for (size_t rider = 0; rider < riderTiles_.size(); ++rider)
    {
        if (&gadget == &riderTiles_[rider])
        {
            PickRiderTile(static_cast<int32_t>(rider));
            return true;
        }
    }
    for (size_t circuit = 0; circuit < circuitTiles_.size(); ++circuit)
    {
        if (&gadget == &circuitTiles_[circuit])
        {
            PickCircuitTile(static_cast<int32_t>(circuit));
            return true;
        }
    }
    return false;
}

void MainMenu::LoadClassRiders()
{
    g_bikeClass = static_cast<BikeClass>(
        std::min<uint32_t>(g_menuState.U32At(MenuState::kBikeClassOffset), 2));
    g_raceContext.LoadRiderProfiles();
}

void MainMenu::OpenRiderOverview()
{
    mainPanel_.shown = mainPanel_.active = false;
    const uint32_t bikeClass = std::min<uint32_t>(kept_.U32At(MenuState::kBikeClassOffset), 2);
    LoadClassRiders();
    SetMenuBackground(kRiderOverviewScreens[bikeClass]);
    page_ = kRiderOverviewPage;
    preview_.Show(false);
    riderOverview_.shown = riderOverview_.active = true;
    // The tiles of the class: 25, or 26 in the 250 ccm class.
    riderOverview_.frame.gadgets.head = nullptr;
    const auto tiles = static_cast<size_t>(RiderCountOfClass(bikeClass));
    for (size_t rider = 0; rider < tiles; ++rider)
    {
        AddGadget(riderOverview_.frame.gadgets, riderTiles_[rider], kGadgetHighlight);
    }
    UpdateElement(0);
    RepaintAll();
}

void MainMenu::OpenCircuitOverview()
{
    LoadClassRiders();
    SetMenuBackground(kCircuitOverviewScreen);
    page_ = kCircuitOverviewPage;
    circuitOverview_.shown = circuitOverview_.active = true;
    UpdateElement(0);
    mainPanel_.shown = mainPanel_.active = false;
    RepaintAll();
}

void MainMenu::PickRiderTile(int32_t rider)
{
    g_menuState.SetU32At(MenuState::kPlayerRiderOffset, static_cast<uint32_t>(rider));
    SetMenuBackground(kRiderScreen);
    riderOverview_.shown = riderOverview_.active = false;
    mainPanel_.shown = mainPanel_.active = true;
    preview_.Show(true);
    ShowRider();
    UpdateElement(kRiderPage);
    page_ = kRiderPage;
    RepaintAll();
}

void MainMenu::PickCircuitTile(int32_t circuit)
{
    g_menuState.SetU32At(MenuState::kCircuitOffset, static_cast<uint32_t>(circuit));
    g_circuitIndex = static_cast<CircuitId>(circuit);
    circuitOverview_.shown = circuitOverview_.active = false;
    RollWeatherConditions(g_menuState);
    ShowCircuit();
    SetMenuBackground(kCircuitScreen);
    UpdateElement(kCircuitPage);
    page_ = kCircuitPage;
    mainPanel_.shown = mainPanel_.active = true;
    RepaintAll();
}

void MainMenu::DrawRiderName() const
{
    const auto rider = std::min<size_t>(g_menuState.U32At(MenuState::kPlayerRiderOffset),
                                        g_riderProfiles.size() - 1);
    const RiderProfile& profile = g_riderProfiles[rider];
    SetTextFont(GetMenuFont(MenuFont::Menu18));
    DrawColorTextClipped(50, 60, kTileTextColour, profile.ShownName().c_str(), kAlignLeft);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    const std::string third(profile.infoText.data(),
                            strnlen(profile.infoText.data(), profile.infoText.size()));
    DrawColorTextClipped(50, 80, kTileTextColour, third.c_str(), kAlignLeft);
}

void MainMenu::DrawRiderOverview() const
{
    g_menuBackground.Draw();
    DrawBitmapClipped(headlines_, 0, kRiderOverviewHeadline * 55, 0, 0, 450, 55, 1);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    for (const Gadget* tile = riderOverview_.frame.gadgets.head; tile != nullptr; tile = tile->next)
    {
        const auto rider = static_cast<size_t>(tile - riderTiles_.data());
        const RiderProfile& profile = g_riderProfiles[rider];
        // The name box lies at the tile's lower right.
        const int32_t x = tile->screenX + 86;
        const int32_t y = tile->screenY + 57;
        SetExtraClipRect(x - kNameBoxWidth, y, x, y + 26);
        const uint32_t colour = tile->hover != 0 ? kHoveredTileColour : kTileTextColour;
        int32_t line = 0;
        for (const std::string& name : {NameLine(profile.firstName), NameLine(profile.lastName)})
        {
            // A long name shows its start.
            const int32_t width = g_renderDevice.StrLen(name.c_str());
            DrawColorTextClipped(x + std::max(0, width - kNameBoxWidth), y + 12 * line, colour,
                                 name.c_str(), kAlignRight);
            ++line;
        }
        ClearExtraClipRect();
    }
    DrawRiderName();
}

void MainMenu::DrawCircuitOverview() const
{
    g_menuBackground.Draw();
    DrawBitmapClipped(headlines_, 0, kCircuitOverviewHeadline * 55, 0, 0, 450, 55, 1);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    for (size_t circuit = 0; circuit < circuitTiles_.size(); ++circuit)
    {
        const Gadget& tile = circuitTiles_[circuit];
        const CircuitTitleWords words = CircuitTitle(g_language, static_cast<CircuitId>(circuit));
        const uint32_t colour = tile.hover != 0 ? kHoveredTileColour : kCircuitTextColour;
        const int32_t x = tile.screenX + 109;
        const int32_t y = tile.screenY + 74;
        if (words.second == nullptr || words.second[0] == '\0')
        {
            DrawColorTextClipped(x, y, colour, words.first, kAlignRight);
        }
        else
        {
            DrawColorTextClipped(x, y - 12, colour, words.first, kAlignRight);
            DrawColorTextClipped(x, y, colour, words.second, kAlignRight);
        }
    }
    DrawRiderName();
}
