#include "frontend/framework/ScreenTransition.h"

#include <algorithm>

#include "app/device/RenderDevice.h"

namespace
{
constexpr int32_t kRows = 480 / ScreenTransition::kTileHeight;
}

void ScreenTransition::Start()
{
    running_ = true;
    counter_ = kStartCounter;
}

bool ScreenTransition::Draw()
{
    if (!running_)
    {
        return false;
    }
    counter_ += kStepCounter;
    if (counter_ > kEndCounter)
    {
        running_ = false;
        return false;
    }
    const int32_t reached = counter_ / 256;
    g_renderDevice.SetClipRect(0, 0, 640, 480);
    for (int32_t row = 0; row < kRows; ++row)
    {
        const int32_t tiles = std::min(reached - row, kTilesPerRow);
        for (int32_t tile = 0; tile < tiles; ++tile)
        {
            g_renderDevice.DrawRect(-1, tile * kTileWidth, row * kTileHeight, kTileWidth,
                                    kTileHeight, 0.0f, 0.0f, 1.0f, 1.0f, kAlpha, 0.0f);
        }
    }
    return true;
}
