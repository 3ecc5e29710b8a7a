#pragma once

// How a finished frame leaves the board. The render library sets the callback that the game
// hands it with its window; the board itself knows no window system. grBufferSwap calls it
// with the new front buffer while the board is active (grSstControl), before returning.

#include <cstdint>

struct GlideFrame
{
    const uint16_t* pixels = nullptr;  // RGB 5-6-5, row 0 at the top
    int width = 0;
    int height = 0;
    int pitchBytes = 0;  // from one row to the next; may exceed 2 x width
    float gamma = 1.0f;  // to be applied on the way to the screen; the pixels never carry it
};

// The frame is valid only during the call.
using GlidePresentCallback = void (*)(const GlideFrame& frame, void* user);

// A null callback drops frames. Survives grGlideInit and grGlideShutdown.
void SetPresentCallback(GlidePresentCallback callback, void* user);
