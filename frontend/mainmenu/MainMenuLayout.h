#pragma once

// Where the main menu's buttons, panels and marker lie, and the pictures its gadgets use.

#include <cstddef>
#include <cstdint>

#include "frontend/toolkit/Gadget.h"

struct MenuFrame;
struct PanelTitle;

// Entries of the menu's picture table: the button sheet as it stands and lit, and the label
// pictures 1..9 of the main buttons as they stand and lit.
inline constexpr int8_t kButtonSheetPicture = 0;
inline constexpr int8_t kLitButtonSheetPicture = 1;
inline constexpr int32_t kLabelPictureCount = 9;
constexpr int8_t LabelPicture(int32_t label)
{
    return static_cast<int8_t>(4 + label);
}
constexpr int8_t LitLabelPicture(int32_t label)
{
    return static_cast<int8_t>(13 + label);
}

Gadget MainButtonGadget(size_t entry);
Gadget BottomButtonGadget(size_t button);

enum RowPanel
{
    kModePanel,
    kLevelPanel,
    kQuitPanel,
    kInfoPanel,
};
void SetPanelGeometry(MenuFrame& frame, RowPanel panel, const PanelTitle& title);
// The clickable row of an option panel, 24 pixels apart.
Gadget PanelRowGadget(const MenuFrame& frame, int32_t row);
Gadget QuitAnswerGadget(const MenuFrame& frame, bool yes);
// The info panel's OK.
Gadget InfoOkGadget();

struct MarkerPosition
{
    int32_t x;
    int32_t y;
};
// The pulsing marker beside the selected main entry.
MarkerPosition SelectionMarker(int32_t entry);

// Riders of a class: their numbers start at 0, 25 and 51; 25, 26 and 25 of them.
uint32_t FirstRiderOfClass(uint32_t bikeClass);
int32_t RiderCountOfClass(uint32_t bikeClass);
