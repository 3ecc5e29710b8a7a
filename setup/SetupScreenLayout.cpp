#include "setup/SetupScreenLayout.h"

namespace
{
using C = SetupControl;

constexpr SetupControl Plus(SetupControl control, int offset)
{
    return static_cast<SetupControl>(static_cast<int>(control) + offset);
}

// Gadget sheets hold each gadget's picture at its own screen place; slot 0 is the class's
// small tyre picture, slot 1 the sheet.
constexpr SetupGadgetPlace Sheet(SetupControl control, uint16_t x, uint16_t y, uint16_t width,
                                 uint16_t height, bool normalShown)
{
    return {control, x, y, width, height, static_cast<int8_t>(normalShown ? 1 : -1), 1, x, y};
}

constexpr SetupGadgetPlace kOk = Sheet(C::Ok, 606, 352, 20, 24, false);
constexpr SetupGadgetPlace kCancel = Sheet(C::Cancel, 605, 378, 23, 18, false);

constexpr std::array kMainPanel = {Sheet(C::Leave, 8, 446, 61, 30, true)};

constexpr std::array kTyresPanel = {
    SetupGadgetPlace{C::TyreCategory0, 242, 108, 120, 94, 0, 0, 0, 0},
    SetupGadgetPlace{C::TyreCategory1, 362, 108, 124, 94, 0, 0, 120, 0},
    SetupGadgetPlace{C::TyreCategory2, 486, 108, 130, 94, 0, 0, 244, 0},
    Sheet(Plus(C::FrontCompound0, 0), 358, 261, 22, 24, false),
    Sheet(Plus(C::FrontCompound0, 1), 358, 285, 22, 22, false),
    Sheet(Plus(C::FrontCompound0, 2), 358, 307, 22, 22, false),
    Sheet(Plus(C::FrontCompound0, 3), 358, 329, 22, 22, false),
    Sheet(Plus(C::FrontCompound0, 4), 358, 351, 22, 22, false),
    Sheet(Plus(C::RearCompound0, 0), 472, 261, 22, 24, false),
    Sheet(Plus(C::RearCompound0, 1), 472, 285, 22, 22, false),
    Sheet(Plus(C::RearCompound0, 2), 472, 307, 22, 22, false),
    Sheet(Plus(C::RearCompound0, 3), 472, 329, 22, 22, false),
    Sheet(Plus(C::RearCompound0, 4), 472, 351, 22, 22, false),
};

constexpr std::array kBrakesPanel = {
    Sheet(Plus(C::BrakeCharacteristic0, 0), 348, 361, 22, 35, false),
    Sheet(Plus(C::BrakeCharacteristic0, 1), 370, 361, 20, 35, false),
    Sheet(Plus(C::BrakeCharacteristic0, 2), 395, 361, 21, 35, false),
    Sheet(C::BrakeBLess, 530, 369, 34, 18, true),
    Sheet(C::BrakeBMore, 564, 369, 34, 18, true),
    Sheet(C::BrakeAMore, 607, 270, 18, 34, true),
    Sheet(C::BrakeALess, 607, 304, 18, 34, true),
    kOk,
    kCancel,
};

constexpr std::array kCoolingPanel = {
    SetupGadgetPlace{C::SliderKnob0, 118, 388, 401, 6, -1, -1, 0, 0},
};

constexpr SetupGadgetPlace Knob(int slider, uint16_t x, uint16_t y, uint16_t track)
{
    return {Plus(C::SliderKnob0, slider), x, y, track, 6, -1, -1, 0, 0};
}

constexpr std::array kFrontSuspensionPanel = {
    Knob(0, 374, 245, 152),
    Knob(1, 358, 290, 168),
    Knob(2, 342, 336, 184),
    Knob(3, 326, 382, 200),
    Sheet(Plus(C::SliderLess0, 0), 530, 231, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 0), 564, 231, 34, 18, true),
    Sheet(Plus(C::SliderLess0, 1), 530, 277, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 1), 564, 277, 34, 18, true),
    Sheet(Plus(C::SliderLess0, 2), 530, 323, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 2), 564, 323, 34, 18, true),
    Sheet(Plus(C::SliderLess0, 3), 530, 369, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 3), 564, 369, 34, 18, true),
    kOk,
    kCancel,
};

constexpr std::array kIgnitionPanel = {
    Knob(0, 103, 388, 166),
    Knob(1, 353, 388, 166),
    Knob(2, 353, 126, 166),
    Sheet(Plus(C::SliderLess0, 0), 277, 369, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 0), 311, 369, 34, 18, true),
    Sheet(Plus(C::SliderLess0, 1), 530, 369, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 1), 564, 369, 34, 18, true),
    Sheet(Plus(C::SliderLess0, 2), 530, 107, 34, 18, true),
    Sheet(Plus(C::SliderMore0, 2), 564, 107, 34, 18, true),
    kOk,
    kCancel,
};

constexpr std::array kGearboxPanel = {
    Sheet(Plus(C::Gear0, 0), 219, 361, 22, 18, false),
    Sheet(Plus(C::Gear0, 1), 242, 361, 22, 18, false),
    Sheet(Plus(C::Gear0, 2), 267, 361, 22, 18, false),
    Sheet(Plus(C::Gear0, 3), 293, 361, 22, 18, false),
    Sheet(Plus(C::Gear0, 4), 317, 361, 22, 18, false),
    Sheet(Plus(C::Gear0, 5), 341, 361, 22, 18, false),
    Sheet(C::GearShorter, 607, 130, 18, 34, true),
    Sheet(C::GearLonger, 607, 164, 18, 34, true),
    Sheet(C::SecondaryDown, 399, 369, 34, 18, true),
    Sheet(C::SecondaryUp, 433, 369, 34, 18, true),
    kOk,
    kCancel,
};

constexpr std::array<SetupIconPlace, kSetupIcons> kIcons = {{
    {16, false},
    {6, true},
    {6, false},
    {6, true},
    {6, true},
    {6, false},
    {6, false},
    {6, true},
    {1, false},
    {1, false},
    {1, false},
}};

constexpr std::array<SetupPage, kSetupIcons> kIconPages = {
    SetupPage::Tyres,           SetupPage::Brakes,         SetupPage::Cooling,
    SetupPage::FrontSuspension, SetupPage::RearSuspension, SetupPage::Gearbox,
    SetupPage::Ignition,        SetupPage::CircuitInfo,    SetupPage::Main,
    SetupPage::LoadSetup,       SetupPage::SaveSetup,
};
}  // namespace

std::span<const SetupGadgetPlace> PanelGadgets(SetupPage page)
{
    switch (page)
    {
        case SetupPage::Main:
            return kMainPanel;
        case SetupPage::Tyres:
            return kTyresPanel;
        case SetupPage::Brakes:
            return kBrakesPanel;
        case SetupPage::Cooling:
            return kCoolingPanel;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
            return kFrontSuspensionPanel;
        case SetupPage::Ignition:
            return kIgnitionPanel;
        case SetupPage::Gearbox:
            return kGearboxPanel;
        default:
            return {};
    }
}

const SetupIconPlace& IconPlace(int icon)
{
    return kIcons[static_cast<size_t>(icon)];
}

SetupPage IconPage(int icon)
{
    return kIconPages[static_cast<size_t>(icon)];
}

std::string_view PagePicture(SetupPage page, BikeClass bikeClass)
{
    switch (page)
    {
        case SetupPage::Tyres:
            return "setup/ReifenBack.jpg";
        case SetupPage::Brakes:
            return "setup/BremseBack.jpg";
        case SetupPage::Cooling:
            return "setup/KuehlungBack.jpg";
        case SetupPage::FrontSuspension:
            return "setup/FederungVorn.jpg";
        case SetupPage::RearSuspension:
            return "setup/FederungHinten.jpg";
        case SetupPage::Ignition:
            return "setup/Zuendung.jpg";
        case SetupPage::Gearbox:
            return std::array<std::string_view, 3>{"setup/Getriebe125.jpg", "setup/Getriebe250.jpg",
                                                   "setup/Getriebe500.jpg"}[ToIndex(bikeClass)];
        default:
            return "setup/setupmain.jpg";
    }
}

std::string_view SmallTyrePicture(BikeClass bikeClass, bool highlighted)
{
    constexpr std::array<std::string_view, 3> kNormal = {"setup/r125.jpg", "setup/r250.jpg",
                                                         "setup/r500.jpg"};
    constexpr std::array<std::string_view, 3> kLit = {"setup/r125A.jpg", "setup/r250A.jpg",
                                                      "setup/r500A.jpg"};
    return (highlighted ? kLit : kNormal)[ToIndex(bikeClass)];
}

std::string_view LargeTyrePicture(BikeClass bikeClass)
{
    constexpr std::array<std::string_view, 3> kLarge = {
        "setup/reifen125.jpg", "setup/reifen250.jpg", "setup/reifen500.jpg"};
    return kLarge[ToIndex(bikeClass)];
}

int SummaryBarOf(SetupPage page)
{
    switch (page)
    {
        case SetupPage::Tyres:
            return 0;
        case SetupPage::Brakes:
            return 1;
        case SetupPage::Cooling:
            return 2;
        case SetupPage::FrontSuspension:
        case SetupPage::RearSuspension:
            return 3;
        case SetupPage::Ignition:
        case SetupPage::Gearbox:
            return 4;
        default:
            return -1;
    }
}
