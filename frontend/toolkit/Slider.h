#pragma once

// Sliders: a value between a minimum and a maximum shown as a knob on a track, driven by the
// mouse. A horizontal slider's track runs along its width, a vertical one's along its height;
// the slider's gadget is the rectangle the mouse grabs (the whole slider, or the knob of a
// vertical slider). Main thread only.

#include <cstdint>

struct Gadget;

struct Slider
{
    uint16_t x = 0;
    uint16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t knobWidth = 0;
    uint16_t knobHeight = 0;
    Gadget* gadget = nullptr;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float value = 0.0f;
    int32_t knobPosition = 0;  // left edge of a horizontal slider's knob

    // The knob from the value, which is first brought inside minimum..maximum. A range of
    // 0.001 or less puts the knob at the start.
    void UpdateKnob();
    // The same for a vertical slider, whose ranges are whole numbers (list scroll positions):
    // a range of 0.8 or less puts the knob at the top.
    void UpdateKnobVertical();

    // Value and knob from the mouse, clamped to the track.
    void SetFromMouse(int32_t mouseX);
    void SetFromMouseVertical(int32_t mouseY);

private:
    // Where the value lies between minimum and maximum, 0..1; a value outside is pulled in.
    float ClampedRatio(float smallestRange);
    void FitGadgetToSlider();
};
