#include "frontend/toolkit/Slider.h"

#include <algorithm>
#include <limits>

#include "frontend/toolkit/Gadget.h"

namespace
{
constexpr float kSmallestHorizontalRange = 0.001f;
constexpr float kSmallestVerticalRange = 0.8f;

// A knob pushed past the top of the screen keeps a gadget on it rather than wrapping.
uint16_t ScreenCoordinate(int32_t value)
{
    return static_cast<uint16_t>(
        std::clamp<int32_t>(value, 0, std::numeric_limits<uint16_t>::max()));
}

// Part d of a track of the given length; an empty track sits at its start.
float TrackFraction(int32_t d, int32_t length)
{
    return length > 0 ? static_cast<float>(d) / static_cast<float>(length) : 0.0f;
}
}  // namespace

float Slider::ClampedRatio(float smallestRange)
{
    const float range = maximum - minimum;
    float ratio = range <= smallestRange ? 0.0f : (value - minimum) / range;
    if (ratio < 0.0f)
    {
        value = minimum;
        ratio = 0.0f;
    }
    if (ratio > 1.0f)
    {
        value = maximum;
        ratio = 1.0f;
    }
    return ratio;
}

void Slider::FitGadgetToSlider()
{
    if (gadget != nullptr)
    {
        gadget->screenX = x;
        gadget->screenY = y;
        gadget->width = width;
        gadget->height = height;
    }
}

void Slider::UpdateKnob()
{
    const float ratio = ClampedRatio(kSmallestHorizontalRange);
    knobPosition = static_cast<int32_t>(static_cast<float>(width) * ratio) - knobWidth / 2 + x;
    FitGadgetToSlider();
}

void Slider::UpdateKnobVertical()
{
    const float ratio = ClampedRatio(kSmallestVerticalRange);
    const int32_t knobCentre = static_cast<int32_t>(static_cast<float>(height) * ratio) + y;
    if (gadget != nullptr)
    {
        gadget->screenX = x;
        gadget->screenY = ScreenCoordinate(knobCentre - knobHeight / 2);
        gadget->width = knobWidth;
        gadget->height = knobHeight;
    }
}

void Slider::SetFromMouse(int32_t mouseX)
{
    const int32_t d = std::clamp<int32_t>(mouseX - x, 0, width);
    knobPosition = d + x - knobWidth / 2;
    value = TrackFraction(d, width) * (maximum - minimum) + minimum;
    FitGadgetToSlider();
}

void Slider::SetFromMouseVertical(int32_t mouseY)
{
    const int32_t d = std::clamp<int32_t>(mouseY - y, 0, height);
    value = TrackFraction(d, height) * (maximum - minimum) + minimum;
    if (gadget != nullptr)
    {
        gadget->screenY = ScreenCoordinate(d + y - knobHeight / 2);
    }
}
