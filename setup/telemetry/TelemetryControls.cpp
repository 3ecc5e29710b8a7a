#include "setup/telemetry/TelemetryControls.h"

#include <utility>

#include "setup/PanelDrawing.h"

namespace telemetry_controls
{
namespace
{
constexpr int32_t kChannelHeaderWidth = 116;
constexpr int32_t kLapHeaderWidth = 24;
constexpr int32_t kIconColumns = 2;
constexpr int32_t kIconColumnStep = 57;
constexpr int32_t kIconRowStep = 40;
constexpr int32_t kIconListTop = 28;
constexpr int32_t kLapListTop = 20;
constexpr int32_t kMargin = 6;
constexpr int32_t kHalfKnob = 28;

// The knob reaches half its width past either end of the track.
ScreenRect SliderReach(const ScreenRect& track)
{
    return {track.left - kHalfKnob, track.top, track.right + kHalfKnob, track.bottom};
}
}  // namespace

ScreenRect Header(int32_t pulldown)
{
    const int32_t x = kHeaderX[static_cast<size_t>(pulldown)];
    const int32_t width = IsChannelList(pulldown) ? kChannelHeaderWidth : kLapHeaderWidth;
    return {x, kHeaderY, x + width, kHeaderY + kHeaderHeight};
}

int32_t EntryCount(int32_t pulldown)
{
    return IsChannelList(pulldown) ? kChannelEntries : kLapEntries;
}

ScreenRect Entry(int32_t pulldown, int32_t entry)
{
    const int32_t x = kHeaderX[static_cast<size_t>(pulldown)];
    if (IsChannelList(pulldown))
    {
        const int32_t left = x + kMargin + kIconColumnStep * (entry % kIconColumns);
        const int32_t top = kHeaderY + kIconListTop + kIconRowStep * (entry / kIconColumns);
        return {left, top, left + kIconWidth, top + kIconHeight};
    }
    const int32_t top = kHeaderY + kLapListTop + kLapRow * entry;
    return {x, top, x + kLapHeaderWidth, top + kLapRow};
}

ScreenRect ListBox(int32_t pulldown)
{
    const ScreenRect last = Entry(pulldown, EntryCount(pulldown) - 1);
    const int32_t x = kHeaderX[static_cast<size_t>(pulldown)];
    if (IsChannelList(pulldown))
    {
        return {x, kHeaderY + kHeaderHeight, last.right + kMargin, last.bottom + kMargin / 2};
    }
    return {x, kHeaderY + kHeaderHeight, x + kLapHeaderWidth, last.bottom};
}

TelemetryHit HitAt(int32_t x, int32_t y, int32_t openPulldown)
{
    for (int32_t pulldown = 0; pulldown < kPulldowns; ++pulldown)
    {
        if (Inside(Header(pulldown), x, y))
        {
            return {TelemetryControl::Pulldown, pulldown};
        }
    }
    if (openPulldown >= 0 && openPulldown < kPulldowns)
    {
        for (int32_t entry = 0; entry < EntryCount(openPulldown); ++entry)
        {
            if (Inside(Entry(openPulldown, entry), x, y))
            {
                return {TelemetryControl::PulldownEntry, entry};
            }
        }
        if (Inside(ListBox(openPulldown), x, y))
        {
            return {};
        }
    }
    for (int32_t slider = 0; slider < 2; ++slider)
    {
        if (Inside(SliderReach(kZoomTracks[static_cast<size_t>(slider)]), x, y))
        {
            return {TelemetryControl::ZoomSlider, slider};
        }
    }
    const std::array<std::pair<ScreenRect, TelemetryControl>, 5> buttons = {{
        {kSlotSelector, TelemetryControl::SlotSelector},
        {kAxisSwitch, TelemetryControl::AxisSwitch},
        {kView3dButton, TelemetryControl::View3d},
        {kExitButton, TelemetryControl::Exit},
        {kGraphArea, TelemetryControl::Graph},
    }};
    for (const auto& [rect, control] : buttons)
    {
        if (Inside(rect, x, y))
        {
            return {control, 0};
        }
    }
    return {};
}

ScreenRect CompareArrow(int32_t which, int32_t next)
{
    const int32_t top = kCompareRowY[static_cast<size_t>(which)];
    const int32_t left = 8 + 22 * next;
    return {left, top, left + 18, top + 16};
}

TelemetryHit HitAt3d(int32_t x, int32_t y)
{
    for (int32_t i = 0; i < 2; ++i)
    {
        if (Inside(SliderReach(kZoomTracks[static_cast<size_t>(i)]), x, y))
        {
            return {TelemetryControl::ViewSlider, i};
        }
        if (Inside(kPositionArrows[static_cast<size_t>(i)], x, y))
        {
            return {TelemetryControl::PositionArrow, i};
        }
        if (Inside(kHeightArrows[static_cast<size_t>(i)], x, y))
        {
            return {TelemetryControl::HeightArrow, i};
        }
        for (int32_t next = 0; next < 2; ++next)
        {
            if (Inside(CompareArrow(i, next), x, y))
            {
                return {TelemetryControl::CompareArrow, i * 2 + next};
            }
        }
    }
    if (Inside(kGraphViewButton, x, y))
    {
        return {TelemetryControl::GraphView, 0};
    }
    if (Inside(kExitButton, x, y))
    {
        return {TelemetryControl::Exit, 0};
    }
    return {};
}

Slider TrackSlider(const ScreenRect& track, float minimum, float maximum, float value)
{
    Slider slider;
    slider.x = static_cast<uint16_t>(track.left);
    slider.y = static_cast<uint16_t>(track.top);
    slider.width = static_cast<uint16_t>(track.right - track.left);
    slider.height = static_cast<uint16_t>(track.bottom - track.top);
    slider.knobWidth = 2 * kHalfKnob;
    slider.knobHeight = 6;
    slider.minimum = minimum;
    slider.maximum = maximum;
    slider.value = value;
    slider.UpdateKnob();
    return slider;
}
}  // namespace telemetry_controls
