#pragma once

// The option panels of the main menu: the realism tree (riding aids, weather, opposition,
// damage, the race settings) and the options tree (graphics, sound, controls). Each is a menu
// frame with a row gadget per option, 24 pixels apart, and OK and cancel buttons below; some
// rows are sliders.

#include <array>
#include <cstddef>
#include <cstdint>

#include "frontend/framework/MenuFrame.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/Slider.h"

struct PanelTitle;

enum class OptionPanelId : size_t
{
    RideAids,
    Realism,
    Damage,
    Weather,
    Opposition,
    Settings,
    Options,
    Graphics,
    Sound,
    Controls,
    Network,  // no tree: the choice of hosting or joining, with a close button
};
inline constexpr size_t kOptionPanelCount = 11;
inline constexpr size_t kMostOptionRows = 12;
inline constexpr size_t kMostSliders = 3;

struct OptionPanel
{
    MenuFrame frame;
    bool active = false;
    size_t rowCount = 0;
    std::array<Gadget, kMostOptionRows> rows{};
    Gadget ok{};
    Gadget cancel{};
    // The slider rows follow each other from the first one; a slider's gadget is its row.
    size_t firstSliderRow = 0;
    size_t sliderCount = 0;
    std::array<Slider, kMostSliders> sliders{};
};

// Places the panel, its rows, its buttons (cut from the button sheet, the menu's picture 0
// and its lit picture 1) and its sliders, and registers the gadgets on the frame. columns
// other than 0 replace the panel's width in tiles.
void BuildOptionPanel(OptionPanel& panel, OptionPanelId id, const PanelTitle& title,
                      int32_t columns = 0);

// The slider of a row, or null.
Slider* SliderOfRow(OptionPanel& panel, size_t row);
// The area at the panel's right edge where a row's value is shown.
struct ValueArea
{
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
ValueArea RowValueArea(const OptionPanel& panel, size_t row);
