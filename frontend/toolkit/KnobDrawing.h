#pragma once

// Slider knobs: the knob picture (a texture slot, drawn whole) over each rectangle of the
// active repaint list that meets the slider, clipped to the slider. Nothing is drawn while the
// slot holds no texture. Main thread only.

#include <cstdint>

struct Slider;

// A horizontal slider's knob at (knob position, y).
void DrawSpriteClipped(int32_t texture, const Slider& slider);
// A vertical slider's knob at (x, the top of the slider's gadget).
void DrawGadgetClipped(int32_t texture, const Slider& slider);
