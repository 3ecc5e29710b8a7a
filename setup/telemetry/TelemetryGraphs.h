#pragma once

// The graph view of the telemetry screen: 561 columns over a window of the lap's time or
// distance, each column mapped to the pair of samples around its axis value, and the channels
// plotted as vertical runs into the locked 16-bit frame buffer. The graph area spans x 73..633
// and y 34..316; the centre column 279 carries the cursor.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "setup/SetupDiagrams.h"

struct LapRecord;

struct GraphColumn
{
    int32_t sample = -1;    // the first sample of the pair; -1 = no data
    float fraction = 0.0f;  // of the way to the next sample
};

struct GraphWindow
{
    static constexpr int32_t kColumns = 561;
    static constexpr int32_t kCentreColumn = 279;
    static constexpr int32_t kHeight = 282;
    static constexpr int32_t kLeft = 73;
    static constexpr int32_t kTop = 34;

    float yZoom = 0.86f;      // vertical slider x 10 + 0.1
    float xZoom = 1.0f;       // 1 - horizontal slider x 0.98
    float panOffsetX = 0.0f;  // axis units
    float panOffsetY = 0.0f;  // pixels
    float rangeMin = 0.0f;
    float rangeMax = 0.0f;

    bool HasRange() const { return rangeMax > rangeMin; }
    // Axis units per column.
    float Step() const { return (rangeMax - rangeMin) * xZoom / kColumns; }
    // Moves the window by a drag (pixels) and keeps it over data: at most 278 empty columns on
    // the left, at least 280 columns of range on the right. Nothing without a range.
    void Pan(int32_t dx, int32_t dy);
    // The axis value of a column.
    float AxisValue(int32_t column) const;
};

using GraphColumns = std::array<GraphColumn, GraphWindow::kColumns>;

// The columns of one lap over its axis values (times or distances, rising).
GraphColumns LayoutColumns(const GraphWindow& window, std::span<const float> axis);

// The graph row (0 top .. 282 bottom) of a raw channel value.
int32_t GraphRow(const GraphWindow& window, uint8_t channel, float raw);

// The channel's value between the column's two samples.
float InterpolatedSample(const LapRecord& lap, uint8_t channel, const GraphColumn& column);

// The lap's graph of the channel in the colour, clipped to the rectangle; runs that lie wholly
// on the top or the bottom edge are left out.
void DrawGraph(FrameBuffer16 frame, const ScreenRect& clip, const GraphWindow& window,
               const GraphColumns& columns, const LapRecord& lap, uint8_t channel, uint16_t colour);

// The step of the time or distance labels for the range the window shows (axis units).
float GridStep(float visibleRange);

// The labels of a channel's axis: every label step up to the axis maximum (and down to minus
// it for a signed channel), each at the graph row the window puts its value on, with the text
// value (label x label factor). Labels off the graph are left out.
struct AxisLabel
{
    int32_t row = 0;
    float text = 0.0f;
};
std::vector<AxisLabel> ChannelAxisLabels(const GraphWindow& window, uint8_t channel);
