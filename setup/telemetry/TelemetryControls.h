#pragma once

// Where the telemetry screen's graph-view controls lie and what lies under a point: the eight
// pull-downs (for each slot a channel list and a lap list), the two zoom sliders, the buttons
// and the graph area that the mouse drags.

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/device/DirtyRectList.h"
#include "frontend/toolkit/Slider.h"

enum class TelemetryControl : uint8_t
{
    None,
    Pulldown,       // a header; index = pull-down 0..7
    PulldownEntry,  // an entry of the open pull-down; index = entry
    ZoomSlider,     // index 0 vertical zoom, 1 horizontal zoom
    SlotSelector,
    AxisSwitch,
    View3d,
    Exit,
    Graph,
    // The 3D view's.
    ViewSlider,  // index 0 position, 1 height
    GraphView,
    PositionArrow,  // index 0 back, 1 forward
    HeightArrow,    // index 0 up, 1 down
    CompareArrow,   // index = compared lap x 2 + (0 previous, 1 next)
};

struct TelemetryHit
{
    TelemetryControl control = TelemetryControl::None;
    int32_t index = -1;
};

namespace telemetry_controls
{
inline constexpr int32_t kPulldowns = 8;
inline constexpr int32_t kChannelEntries = 14;  // the 13 channels and none
inline constexpr int32_t kLapEntries = 12;
inline constexpr std::array<int32_t, kPulldowns> kHeaderX = {72, 188, 212, 328, 352, 468, 492, 608};
inline constexpr int32_t kHeaderY = 5;
inline constexpr int32_t kHeaderHeight = 20;
inline constexpr int32_t kIconWidth = 48;
inline constexpr int32_t kIconHeight = 38;
// The pull-downs' picture: the channel header and list in a column at x 0, the lap header
// and list in one at kLapColumnX; each header on top of its list.
inline constexpr int32_t kPulldownLapColumnX = 120;

// The buttons' pictures: a face per row, as plain and as lit (under the mouse) pictures.
enum class ButtonFace : int32_t
{
    Blank,  // the axis switch, whose word is written over it
    View3d,
    GraphView,
    Exit,
};
inline constexpr int32_t kButtonFaces = 4;
inline constexpr int32_t kButtonFaceWidth = 64;
inline constexpr int32_t kButtonFaceHeight = 20;

// The channel icons' picture: a row per entry, a column per frame of its animation.
inline constexpr int32_t kIconFrames = 4;
inline constexpr int32_t kLapRow = 24;

inline constexpr bool IsChannelList(int32_t pulldown)
{
    return pulldown % 2 == 0;
}
inline constexpr int32_t SlotOf(int32_t pulldown)
{
    return pulldown / 2;
}
ScreenRect Header(int32_t pulldown);
// The open list's box and its entries.
ScreenRect ListBox(int32_t pulldown);
int32_t EntryCount(int32_t pulldown);
ScreenRect Entry(int32_t pulldown, int32_t entry);

inline constexpr ScreenRect kSlotSelector{4, 339, 30, 474};
inline constexpr ScreenRect kAxisSwitch{4, 40, 68, 60};
inline constexpr ScreenRect kView3dButton{4, 66, 68, 86};
inline constexpr ScreenRect kExitButton{4, 92, 68, 112};
inline constexpr ScreenRect kGraphArea{73, 34, 634, 317};
// The zoom sliders' tracks, under the graph.
inline constexpr std::array<ScreenRect, 2> kZoomTracks = {
    {{73, 321, 253, 329}, {453, 321, 633, 329}}};

// What the point hits; an open pull-down lies over everything, and its header and the other
// headers stay reachable.
TelemetryHit HitAt(int32_t x, int32_t y, int32_t openPulldown);

// The 3D view: the scene over the top of the screen, the lap table and the map below.
inline constexpr int32_t kSceneHeight = 317;
inline constexpr ScreenRect kGraphViewButton = kView3dButton;
inline constexpr std::array<ScreenRect, 2> kPositionArrows = {
    {{4, 120, 34, 140}, {38, 120, 68, 140}}};
inline constexpr std::array<ScreenRect, 2> kHeightArrows = {
    {{4, 146, 34, 166}, {38, 146, 68, 166}}};
inline constexpr std::array<int32_t, 2> kCompareRowY = {386, 414};
inline constexpr int32_t kLapTableHeadY = 349;
// Previous and next of each compared lap, at the start of its row.
ScreenRect CompareArrow(int32_t which, int32_t next);
// The map of the 3D view's lower part.
inline constexpr ScreenRect kMapArea{214, 335, 640, 480};

TelemetryHit HitAt3d(int32_t x, int32_t y);

// A horizontal slider over one of the tracks under the graph or scene.
Slider TrackSlider(const ScreenRect& track, float minimum, float maximum, float value);
}  // namespace telemetry_controls
