#include "setup/telemetry/TelemetryGraphs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "race/laps/LapRecord.h"
#include "setup/telemetry/TelemetryChannels.h"

void GraphWindow::Pan(int32_t dx, int32_t dy)
{
    if (!HasRange())
    {
        return;
    }
    const float step = Step();
    panOffsetY += static_cast<float>(dy);
    panOffsetX += static_cast<float>(dx) * step;
    panOffsetX = std::max(panOffsetX, -278.0f * step);
    panOffsetX = std::min(panOffsetX, (rangeMax - rangeMin) - 280.0f * step);
    const float verticalLimit = yZoom * 564.0f;
    panOffsetY = std::clamp(panOffsetY, -verticalLimit, verticalLimit);
}

float GraphWindow::AxisValue(int32_t column) const
{
    return rangeMin + panOffsetX + static_cast<float>(column) * Step();
}

GraphColumns LayoutColumns(const GraphWindow& window, std::span<const float> axis)
{
    GraphColumns columns{};
    if (!window.HasRange() || axis.size() < 2)
    {
        return columns;
    }
    size_t pair = 0;
    for (int32_t column = 0; column < GraphWindow::kColumns; ++column)
    {
        const float value = window.AxisValue(column);
        if (value < axis.front())
        {
            continue;
        }
        while (pair + 1 < axis.size() && axis[pair + 1] <= value)
        {
            ++pair;
        }
        if (pair + 1 >= axis.size())
        {
            break;  // past the lap's last sample
        }
        const float span = axis[pair + 1] - axis[pair];
        columns[static_cast<size_t>(column)] = {static_cast<int32_t>(pair),
                                                span > 0.0f ? (value - axis[pair]) / span : 0.0f};
    }
    return columns;
}

float GridStep(float visibleRange)
{
    constexpr std::array<std::pair<float, float>, 9> kSteps = {{{6.0f, 1.0f},
                                                                {12.0f, 2.0f},
                                                                {30.0f, 5.0f},
                                                                {60.0f, 10.0f},
                                                                {120.0f, 20.0f},
                                                                {240.0f, 40.0f},
                                                                {480.0f, 80.0f},
                                                                {960.0f, 160.0f},
                                                                {1920.0f, 320.0f}}};
    for (const auto& [below, step] : kSteps)
    {
        if (visibleRange < below)
        {
            return step;
        }
    }
    return 640.0f;
}

// An unsigned channel's axis maximum fills the graph; a signed channel's values lie about the
// middle line at the scale of its samples (raw = value / read-out factor).
std::vector<AxisLabel> ChannelAxisLabels(const GraphWindow& window, uint8_t channel)
{
    std::vector<AxisLabel> labels;
    if (channel >= kTelemetryChannels)
    {
        return labels;
    }
    const TelemetryChannel& c = TelemetryChannelOf(channel);
    const bool isSigned = c.pixelOffset < 0.0f;
    const int32_t steps = static_cast<int32_t>(std::floor(c.axisMaximum / c.labelStep + 0.5f));
    for (int32_t k = isSigned ? -steps : 0; k <= steps; ++k)
    {
        const float value = static_cast<float>(k) * c.labelStep;
        const float pixels = isSigned ? value * c.pixelScale / c.readoutFactor
                                      : value / c.axisMaximum * GraphWindow::kHeight;
        const float shown = window.yZoom * (pixels - c.pixelOffset) +
                            141.0f * (1.0f - window.yZoom) + window.panOffsetY;
        const auto row = static_cast<int32_t>(std::lround(GraphWindow::kHeight - shown));
        if (row >= 0 && row <= GraphWindow::kHeight)
        {
            labels.push_back({row, value * c.labelFactor});
        }
    }
    return labels;
}

int32_t GraphRow(const GraphWindow& window, uint8_t channel, float raw)
{
    const TelemetryChannel& c = TelemetryChannelOf(channel);
    const float value = window.yZoom * (raw * c.pixelScale - c.pixelOffset) +
                        141.0f * (1.0f - window.yZoom) + window.panOffsetY;
    // A damaged sample that is no number lies on the bottom line.
    if (std::isnan(value))
    {
        return GraphWindow::kHeight;
    }
    const double row = GraphWindow::kHeight - std::round(static_cast<double>(value));
    return static_cast<int32_t>(std::clamp(row, 0.0, double{GraphWindow::kHeight}));
}

float InterpolatedSample(const LapRecord& lap, uint8_t channel, const GraphColumn& column)
{
    const float a = RawSample(lap, channel, column.sample);
    const float b = RawSample(lap, channel, column.sample + 1);
    return a + (b - a) * column.fraction;
}

void DrawGraph(FrameBuffer16 frame, const ScreenRect& clip, const GraphWindow& window,
               const GraphColumns& columns, const LapRecord& lap, uint8_t channel, uint16_t colour)
{
    if (channel >= kTelemetryChannels)
    {
        return;
    }
    const int32_t left = std::max({clip.left, GraphWindow::kLeft, 0});
    const int32_t right = std::min({clip.right, GraphWindow::kLeft + GraphWindow::kColumns, 640});
    const int32_t top = std::max(clip.top, GraphWindow::kTop);
    const int32_t bottom = std::min(clip.bottom, GraphWindow::kTop + GraphWindow::kHeight + 1);
    int32_t previous = -1;
    for (int32_t column = 0; column < GraphWindow::kColumns; ++column)
    {
        const GraphColumn& at = columns[static_cast<size_t>(column)];
        if (at.sample < 0 || at.sample + 1 >= lap.sampleCount)
        {
            previous = -1;
            continue;
        }
        const int32_t row = GraphRow(window, channel, InterpolatedSample(lap, channel, at));
        const int32_t from = previous < 0 ? row : previous;
        previous = row;
        const bool onAnEdge = (from == row) && (row == 0 || row == GraphWindow::kHeight);
        const int32_t x = GraphWindow::kLeft + column;
        if (onAnEdge || x < left || x >= right)
        {
            continue;
        }
        const int32_t y1 = std::max(GraphWindow::kTop + std::min(from, row), top);
        const int32_t y2 = std::min(GraphWindow::kTop + std::max(from, row), bottom - 1);
        for (int32_t y = y1; y <= y2; ++y)
        {
            frame.pixels[static_cast<ptrdiff_t>(y) * frame.stridePixels + x] = colour;
        }
    }
}
