#include "frontend/mainmenu/MainMenuLayout.h"

#include <array>

#include "frontend/framework/MenuFrame.h"
#include "frontend/mainmenu/MainMenuTexts.h"

namespace
{
struct ButtonPlace
{
    uint16_t sourceX;
    uint16_t width;
    uint16_t height;
    uint16_t x;
    uint16_t y;
};

// Mode, level, rider, circuit, realism, options, load game, observe; labels 1..5, 7, 8, 9.
constexpr std::array<ButtonPlace, 8> kMainButtons = {{
    {0, 218, 25, 0, 104},
    {0, 200, 24, 0, 128},
    {0, 182, 24, 0, 152},
    {0, 166, 24, 0, 176},
    {0, 152, 24, 0, 200},
    {0, 142, 27, 0, 225},
    {0, 134, 24, 0, 250},
    {0, 134, 24, 0, 274},
}};
constexpr std::array<int32_t, 8> kMainButtonLabels = {1, 2, 3, 4, 5, 7, 8, 9};

// Back, previous, next, accept, go, class 125 / 250 / 500, circuit information, weather sunny /
// cloudy / rainy, overview, set-up.
constexpr std::array<ButtonPlace, 14> kBottomButtons = {{
    {0, 64, 30, 4, 448},
    {64, 44, 26, 254, 454},
    {108, 44, 26, 340, 454},
    {152, 28, 37, 306, 442},
    {180, 64, 35, 569, 443},
    {544, 104, 94, 430, 450},
    {648, 104, 94, 430, 450},
    {752, 104, 94, 430, 450},
    {966, 32, 35, 140, 445},
    {1036, 46, 33, 414, 447},
    {1082, 46, 33, 414, 447},
    {1128, 46, 33, 414, 447},
    {998, 38, 35, 192, 445},
    {1174, 42, 34, 480, 446},
}};

constexpr std::array<MarkerPosition, 8> kMarkers = {{
    {191, 100},
    {171, 124},
    {156, 148},
    {141, 173},
    {124, 196},
    {117, 222},
    {109, 246},
    {109, 270},
}};

struct PanelPlace
{
    int32_t centreX;
    int32_t centreY;
    int32_t columns;
    int32_t rows;
};
constexpr std::array<PanelPlace, 4> kPanels = {{
    {400, 220, 12, 10},
    {418, 213, 9, 3},
    {400, 220, 12, 9},
    {400, 220, 12, 9},
}};

constexpr int32_t kRowSpacing = 24;
constexpr int32_t kTile = 16;

Gadget PlacedGadget(const ButtonPlace& place, int8_t normal, int8_t lit)
{
    Gadget gadget;
    gadget.normalPicture = normal;
    gadget.hoverPicture = lit;
    gadget.sourceX = place.sourceX;
    gadget.width = place.width;
    gadget.height = place.height;
    gadget.screenX = place.x;
    gadget.screenY = place.y;
    gadget.drawFlag = 1;
    gadget.visible = 1;
    return gadget;
}
}  // namespace

Gadget MainButtonGadget(size_t entry)
{
    const int32_t label = kMainButtonLabels.at(entry);
    return PlacedGadget(kMainButtons.at(entry), LabelPicture(label), LitLabelPicture(label));
}

Gadget BottomButtonGadget(size_t button)
{
    return PlacedGadget(kBottomButtons.at(button), kButtonSheetPicture, kLitButtonSheetPicture);
}

void SetPanelGeometry(MenuFrame& frame, RowPanel panel, const PanelTitle& title)
{
    const PanelPlace& place = kPanels.at(static_cast<size_t>(panel));
    frame.centreX = place.centreX;
    frame.centreY = place.centreY;
    frame.width = place.columns;
    frame.height = place.rows;
    frame.title = title.text;
    frame.titleLength = title.tiles;
}

Gadget PanelRowGadget(const MenuFrame& frame, int32_t row)
{
    Gadget gadget;
    gadget.screenX = static_cast<uint16_t>(frame.centreX - frame.width * kTile / 2 - 16);
    gadget.screenY =
        static_cast<uint16_t>(frame.centreY - frame.height * kTile / 2 - 16 + row * kRowSpacing);
    gadget.width = static_cast<uint16_t>(frame.width * kTile + 32);
    gadget.height = kRowSpacing - 4;
    gadget.visible = 1;
    return gadget;
}

Gadget QuitAnswerGadget(const MenuFrame& frame, bool yes)
{
    Gadget gadget;
    gadget.screenX = static_cast<uint16_t>(frame.centreX + (yes ? -90 : 20));
    gadget.screenY = static_cast<uint16_t>(frame.centreY + 10);
    gadget.width = 70;
    gadget.height = 20;
    gadget.visible = 1;
    return gadget;
}

Gadget InfoOkGadget()
{
    Gadget gadget;
    gadget.screenX = 460;
    gadget.screenY = 250;
    gadget.width = 48;
    gadget.height = 20;
    gadget.visible = 1;
    return gadget;
}

MarkerPosition SelectionMarker(int32_t entry)
{
    return kMarkers.at(static_cast<size_t>(entry));
}

uint32_t FirstRiderOfClass(uint32_t bikeClass)
{
    constexpr std::array<uint32_t, 3> kFirst = {0, 25, 51};
    return kFirst.at(bikeClass);
}

int32_t RiderCountOfClass(uint32_t bikeClass)
{
    constexpr std::array<int32_t, 3> kCounts = {25, 26, 25};
    return kCounts.at(bikeClass);
}
