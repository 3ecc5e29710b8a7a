#pragma once

// The mouse as a menu screen reads it once a frame: where the pointer is, repainting the
// pointer picture's old and new places when it moved, and clicks of the left button.
// Main thread only.

#include <cstdint>

class DirtyRectList;

class MenuPointer
{
public:
    // Reads the pointer position through the render library. When it moved and the pointer
    // picture (width x height at the position) is shown, both its places are marked in both
    // lists.
    void Update(int32_t pointerWidth, int32_t pointerHeight, bool shown, DirtyRectList& first,
                DirtyRectList& second);
    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }

    // True once per press of the left mouse button: its pressed bit, taken from the key table,
    // while the button was not already held at the previous call.
    bool TakeClick();
    // Whether the left button was held at the last TakeClick.
    bool IsHeld() const { return held_; }

private:
    int32_t x_ = 0;
    int32_t y_ = 0;
    bool held_ = false;
};
