#pragma once

// Where the set-up screen's pictures, gadgets and icons lie: static tables of the screen.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/game/GameEnums.h"
#include "setup/SetupPages.h"

// What a gadget of the set-up screen does when it is pressed.
enum class SetupControl : uint8_t
{
    Leave,
    Ok,
    Cancel,
    TyreCategory0,
    TyreCategory1,
    TyreCategory2,
    FrontCompound0,  // .. FrontCompound0 + 4
    RearCompound0 = FrontCompound0 + 5,
    BrakeCharacteristic0 = RearCompound0 + 5,
    BrakeBLess = BrakeCharacteristic0 + 3,
    BrakeBMore,
    BrakeAMore,
    BrakeALess,
    SliderKnob0,                    // .. SliderKnob0 + 3: the page's sliders
    SliderLess0 = SliderKnob0 + 4,  // .. + 3: the arrows of the page's sliders
    SliderMore0 = SliderLess0 + 4,
    Gear0 = SliderMore0 + 4,  // .. Gear0 + 5
    GearShorter = Gear0 + 6,
    GearLonger,
    SecondaryDown,
    SecondaryUp,
};

// One gadget: its place, its pictures (row 1 normal, row 2 lit, row 0 pressed: slot indices, -1
// none; the source is the gadget's own place in the sheet) and its control.
struct SetupGadgetPlace
{
    SetupControl control;
    uint16_t x;
    uint16_t y;
    uint16_t width;
    uint16_t height;
    int8_t normalPicture;
    int8_t litPicture;
    uint16_t sourceX;
    uint16_t sourceY;
};

// Panels in chain order, by the page they belong to (Main for the main panel).
std::span<const SetupGadgetPlace> PanelGadgets(SetupPage page);

struct SetupIconPlace
{
    uint16_t frames;
    bool pingPong;
};
inline constexpr int kSetupIcons = 11;
inline constexpr int kIconSize = 48;
inline constexpr int kIconTop = 432;
inline constexpr int kCircuitIcon = 7;
inline constexpr int kTelemetryIcon = 8;
inline constexpr int kLoadIcon = 9;
inline constexpr int kSaveIcon = 10;
constexpr int IconLeft(int icon)
{
    return 71 + 51 * icon;
}
const SetupIconPlace& IconPlace(int icon);
// The page an icon opens; Main for the telemetry icon (8), which opens no page.
SetupPage IconPage(int icon);

// Picture names.
std::string_view PagePicture(SetupPage page, BikeClass bikeClass);
std::string_view SmallTyrePicture(BikeClass bikeClass, bool highlighted);
std::string_view LargeTyrePicture(BikeClass bikeClass);
inline constexpr std::string_view kSummaryBarsActive = "setup/setupleisteA.bmp";
inline constexpr std::string_view kSummaryBarsInactive = "setup/setupleisteI.bmp";
inline constexpr std::string_view kIconStrip = "setup/IconAnis.bmp";
inline constexpr std::string_view kGadgetSheet = "setup/IconsI.bmp";
inline constexpr std::string_view kLitGadgetSheet = "setup/IconsA.bmp";
inline constexpr std::string_view kTyreTexts = "setup/reifentexte.jpg";
inline constexpr std::string_view kKnobPicture = "setup/slider.tga";
inline constexpr int32_t kKnobTexture = 50;

// The summary bars: the bar of the open page is drawn from the active strip.
struct SummaryBarPlace
{
    uint16_t y;
    uint16_t width;
};
inline constexpr std::array<SummaryBarPlace, 5> kSummaryBars = {
    {{137, 128}, {176, 128}, {213, 128}, {252, 128}, {290, 108}}};
inline constexpr int kSummaryBarX = 34;
inline constexpr int kSummaryBarHeight = 24;
// -1 on the main and file pages.
int SummaryBarOf(SetupPage page);
