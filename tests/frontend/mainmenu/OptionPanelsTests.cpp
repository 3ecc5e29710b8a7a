// Where the option panels put their rows, buttons and sliders: on the screen, inside their
// frame, and never over each other, so that every click reaches the gadget it shows.

#include <gtest/gtest.h>

#include "frontend/framework/MenuFrame.h"
#include "frontend/mainmenu/MainMenuTexts.h"
#include "frontend/mainmenu/OptionPanels.h"

namespace
{
bool Overlap(const Gadget& a, const Gadget& b)
{
    return a.screenX < b.screenX + b.width && b.screenX < a.screenX + a.width &&
           a.screenY < b.screenY + b.height && b.screenY < a.screenY + a.height;
}

// The frame's drawn area at full size.
struct Area
{
    int32_t left, top, right, bottom;
};
Area FrameArea(const MenuFrame& frame)
{
    const int32_t hw = frame.width * 8;
    const int32_t hh = frame.height * 8;
    return {frame.centreX - hw - 48, frame.centreY - hh - 48, frame.centreX + hw + 48,
            frame.centreY + hh + 32};
}
}  // namespace

TEST(OptionPanels, RowsButtonsAndSlidersLieInTheirFrameAndApart)
{
    for (size_t index = 0; index < kOptionPanelCount; ++index)
    {
        const auto id = static_cast<OptionPanelId>(index);
        SCOPED_TRACE(index);
        OptionPanel panel;
        BuildOptionPanel(panel, id, PanelTitle{"Titel", 3});
        const Area area = FrameArea(panel.frame);
        EXPECT_GE(area.left, 0);
        EXPECT_GE(area.top, 0);
        EXPECT_LE(area.right, 640);
        EXPECT_LE(area.bottom, 480);
        std::vector<const Gadget*> gadgets;
        for (size_t row = 0; row < panel.rowCount; ++row)
        {
            gadgets.push_back(&panel.rows[row]);
        }
        gadgets.push_back(&panel.cancel);
        if (id != OptionPanelId::Network)
        {
            gadgets.push_back(&panel.ok);
        }
        for (size_t a = 0; a < gadgets.size(); ++a)
        {
            const Gadget& gadget = *gadgets[a];
            EXPECT_GE(gadget.screenX, area.left) << a;
            EXPECT_LE(gadget.screenX + gadget.width, area.right) << a;
            EXPECT_GE(gadget.screenY, area.top) << a;
            EXPECT_LE(gadget.screenY + gadget.height, area.bottom) << a;
            for (size_t b = a + 1; b < gadgets.size(); ++b)
            {
                EXPECT_FALSE(Overlap(gadget, *gadgets[b])) << a << " and " << b;
            }
        }
        for (size_t slider = 0; slider < panel.sliderCount; ++slider)
        {
            const Slider& track = panel.sliders[slider];
            const ValueArea value = RowValueArea(panel, panel.firstSliderRow + slider);
            EXPECT_GT(track.width, 40) << slider;
            EXPECT_LT(track.x + track.width, value.left) << slider;
        }
    }
}
