#pragma once

// The telemetry screen. Its graph view: up to four channels, each from a chosen lap of the
// session, over the lap time or distance; the values at the centre cursor; the part of the
// racing line in view on the circuit map. Its 3D view: the circuit's flat track seen from above
// the marker, two laps compared along it. The set-up screen and the pit box call Load once,
// Update every frame until it reports the end, then ReleaseResources. Main thread only; draws
// through the game's render device.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/device/DirtyRectList.h"
#include "core/game/GameEnums.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/Slider.h"
#include "setup/telemetry/CourseMaps.h"
#include "setup/telemetry/TelemetryChannels.h"
#include "setup/telemetry/TelemetryControls.h"
#include "setup/telemetry/TelemetryGraphs.h"
#include "setup/telemetry/TelemetryLaps.h"
#include "setup/telemetry/TelemetryTrack.h"
#include "setup/telemetry/TelemetryWorld.h"

struct Texture;

struct DataRecorderContext
{
    uint32_t circuit = 0;  // CircuitId: the map of "course.dat"
    // The circuit's file stem and the class: the racing line, the 3D view's track object and
    // the backgrounds.
    std::string_view circuitName;
    BikeClass bikeClass = BikeClass::Class125;
    Language language = Language::German;
    // The settings' four channel bytes: read on loading, written when a slot's channel changes.
    std::array<uint8_t, 4>* slotChannels = nullptr;
};

class DataRecorder
{
public:
    static constexpr int kSlots = 4;

    explicit DataRecorder(const DataRecorderContext& context);
    virtual ~DataRecorder() = default;

    int32_t Load();
    // Non-zero once the player leaves (the exit button or Escape).
    uint32_t Update(float dt);
    void ReleaseResources();

    void SetSlotChannel(int slot, uint8_t channel);
    // Entry of the offered laps; -1 for none.
    void SetSlotLap(int slot, int32_t entry);
    void SetDistanceAxis(bool distance);
    bool DistanceAxis() const { return m_distanceAxis; }
    uint8_t SlotChannel(int slot) const { return m_slots[static_cast<size_t>(slot)].channel; }
    int32_t SlotLap(int slot) const { return m_slots[static_cast<size_t>(slot)].entry; }
    int32_t ActiveSlot() const { return m_activeSlot; }
    int32_t OpenPulldown() const { return m_openPulldown; }
    // The zoom sliders: 0 the vertical zoom (0.02..0.15), 1 the horizontal zoom (0..1).
    void SetZoomSlider(int slider, float value);
    const Slider& ZoomSlider(int slider) const
    {
        return m_zoomSliders[static_cast<size_t>(slider)];
    }

    // The 3D view: the height follows the horizontal zoom, the position the centre sample of
    // the active slot's lap; back in the graph view that sample sits at the centre again.
    void Enter3DView();
    void EnterGraphView();
    bool In3dView() const { return m_view3d; }
    // Slider 0 the position along the lap, 1 the view's height, both 0..1.
    void SetViewSlider(int slider, float value);
    const Slider& ViewSlider(int slider) const
    {
        return m_viewSliders[static_cast<size_t>(slider)];
    }
    // The compared lap moves through the offered laps and one empty position after them.
    void StepCompareLap(int which, int delta);
    // An entry of the offered laps, or lapsShown for the empty position.
    int32_t CompareLap(int which) const { return m_compareLap[static_cast<size_t>(which)]; }
    // "%.2d" and "%d:%.2d:%.3d", or "--" and "--:--:---" for the empty position.
    std::string CompareLapNumber(int which) const;
    std::string CompareLapTime(int which) const;
    GraphWindow& Window() { return m_window; }
    const OfferedLaps& Offered() const { return m_offered; }
    const CourseMaps& Maps() const { return m_maps; }
    const TelemetryWorld& World() const { return m_world; }
    // The read-out of the slot at the centre column; empty without a value there.
    std::string Readout(int slot) const;

private:
    struct Slot
    {
        uint8_t channel = kNoChannel;
        int32_t entry = -1;
        GraphColumns columns{};
    };

    const LapRecord* LapOf(const Slot& slot) const;
    void Layout();
    void HandleInput(float dt);
    void HandleInput3d(const TelemetryHit& hit, uint8_t left, float dt);
    void Press(const TelemetryHit& hit);
    void ChooseEntry(int32_t entry);
    void Draw(const DirtyRectList& list);
    void DrawControls();
    void DrawAxes();
    // The circuit's title in the corner over the map, in both views.
    void DrawTitle() const;
    void DrawPulldown(int32_t pulldown);
    // The pull-down's header (or its open list) from the pull-downs' picture.
    void DrawPulldownPart(int32_t pulldown, const ScreenRect& rect, int32_t top) const;
    void Draw3d(const DirtyRectList& list);
    void DrawScene(FrameBuffer16 frame, const ScreenRect& clip) const;
    void Draw3DTraces(FrameBuffer16 frame, const ScreenRect& clip) const;
    void DrawMarker(FrameBuffer16 frame, const ScreenRect& clip, const LapRecord& lap,
                    int32_t sample) const;
    // The active slot's lap and its sample at the position slider; null without a lap.
    const LapRecord* PositionSample(int32_t* sample) const;
    // Its main-lap node, or TelemetryTrack::kNoNode.
    int32_t PositionNode() const;
    const LapRecord* CompareRecord(int which) const;
    void DrawMap(FrameBuffer16 frame, const ScreenRect& clip) const;
    void DrawBackground();
    void DrawButton(telemetry_controls::ButtonFace face, const ScreenRect& rect,
                    TelemetryControl control) const;
    // Follows the mouse over the buttons; true when the lit one changed.
    bool TrackHover(TelemetryControl under);
    float ViewDistance() const;
    TrackPoint ViewCentre() const;

    DataRecorderContext m_context;
    CourseMaps m_maps;
    TelemetryTrack m_track;
    TelemetryWorld m_world;
    MenuBackground m_background;
    Texture* m_slotLabels = nullptr;
    Texture* m_channelIcons = nullptr;
    std::array<Texture*, 2> m_buttonFaces{};  // plain and lit
    Texture* m_pulldowns = nullptr;
    OfferedLaps m_offered;
    std::array<std::unique_ptr<LapRecord>, OfferedLaps::kMaxShown> m_laps;
    std::array<Slot, kSlots> m_slots{};
    GraphWindow m_window;
    bool m_distanceAxis = false;
    std::array<Slider, 2> m_zoomSliders{};
    int32_t m_draggedSlider = -1;
    int32_t m_openPulldown = -1;
    int32_t m_hoverEntry = -1;
    int32_t m_activeSlot = 0;
    bool m_panX = false;  // left button dragging the graph
    bool m_panY = false;  // right button
    int32_t m_cursorX = -1;
    int32_t m_cursorY = -1;
    TelemetryControl m_hovered = TelemetryControl::None;  // a button under the mouse
    bool m_view3d = false;
    std::array<Slider, 2> m_viewSliders{};
    std::array<int32_t, 2> m_compareLap{};
    float m_markerPhase = 0.0f;
    DirtyRectList m_list;
    int m_redraw = 0;
    uint32_t m_result = 0;
};
