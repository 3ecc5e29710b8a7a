#pragma once

// Pixels and lines of the telemetry screen's maps and traces, straight into the locked 16-bit
// frame buffer, kept inside the clip rectangle and the screen.

#include <cstdint>

#include "app/device/DirtyRectList.h"
#include "setup/SetupDiagrams.h"

void PlotPixel(FrameBuffer16 frame, const ScreenRect& clip, int32_t x, int32_t y, uint16_t colour);
// Both ends included.
void PlotLine(FrameBuffer16 frame, const ScreenRect& clip, int32_t x0, int32_t y0, int32_t x1,
              int32_t y1, uint16_t colour);
// A cross of the half-size around the point.
void PlotCross(FrameBuffer16 frame, const ScreenRect& clip, int32_t x, int32_t y, int32_t half,
               uint16_t colour);
