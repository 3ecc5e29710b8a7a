// Slider values and knobs at the ends of their tracks and in between.

#include <gtest/gtest.h>

#include "frontend/toolkit/Gadget.h"
#include "frontend/toolkit/Slider.h"

namespace
{
// A horizontal slider 200 pixels long from x 100, knob 16 wide: the knob's centre stands on
// the value.
class HorizontalSliderTest : public testing::Test
{
protected:
    HorizontalSliderTest()
    {
        slider_ = {.x = 100,
                   .y = 50,
                   .width = 200,
                   .height = 12,
                   .knobWidth = 16,
                   .knobHeight = 12,
                   .gadget = &gadget_,
                   .minimum = 10.0f,
                   .maximum = 30.0f};
    }

    Gadget gadget_;
    Slider slider_;
};

TEST_F(HorizontalSliderTest, TheKnobStandsOnTheValue)
{
    const struct
    {
        float value;
        float shown;  // after clamping
        int32_t knob;
    } cases[] = {
        {10.0f, 10.0f, 92},  {30.0f, 30.0f, 292}, {20.0f, 20.0f, 192},
        {15.0f, 15.0f, 142}, {5.0f, 10.0f, 92},   {99.0f, 30.0f, 292},
    };
    for (const auto& test : cases)
    {
        slider_.value = test.value;
        slider_.UpdateKnob();
        EXPECT_FLOAT_EQ(slider_.value, test.shown) << test.value;
        EXPECT_EQ(slider_.knobPosition, test.knob) << test.value;
    }
    // The gadget is the whole slider.
    EXPECT_EQ(gadget_.screenX, 100);
    EXPECT_EQ(gadget_.screenY, 50);
    EXPECT_EQ(gadget_.width, 200);
    EXPECT_EQ(gadget_.height, 12);
}

TEST_F(HorizontalSliderTest, WithoutARangeTheKnobStaysAtTheStartAndTheValueAtTheMinimum)
{
    slider_.maximum = slider_.minimum;
    slider_.value = slider_.minimum;
    slider_.UpdateKnob();
    EXPECT_EQ(slider_.knobPosition, 92);
    EXPECT_FLOAT_EQ(slider_.value, 10.0f);
    slider_.SetFromMouse(250);
    EXPECT_FLOAT_EQ(slider_.value, 10.0f);
}

TEST_F(HorizontalSliderTest, TheMouseSetsTheValueWithinTheTrack)
{
    const struct
    {
        int32_t mouseX;
        float value;
        int32_t knob;
    } cases[] = {
        {100, 10.0f, 92}, {300, 30.0f, 292}, {150, 15.0f, 142},
        {20, 10.0f, 92},  {640, 30.0f, 292}, {250, 25.0f, 242},
    };
    for (const auto& test : cases)
    {
        slider_.SetFromMouse(test.mouseX);
        EXPECT_FLOAT_EQ(slider_.value, test.value) << test.mouseX;
        EXPECT_EQ(slider_.knobPosition, test.knob) << test.mouseX;
    }
}

TEST_F(HorizontalSliderTest, AnEmptyTrackGivesTheMinimum)
{
    slider_.width = 0;
    slider_.SetFromMouse(150);
    EXPECT_FLOAT_EQ(slider_.value, 10.0f);
}

// A vertical slider 100 pixels high from y 40, knob 10 high; values are list positions.
class VerticalSliderTest : public testing::Test
{
protected:
    VerticalSliderTest()
    {
        slider_ = {.x = 300,
                   .y = 40,
                   .width = 12,
                   .height = 100,
                   .knobWidth = 12,
                   .knobHeight = 10,
                   .gadget = &gadget_,
                   .minimum = 0.0f,
                   .maximum = 20.0f};
    }

    Gadget gadget_;
    Slider slider_;
};

TEST_F(VerticalSliderTest, TheKnobGadgetIsCentredOnTheValue)
{
    const struct
    {
        float value;
        float shown;
        int32_t knobTop;
    } cases[] = {
        {0.0f, 0.0f, 35},  {20.0f, 20.0f, 135}, {5.0f, 5.0f, 60},
        {-3.0f, 0.0f, 35}, {25.0f, 20.0f, 135},
    };
    for (const auto& test : cases)
    {
        slider_.value = test.value;
        slider_.UpdateKnobVertical();
        EXPECT_FLOAT_EQ(slider_.value, test.shown) << test.value;
        EXPECT_EQ(gadget_.screenY, test.knobTop) << test.value;
    }
    EXPECT_EQ(gadget_.screenX, 300);
    EXPECT_EQ(gadget_.width, 12);
    EXPECT_EQ(gadget_.height, 10);
}

TEST_F(VerticalSliderTest, AListThatFitsShowsTheKnobAtTheTop)
{
    for (const float maximum : {0.0f, 0.5f, 0.8f})
    {
        slider_.maximum = maximum;
        slider_.value = maximum;
        slider_.UpdateKnobVertical();
        EXPECT_EQ(gadget_.screenY, 35) << maximum;
    }
}

TEST_F(VerticalSliderTest, TheMouseSetsTheValueWithinTheTrack)
{
    const struct
    {
        int32_t mouseY;
        float value;
        int32_t knobTop;
    } cases[] = {
        {40, 0.0f, 35}, {140, 20.0f, 135}, {65, 5.0f, 60}, {0, 0.0f, 35}, {479, 20.0f, 135},
    };
    for (const auto& test : cases)
    {
        slider_.SetFromMouseVertical(test.mouseY);
        EXPECT_FLOAT_EQ(slider_.value, test.value) << test.mouseY;
        EXPECT_EQ(gadget_.screenY, test.knobTop) << test.mouseY;
    }
}

TEST_F(VerticalSliderTest, AKnobAtTheScreensTopKeepsItsGadgetOnTheScreen)
{
    slider_.y = 0;
    slider_.value = 0.0f;
    slider_.UpdateKnobVertical();
    EXPECT_EQ(gadget_.screenY, 0);
}
}  // namespace
