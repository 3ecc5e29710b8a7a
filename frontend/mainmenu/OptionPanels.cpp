#include "frontend/mainmenu/OptionPanels.h"

#include "frontend/mainmenu/MainMenuLayout.h"
#include "frontend/mainmenu/MainMenuTexts.h"

namespace
{
constexpr int32_t kTile = 16;
constexpr int32_t kRowPitch = 24;
constexpr uint16_t kButtonWidth = 48;
constexpr uint16_t kButtonHeight = 40;
constexpr uint16_t kOkSheetX = 288;
constexpr uint16_t kCancelSheetX = 244;
constexpr int32_t kValueWidth = 96;
constexpr uint16_t kKnobWidth = 12;
constexpr uint16_t kKnobHeight = 18;

struct Place
{
    int32_t centreX;
    int32_t centreY;
    int32_t columns;
    int32_t rows;  // 16-pixel tiles
    size_t rowCount;
    int32_t okX;
    int32_t cancelX;
    int32_t buttonsY;  // 0: below the last row
    size_t firstSliderRow;
    size_t sliderCount;
    int32_t sliderStart;  // from the row's left edge, past the longest caption
};

// In the order of OptionPanelId.
constexpr std::array<Place, kOptionPanelCount> kPlaces = {{
    {418, 246, 17, 17, 10, 506, 272, 0, 0, 0, 0},
    {418, 256, 12, 9, 4, 418 + 70, 418 - 114, 256 + 45, 0, 0, 0},
    {318, 206, 14, 12, 6, 318 + 70, 318 - 114, 206 + 60, 0, 0, 0},
    {318, 246, 20, 8, 2, 318 + 100, 318 - 144, 246 + 29, 0, 0, 0},
    {388, 246, 14, 8, 2, 388 + 72, 388 - 120, 246 + 29, 0, 0, 0},
    {388, 246, 18, 19, 8, 484, 234, 0, 0, 3, 162},
    {418, 246, 19, 8, 4, 522, 256, 0, 0, 0, 0},
    {318, 286, 19, 9, 3, 422, 156, 0, 0, 1, 130},
    {418, 256, 19, 15, 7, 522, 256, 0, 0, 1, 130},
    {380, 246, 23, 24, 12, 516, 186, 0, 9, 3, 214},
    {400, 220, 21, 5, 2, 0, 0, 0, 0, 0, 0},
}};

Gadget SheetButton(uint16_t sheetX, int32_t x, int32_t y)
{
    Gadget gadget;
    gadget.normalPicture = kButtonSheetPicture;
    gadget.hoverPicture = kLitButtonSheetPicture;
    gadget.sourceX = sheetX;
    gadget.width = kButtonWidth;
    gadget.height = kButtonHeight;
    gadget.screenX = static_cast<uint16_t>(x);
    gadget.screenY = static_cast<uint16_t>(y);
    gadget.drawFlag = 1;
    gadget.visible = 1;
    return gadget;
}
}  // namespace

void BuildOptionPanel(OptionPanel& panel, OptionPanelId id, const PanelTitle& title,
                      int32_t columns)
{
    const Place& place = kPlaces.at(static_cast<size_t>(id));
    panel = OptionPanel{};
    MenuFrame& frame = panel.frame;
    frame.centreX = place.centreX;
    frame.centreY = place.centreY;
    frame.width = columns != 0 ? columns : place.columns;
    frame.height = place.rows;
    frame.title = title.text;
    frame.titleLength = title.tiles;
    panel.rowCount = place.rowCount;
    // The network panel's second row lies one row lower.
    const int32_t rowStep = id == OptionPanelId::Network ? 2 : 1;
    for (size_t row = 0; row < place.rowCount; ++row)
    {
        panel.rows[row] = PanelRowGadget(frame, static_cast<int32_t>(row) * rowStep);
    }
    if (id == OptionPanelId::Network)
    {
        // Only a close button, at the lower right.
        const int32_t right = frame.centreX + frame.width * kTile / 2 + 16;
        panel.cancel = SheetButton(kCancelSheetX, right - kButtonWidth - 8,
                                   frame.centreY + frame.height * kTile / 2 - kButtonHeight + 24);
        AddGadget(frame.gadgets, panel.cancel, kGadgetHighlight);
        for (size_t row = 0; row < place.rowCount; ++row)
        {
            AddGadget(frame.gadgets, panel.rows[row], kGadgetHighlight);
        }
        return;
    }
    const int32_t lastRowBottom =
        panel.rows[0].screenY + static_cast<int32_t>(place.rowCount) * kRowPitch;
    const int32_t buttonsY = place.buttonsY != 0 ? place.buttonsY : lastRowBottom + 8;
    panel.ok = SheetButton(kOkSheetX, place.okX, buttonsY);
    panel.cancel = SheetButton(kCancelSheetX, place.cancelX, buttonsY);
    AddGadget(frame.gadgets, panel.cancel, kGadgetHighlight);
    AddGadget(frame.gadgets, panel.ok, kGadgetHighlight);

    panel.firstSliderRow = place.firstSliderRow;
    panel.sliderCount = place.sliderCount;
    for (size_t index = 0; index < place.sliderCount; ++index)
    {
        Gadget& row = panel.rows[place.firstSliderRow + index];
        Slider& slider = panel.sliders[index];
        const ValueArea value = RowValueArea(panel, place.firstSliderRow + index);
        const int32_t start = row.screenX + place.sliderStart;
        slider.x = static_cast<uint16_t>(start);
        slider.y = row.screenY;
        slider.width = static_cast<uint16_t>(value.left - 8 - start);
        slider.height = row.height;
        slider.knobWidth = kKnobWidth;
        slider.knobHeight = kKnobHeight;
        slider.gadget = &row;
        slider.maximum = 1.0f;
        slider.UpdateKnob();
    }
    for (size_t row = 0; row < place.rowCount; ++row)
    {
        AddGadget(frame.gadgets, panel.rows[row], kGadgetHighlight);
    }
}

Slider* SliderOfRow(OptionPanel& panel, size_t row)
{
    if (row < panel.firstSliderRow || row >= panel.firstSliderRow + panel.sliderCount)
    {
        return nullptr;
    }
    return &panel.sliders[row - panel.firstSliderRow];
}

ValueArea RowValueArea(const OptionPanel& panel, size_t row)
{
    // A slider's gadget follows the slider; the row's place comes from the frame.
    const int32_t right = panel.frame.centreX + panel.frame.width * kTile / 2 + 16;
    const int32_t top = PanelRowGadget(panel.frame, static_cast<int32_t>(row)).screenY;
    return {right - kValueWidth, top - 20, right, top + 44};
}
