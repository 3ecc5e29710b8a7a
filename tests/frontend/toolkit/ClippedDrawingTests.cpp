// Clipped drawing against entry points of the test's own that record what the toolkit asks
// of the render library: one draw per repaint rectangle, each after its clip rectangle.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "app/device/RenderBindings.h"
#include "app/device/RenderDevice.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/KnobDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/Slider.h"

namespace
{
std::vector<std::string> g_calls;
Texture g_knobTexture;

std::string Numbers(std::initializer_list<int32_t> numbers)
{
    std::string text;
    for (const int32_t number : numbers)
    {
        text += (text.empty() ? "" : " ") + std::to_string(number);
    }
    return text;
}

void RecordClip(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    g_calls.push_back("clip " + Numbers({left, top, right, bottom}));
}

void RecordFill(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t /*colour*/)
{
    g_calls.push_back("fill " + Numbers({x, y, width, height}));
}

void RecordText(int32_t x, int32_t y, const char* text, int32_t alignment, LfbInfo* /*target*/)
{
    g_calls.push_back("text " + Numbers({x, y, alignment}) + " " + text);
}

int32_t TextWidth(const char* text)
{
    return static_cast<int32_t>(std::string(text).size()) * 10;
}

int32_t RecordBlit(Texture* /*source*/, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                   int32_t width, int32_t height, int32_t keyed, int32_t /*unused*/,
                   Texture* /*destination*/)
{
    g_calls.push_back("blit " + Numbers({sx, sy, dx, dy, width, height, keyed}));
    return 1;
}

void RecordLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t /*colour*/, float depth,
                int32_t antialiased)
{
    g_calls.push_back("line " +
                      Numbers({x1, y1, x2, y2, static_cast<int32_t>(depth), antialiased}));
}

void RecordRect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, int32_t u,
                int32_t v, int32_t du, int32_t dv, int32_t alpha, float /*depth*/)
{
    g_calls.push_back("rect " + Numbers({texture, x, y, width, height, u, v, du, dv, alpha}));
}

Texture* KnobInSlot50(int32_t index)
{
    return index == 50 ? &g_knobTexture : nullptr;
}

int32_t InitScreen(const RenderWindow* /*window*/, int32_t /*option*/, const char* /*text*/,
                   const ScreenMode* /*mode*/)
{
    return 1;
}

class ClippedDrawingTest : public testing::Test
{
protected:
    ClippedDrawingTest()
    {
        g_calls.clear();
        g_knobTexture.width = 16;
        g_knobTexture.height = 8;
        g_renderSlots.rdll_InitScreen = InitScreen;
        g_renderSlots.rdll_SetClipRect = RecordClip;
        g_renderSlots.rdll_FillSolidRect = RecordFill;
        g_renderSlots.rdll_DrawTextScreen = RecordText;
        g_renderSlots.rdll_StrLen = TextWidth;
        g_renderSlots.rdll_DrawBitmapRect = RecordBlit;
        g_renderSlots.rdll_DrawLine = RecordLine;
        g_renderSlots.rdll_DrawRect = RecordRect;
        g_renderSlots.rdll_GetTexture = KnobInSlot50;
        const ScreenMode mode{640, 480, 16, 60, 0};
        g_renderDevice.InitScreen(nullptr, 0, "", &mode);
        list_.Add(0, 0, 100, 50);
        list_.Add(200, 100, 300, 150);
        SetActiveRectList(&list_);
    }

    ~ClippedDrawingTest() override
    {
        SetActiveRectList(nullptr);
        ClearExtraClipRect();
        ClearRenderDll();
    }

    DirtyRectList list_;
};

TEST_F(ClippedDrawingTest, EveryDrawIsRepeatedForEachRectangleWithItsClip)
{
    FillRectClipped(10, 20, 250, 120, 0);
    DrawBitmapClipped(nullptr, 1, 2, 3, 4, 5, 6, 1);
    DrawLineClipped(0, 0, 639, 479, 0xFFFFFFFF);
    const std::vector<std::string> expected = {
        "clip 0 0 100 50",       "fill 10 20 240 100",   "clip 200 100 300 150",
        "fill 10 20 240 100",    "clip 0 0 100 50",      "blit 1 2 3 4 5 6 1",
        "clip 200 100 300 150",  "blit 1 2 3 4 5 6 1",   "clip 0 0 100 50",
        "line 0 0 639 479 90 1", "clip 200 100 300 150", "line 0 0 639 479 90 1"};
    EXPECT_EQ(g_calls, expected);
}

TEST_F(ClippedDrawingTest, TextAndFillsKeepToTheExtraClipBitmapsAndLinesDoNot)
{
    SetExtraClipRect(50, 30, 250, 120);
    EXPECT_EQ(DrawTextClipped(60, 35, "Zeile", kAlignLeft), 50);
    FillRectClipped(0, 0, 640, 480, 0);
    DrawBitmapClipped(nullptr, 0, 0, 0, 0, 10, 10, 0);
    ClearExtraClipRect();
    const std::vector<std::string> expected = {
        "clip 50 30 100 50",    "text 60 35 1 Zeile",   "clip 200 100 250 120",
        "text 60 35 1 Zeile",   "clip 50 30 100 50",    "fill 0 0 640 480",
        "clip 200 100 250 120", "fill 0 0 640 480",     "clip 0 0 100 50",
        "blit 0 0 0 0 10 10 0", "clip 200 100 300 150", "blit 0 0 0 0 10 10 0"};
    EXPECT_EQ(g_calls, expected);
}

TEST_F(ClippedDrawingTest, RectanglesOutsideTheExtraClipDrawNothing)
{
    SetExtraClipRect(400, 300, 500, 400);
    FillRectClipped(0, 0, 640, 480, 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(ClippedDrawingTest, WithoutRectanglesNothingIsDrawnButTextIsMeasured)
{
    list_.Clear();
    EXPECT_EQ(DrawColorTextClipped(0, 0, 0xFF, "abc", kAlignCentre), 30);
    SetActiveRectList(nullptr);
    EXPECT_EQ(DrawTextClipped(0, 0, "abcd", kAlignRight), 40);
    FillRectClipped(0, 0, 10, 10, 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(ClippedDrawingTest, TextureRectanglesGiveTheirCoordinatesAsFractionsOfTheTexture)
{
    list_.Clear();
    list_.Add(0, 0, 640, 480);
    DrawTextureRectClipped(50, {10, 20, 30, 60}, {0.5f, 0.25f, 0.5f, 0.75f}, 128, 1.0f);
    DrawTextureRectClipped(-1, {10, 20, 30, 60}, {0.0f, 0.0f, 5.0f, 5.0f}, 200, 1.0f);
    const std::vector<std::string> expected = {
        "clip 0 0 640 480", "rect 50 10 20 20 40 8 2 8 6 128", "clip 0 0 640 480",
        "rect -1 10 20 20 40 0 0 5 5 200"};
    EXPECT_EQ(g_calls, expected);
}

TEST_F(ClippedDrawingTest, ClipRectanglesAreKeptOnTheScreen)
{
    list_.Clear();
    list_.Add(-20, -10, 700, 500);
    DrawBitmapClipped(nullptr, 0, 0, 0, 0, 1, 1, 0);
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ(g_calls.front(), "clip 0 0 640 480");
}

TEST_F(ClippedDrawingTest, KnobsDrawOnlyWhereTheirSliderMeetsARectangle)
{
    Gadget gadget;
    Slider slider{.x = 80,
                  .y = 40,
                  .width = 100,
                  .height = 20,
                  .knobWidth = 16,
                  .knobHeight = 8,
                  .gadget = &gadget,
                  .minimum = 0.0f,
                  .maximum = 1.0f,
                  .value = 0.5f};
    slider.UpdateKnob();
    DrawSpriteClipped(50, slider);
    // Only the first rectangle meets the slider (80..180 x 40..60): clipped to both.
    const std::vector<std::string> expected = {"clip 80 40 100 50",
                                               "rect 50 122 40 16 8 0 0 16 8 255"};
    EXPECT_EQ(g_calls, expected);

    g_calls.clear();
    DrawSpriteClipped(51, slider);  // an empty slot
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(ClippedDrawingTest, AVerticalKnobDrawsAtItsGadget)
{
    Gadget gadget;
    Slider slider{.x = 210,
                  .y = 90,
                  .width = 10,
                  .height = 100,
                  .knobWidth = 16,
                  .knobHeight = 8,
                  .gadget = &gadget,
                  .minimum = 0.0f,
                  .maximum = 10.0f,
                  .value = 3.0f};
    slider.UpdateKnobVertical();
    DrawGadgetClipped(50, slider);
    const std::vector<std::string> expected = {"clip 210 100 220 150",
                                               "rect 50 210 116 16 8 0 0 16 8 255"};
    EXPECT_EQ(g_calls, expected);
}
}  // namespace
