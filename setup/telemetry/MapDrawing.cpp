#include "setup/telemetry/MapDrawing.h"

#include <cstdlib>

namespace
{
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
// Longer lines come from points far off the screen; they are not walked pixel by pixel.
constexpr int32_t kLongestLine = 4096;
}  // namespace

void PlotPixel(FrameBuffer16 frame, const ScreenRect& clip, int32_t x, int32_t y, uint16_t colour)
{
    if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom && x >= 0 &&
        x < kScreenWidth && y >= 0 && y < kScreenHeight)
    {
        frame.pixels[static_cast<ptrdiff_t>(y) * frame.stridePixels + x] = colour;
    }
}

void PlotLine(FrameBuffer16 frame, const ScreenRect& clip, int32_t x0, int32_t y0, int32_t x1,
              int32_t y1, uint16_t colour)
{
    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = -std::abs(y1 - y0);
    if (dx > kLongestLine || -dy > kLongestLine)
    {
        return;
    }
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    int32_t error = dx + dy;
    while (true)
    {
        PlotPixel(frame, clip, x0, y0, colour);
        if (x0 == x1 && y0 == y1)
        {
            return;
        }
        const int32_t twice = 2 * error;
        if (twice >= dy)
        {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx)
        {
            error += dx;
            y0 += sy;
        }
    }
}

void PlotCross(FrameBuffer16 frame, const ScreenRect& clip, int32_t x, int32_t y, int32_t half,
               uint16_t colour)
{
    for (int32_t d = -half; d <= half; ++d)
    {
        PlotPixel(frame, clip, x + d, y, colour);
        PlotPixel(frame, clip, x, y + d, colour);
    }
}
