// A small menu screen drawn with the toolkit through the game's render library: gadgets in
// their states, a slider, text in the menu fonts, all clipped to the two repaint lists and
// presented over the flips of the menus' frame cycle.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "app/device/DirtyRectList.h"
#include "app/device/RenderDevice.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/GadgetDrawing.h"
#include "frontend/toolkit/KnobDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/Slider.h"
#include "tests/frontend/toolkit/ToolkitScreen.h"

namespace
{
constexpr int32_t kKnobSlot = 50;
constexpr uint32_t kBackground = 0x603818;  // 0x00BBGGRR: dark blue
constexpr uint32_t kTrack = 0x202020;
constexpr uint32_t kLabelColour = 0x90E8F8;
constexpr uint32_t kSelectionBar = 0xB07058;
constexpr ScreenRect kListArea{196, 80, 312, 128};  // the scrolling list's window
// The screen keeps to the top-left quarter, which the golden frames hold.
constexpr int kShownWidth = 320;
constexpr int kShownHeight = 240;

// The screen: a requester panel, three buttons, a slider with its value and a clipped list.
class MenuScreen
{
public:
    MenuScreen(Texture* button, Texture* litButton) : pictures_{button, litButton}
    {
        for (size_t index = 0; index < buttons_.size(); ++index)
        {
            Gadget& button = buttons_[index];
            button.normalPicture = 0;
            button.hoverPicture = 1;
            button.width = kButtonWidth;
            button.height = kButtonHeight;
            button.screenX = static_cast<uint16_t>(8 + 72 * index);
            button.screenY = 200;
            button.visible = 1;
            AddGadget(gadgets_, button, 3);
        }
        buttons_[2].visible = 0;  // disabled: neither drawn nor hit
        slider_ = {.x = 196,
                   .y = 164,
                   .width = 100,
                   .height = 16,
                   .knobWidth = 16,
                   .knobHeight = 16,
                   .gadget = &sliderGadget_,
                   .minimum = 0.0f,
                   .maximum = 100.0f,
                   .value = 25.0f};
        slider_.UpdateKnob();
    }

    GadgetList& Gadgets() { return gadgets_; }
    Slider& ValueSlider() { return slider_; }
    ScreenRect ValueLabelArea() const { return {196, 140, 312, 160}; }

    void Draw()
    {
        FillRectClipped(0, 0, kScreenWidth, kScreenHeight, kBackground);
        DrawBitmapClipped(GetMenuPicture(MenuPicture::FileRequester), 0, 0, 8, 40, 180, 100, 0);
        SetTextFont(GetMenuFont(MenuFont::Menu16));
        DrawTextClipped(14, 44, "Men\xFC", kAlignLeft);
        SetTextFont(GetMenuFont(MenuFont::Menu18));
        DrawTextClipped(160, 2,
                        "Gro\xDF"
                        "er Preis",
                        kAlignCentre);
        DrawLineClipped(8, 32, 312, 32, 0xFFF8D503);
        DrawGadgetList(gadgets_, pictures_);
        DrawValue();
        DrawList();
        DrawBitmapClipped(GetMenuPicture(MenuPicture::ClassPicture), 0, 31, 194, 40, 120, 31, 0);
        DrawBitmapClipped(GetMenuPicture(MenuPicture::Pointer), 0, 0, 236, 196, 32, 32, 1);
    }

private:
    void DrawValue()
    {
        SetTextFont(GetMenuFont(MenuFont::Menu12));
        const int32_t value = static_cast<int32_t>(slider_.value);
        const std::string label = "Wert: " + std::to_string(value) + "%";
        DrawColorTextClipped(197, 143, 0x000000, label.c_str(), kAlignLeft);
        DrawColorTextClipped(196, 142, kLabelColour, label.c_str(), kAlignLeft);
        FillRectClipped(slider_.x, slider_.y + 6, slider_.x + slider_.width, slider_.y + 10,
                        kTrack);
        DrawSpriteClipped(kKnobSlot, slider_);
    }

    // Rows scrolled by half a row: the extra clip cuts the first and last rows.
    void DrawList()
    {
        FillRectClipped(kListArea.left, kListArea.top, kListArea.right, kListArea.bottom, kTrack);
        SetExtraClipRect(kListArea.left, kListArea.top, kListArea.right, kListArea.bottom);
        SetTextFont(GetMenuFont(MenuFont::Menu12Fixed));
        constexpr std::array<const char*, 5> kRows = {"Jerez", "Mugello", "A1-Ring",
                                                      "N\xFCrburgring", "Br\xFCnn"};
        for (size_t row = 0; row < kRows.size(); ++row)
        {
            const int32_t y = kListArea.top - 6 + 12 * static_cast<int32_t>(row);
            if (row == 2)
            {
                FillRectClipped(kListArea.left, y, kListArea.right, y + 12, kSelectionBar);
            }
            DrawTextClipped(kListArea.left + 4, y, kRows[row], kAlignLeft);
        }
        ClearExtraClipRect();
    }

    std::array<Texture*, 2> pictures_{};
    std::array<Gadget, 3> buttons_{};
    Gadget sliderGadget_{};
    GadgetList gadgets_;
    Slider slider_{};
};

// The menus' frame cycle: the current buffer's list, the flip, the other buffer's list; then
// both lists are empty.
void PresentFrame(MenuScreen& screen, DirtyRectList& current, DirtyRectList& other)
{
    SetActiveRectList(&current);
    screen.Draw();
    g_renderDevice.Wait(0);
    g_renderDevice.Flip();
    SetActiveRectList(&other);
    screen.Draw();
    current.Clear();
    other.Clear();
}

void MarkBoth(const ScreenRect& area, DirtyRectList& first, DirtyRectList& second)
{
    first.AddRect(area);
    second.AddRect(area);
}

bool Inside(const ScreenRect& area, int x, int y)
{
    return area.left <= x && x < area.right && area.top <= y && y < area.bottom;
}

class ToolkitScreenTest : public ToolkitScreen
{
};

TEST_F(ToolkitScreenTest, RepaintsOnlyWhatChangedInBothBuffers)
{
    OpenScreen();
    LoadMenuFonts();
    Texture* button = nullptr;
    Texture* litButton = nullptr;
    ASSERT_NE(g_renderDevice.LoadMemoryTexture(kButtonName, &button), nullptr);
    ASSERT_NE(g_renderDevice.LoadMemoryTexture(kLitButtonName, &litButton), nullptr);
    ASSERT_NE(g_renderDevice.LoadTexture(kKnobName, kKnobSlot, 0, 0), nullptr);
    MenuScreen screen(button, litButton);
    DirtyRectList first;
    DirtyRectList second;

    // The first frame paints everything.
    MarkBoth({0, 0, kScreenWidth, kScreenHeight}, first, second);
    ASSERT_EQ(g_renderDevice.BeginDraw(), 1);
    PresentFrame(screen, first, second);

    // The pointer comes over the first button and the slider is dragged to three quarters.
    Gadget* hit = FindGadgetAt(screen.Gadgets(), 20, 210);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(UpdateGadgetHover(screen.Gadgets(), hit, first, second), hit);
    Slider& slider = screen.ValueSlider();
    const ScreenRect oldKnob{slider.knobPosition, slider.y, slider.knobPosition + slider.knobWidth,
                             slider.y + slider.knobHeight};
    slider.SetFromMouse(slider.x + 75);
    EXPECT_FLOAT_EQ(slider.value, 75.0f);
    const ScreenRect newKnob{slider.knobPosition, slider.y, slider.knobPosition + slider.knobWidth,
                             slider.y + slider.knobHeight};
    MarkBoth(oldKnob, first, second);
    MarkBoth(newKnob, first, second);
    MarkBoth(screen.ValueLabelArea(), first, second);
    PresentFrame(screen, first, second);

    // Nothing changes: the other buffer, repainted after the flip, shows the same.
    g_renderDevice.Wait(0);
    g_renderDevice.Flip();
    g_renderDevice.EndDraw();

    g_renderDevice.FreeMemoryTexture(&button);
    g_renderDevice.FreeMemoryTexture(&litButton);
    ASSERT_EQ(platform_.Frames().size(), 3u);
    ExpectGolden("toolkit-screen-first", 0, kShownWidth, kShownHeight, 0xB03BBAEC150454E0);
    ExpectGolden("toolkit-screen-changed", 1, kShownWidth, kShownHeight, 0x892290D5D8369EB2);
    EXPECT_EQ(HashFrame(Frame(2)), HashFrame(Frame(1)));

    // Outside the repainted rectangles the changed frame is the first one.
    const std::array<ScreenRect, 4> repainted = {
        ScreenRect{8, 200, 8 + kButtonWidth, 200 + kButtonHeight}, oldKnob, newKnob,
        screen.ValueLabelArea()};
    int changedOutside = 0;
    int changedInside = 0;
    for (int y = 0; y < kScreenHeight; ++y)
    {
        for (int x = 0; x < kScreenWidth; ++x)
        {
            const bool changed = Frame(0).At(x, y) != Frame(1).At(x, y);
            const bool inside =
                std::any_of(repainted.begin(), repainted.end(),
                            [&](const ScreenRect& area) { return Inside(area, x, y); });
            (inside ? changedInside : changedOutside) += changed ? 1 : 0;
        }
    }
    EXPECT_EQ(changedOutside, 0);
    EXPECT_GT(changedInside, 0);
}
}  // namespace
