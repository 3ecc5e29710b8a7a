#pragma once

// The wipe between menu screens: tiles of 80 x 60 pixels darken the screen row by row from
// the top left, a little more each frame, until the whole screen has gone dark.
// Main thread only.

#include <cstdint>

class ScreenTransition
{
public:
    static constexpr int32_t kTileWidth = 80;
    static constexpr int32_t kTileHeight = 60;

    void Start();
    bool IsRunning() const { return running_; }
    // Draws one step; false once the wipe has ended (nothing drawn then).
    bool Draw();
    int32_t Counter() const { return counter_; }

private:
    static constexpr int32_t kStartCounter = 256;
    static constexpr int32_t kStepCounter = 82;
    static constexpr int32_t kEndCounter = 12288;
    static constexpr int32_t kTilesPerRow = 8;
    static constexpr int32_t kAlpha = 10;

    bool running_ = false;
    int32_t counter_ = 0;
};
