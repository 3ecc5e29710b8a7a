#pragma once

// The telemetry screen's graph view: up to four channels, each from a chosen lap of the
// session, over the lap time or distance; the values at the centre cursor; the part of the lap
// in view on the circuit map. The set-up screen and the pit box call Load once, Update every
// frame until it reports the end, then ReleaseResources. Main thread only; draws through the
// game's render device.

#include <array>
#include <cstdint>
#include <memory>

#include "app/device/DirtyRectList.h"
#include "core/game/GameEnums.h"
#include "setup/telemetry/CourseMaps.h"
#include "setup/telemetry/TelemetryChannels.h"
#include "setup/telemetry/TelemetryGraphs.h"
#include "setup/telemetry/TelemetryLaps.h"

struct DataRecorderContext
{
    uint32_t circuit = 0;  // CircuitId: the map of "course.dat"
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
    // Non-zero once the player leaves (Escape).
    uint32_t Update(float dt);
    void ReleaseResources();

    void SetSlotChannel(int slot, uint8_t channel);
    // Entry of the offered laps; -1 for none.
    void SetSlotLap(int slot, int32_t entry);
    void SetDistanceAxis(bool distance);
    GraphWindow& Window() { return m_window; }
    const OfferedLaps& Offered() const { return m_offered; }
    const CourseMaps& Maps() const { return m_maps; }
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
    void Draw(const DirtyRectList& list);
    void DrawMap(FrameBuffer16 frame, const ScreenRect& clip);

    DataRecorderContext m_context;
    CourseMaps m_maps;
    OfferedLaps m_offered;
    std::array<std::unique_ptr<LapRecord>, OfferedLaps::kMaxShown> m_laps;
    std::array<Slot, kSlots> m_slots{};
    GraphWindow m_window;
    bool m_distanceAxis = false;
    float m_markerPhase = 0.0f;
    DirtyRectList m_list;
    int m_redraw = 0;
    uint32_t m_result = 0;
};
