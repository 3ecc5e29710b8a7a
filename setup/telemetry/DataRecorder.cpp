#include "setup/telemetry/DataRecorder.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "core/archive/DAFile.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "race/SimMath.h"

namespace
{
constexpr const char* kCourseMapsFile = "course.dat";
constexpr uint32_t kBackground = 0x281810;
constexpr uint32_t kGraphBackground = 0x100800;
constexpr uint32_t kLabelColour = 0xE0E0E0;
// The slots' colours, 0x00BBGGRR.
constexpr std::array<uint32_t, DataRecorder::kSlots> kSlotColours = {0x00C8C8, 0xC8C800, 0x00C800,
                                                                     0xC80000};
constexpr uint32_t kTrackColour = 0xFFFF50;
constexpr int32_t kReadoutTop = 342;
constexpr int32_t kReadoutRow = 16;

// Map pixels straight into the frame buffer, kept inside the clip.
void Plot(FrameBuffer16 frame, const ScreenRect& clip, int32_t x, int32_t y, uint16_t colour)
{
    if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom && x >= 0 && x < 640 &&
        y >= 0 && y < 480)
    {
        frame.pixels[static_cast<ptrdiff_t>(y) * frame.stridePixels + x] = colour;
    }
}
}  // namespace

DataRecorder::DataRecorder(const DataRecorderContext& context) : m_context(context) {}

int32_t DataRecorder::Load()
{
    DAFile file(g_archiveMenu);
    if (file.Exists(kCourseMapsFile) && file.Open(kCourseMapsFile))
    {
        if (const std::optional<std::vector<uint8_t>> bytes = file.ReadAll())
        {
            m_maps.Load(*bytes);  // a damaged table leaves the built-in one
        }
    }
    ClearAllKeys();
    m_offered = FindOfferedLaps();
    for (int32_t entry = 0; entry < m_offered.lapsShown; ++entry)
    {
        m_laps[static_cast<size_t>(entry)] = LoadOfferedLap(m_offered, entry);
    }
    for (int slot = 0; slot < kSlots; ++slot)
    {
        const uint8_t stored =
            m_context.slotChannels != nullptr ? (*m_context.slotChannels)[slot] : kNoChannel;
        m_slots[static_cast<size_t>(slot)].channel = std::min(stored, kNoChannel);
    }
    m_window = GraphWindow{};
    m_result = 0;
    m_redraw = 2;
    Layout();
    return 1;
}

void DataRecorder::ReleaseResources()
{
    for (auto& lap : m_laps)
    {
        lap.reset();
    }
}

const LapRecord* DataRecorder::LapOf(const Slot& slot) const
{
    return slot.entry >= 0 && slot.entry < m_offered.lapsShown
               ? m_laps[static_cast<size_t>(slot.entry)].get()
               : nullptr;
}

void DataRecorder::SetSlotChannel(int slot, uint8_t channel)
{
    m_slots[static_cast<size_t>(slot)].channel = std::min(channel, kNoChannel);
    if (m_context.slotChannels != nullptr)
    {
        (*m_context.slotChannels)[static_cast<size_t>(slot)] = m_slots[slot].channel;
    }
    Layout();
}

void DataRecorder::SetSlotLap(int slot, int32_t entry)
{
    m_slots[static_cast<size_t>(slot)].entry = entry;
    Layout();
}

void DataRecorder::SetDistanceAxis(bool distance)
{
    m_distanceAxis = distance;
    m_window.panOffsetX = 0.0f;
    Layout();
}

// The axis covers the longest lap in use; every slot's columns follow.
void DataRecorder::Layout()
{
    float rangeMax = 0.0f;
    for (const Slot& slot : m_slots)
    {
        if (const LapRecord* lap = LapOf(slot))
        {
            rangeMax = std::max(rangeMax, m_distanceAxis ? LapLength(*lap) : LapDuration(*lap));
        }
    }
    m_window.rangeMin = 0.0f;
    m_window.rangeMax = rangeMax;
    m_window.Pan(0, 0);
    for (Slot& slot : m_slots)
    {
        slot.columns = GraphColumns{};
        if (const LapRecord* lap = LapOf(slot))
        {
            const auto& axis = m_distanceAxis ? lap->distance : lap->raceTime;
            slot.columns = LayoutColumns(
                m_window, std::span(axis).first(static_cast<size_t>(lap->sampleCount)));
        }
    }
    m_list.Add(0, 0, 640, 480);
}

std::string DataRecorder::Readout(int slot) const
{
    const Slot& s = m_slots[static_cast<size_t>(slot)];
    const LapRecord* lap = LapOf(s);
    const GraphColumn& centre = s.columns[GraphWindow::kCentreColumn];
    if (lap == nullptr || s.channel >= kTelemetryChannels || centre.sample < 0)
    {
        return {};
    }
    return FormatReadout(s.channel, InterpolatedSample(*lap, s.channel, centre),
                         m_context.language);
}

uint32_t DataRecorder::Update(float dt)
{
    m_markerPhase += dt;
    if ((ReadKey(vk::Escape) & kKeyPressed) != 0)
    {
        m_result = 1;
    }
    if (g_renderDevice.BeginDraw() == 0)
    {
        m_redraw = 2;
        return m_result;
    }
    if (m_redraw > 0)
    {
        m_list.Add(0, 0, 640, 480);
        --m_redraw;
    }
    // The marker moves every frame.
    m_list.Add(214, 335, 640, 480);
    if (g_renderDevice.IsGlideActive() != 0)
    {
        Draw(m_list);
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
    }
    m_list.Clear();
    SetActiveRectList(nullptr);
    g_renderDevice.EndDraw();
    return m_result;
}

void DataRecorder::Draw(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    FillRectClipped(0, 0, 640, 480, kBackground);
    FillRectClipped(GraphWindow::kLeft, GraphWindow::kTop,
                    GraphWindow::kLeft + GraphWindow::kColumns,
                    GraphWindow::kTop + GraphWindow::kHeight + 1, kGraphBackground);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    for (int slot = 0; slot < kSlots; ++slot)
    {
        const Slot& s = m_slots[static_cast<size_t>(slot)];
        const int32_t y = kReadoutTop + kReadoutRow * slot;
        if (s.channel < kTelemetryChannels)
        {
            const std::string label(
                TelemetryChannelOf(s.channel).readoutLabel[ToIndex(m_context.language)]);
            DrawColorTextClipped(32, y, kSlotColours[static_cast<size_t>(slot)], label.c_str(),
                                 kAlignLeft);
        }
        const std::string value = Readout(slot);
        DrawColorTextClipped(202, y, kLabelColour, value.c_str(), kAlignLeft);
    }

    LfbInfo lock;
    if (g_renderDevice.LockLFB(&lock) == 0 || lock.address == nullptr)
    {
        return;
    }
    const FrameBuffer16 frame{static_cast<uint16_t*>(lock.address), lock.stride / 2};
    ScreenRect rect;
    int32_t index = 0;
    const uint16_t white = g_renderDevice.GetScreenColor(0xFFFFFF);
    while (list.GetNext(&rect, &index))
    {
        for (int slot = 0; slot < kSlots; ++slot)
        {
            const Slot& s = m_slots[static_cast<size_t>(slot)];
            if (const LapRecord* lap = LapOf(s))
            {
                DrawGraph(frame, rect, m_window, s.columns, *lap, s.channel,
                          g_renderDevice.GetScreenColor(kSlotColours[static_cast<size_t>(slot)]));
            }
        }
        for (const int32_t x : {351, 353})
        {
            for (int32_t y = GraphWindow::kTop; y <= GraphWindow::kTop + GraphWindow::kHeight; ++y)
            {
                Plot(frame, rect, x, y, white);
            }
        }
        DrawMap(frame, rect);
    }
    g_renderDevice.UnlockLFB(&lock);
}

// The part of the lap in view on the map, three pixels thick, and the marker at the centre
// column's sample of the first slot with a lap.
void DataRecorder::DrawMap(FrameBuffer16 frame, const ScreenRect& clip)
{
    const Slot* active = nullptr;
    for (const Slot& slot : m_slots)
    {
        active = active == nullptr && LapOf(slot) != nullptr ? &slot : active;
    }
    if (active == nullptr)
    {
        return;
    }
    const LapRecord& lap = *LapOf(*active);
    const uint16_t track = g_renderDevice.GetScreenColor(kTrackColour);
    int32_t first = -1;
    int32_t last = -1;
    for (const GraphColumn& column : active->columns)
    {
        if (column.sample >= 0)
        {
            first = first < 0 ? column.sample : first;
            last = column.sample;
        }
    }
    for (int32_t sample = std::max(first, 0); sample <= last; ++sample)
    {
        const MapPoint p =
            m_maps.Project(m_context.circuit, lap.groundX[sample], lap.groundZ[sample]);
        Plot(frame, clip, p.x, p.y, track);
        Plot(frame, clip, p.x + 1, p.y, track);
        Plot(frame, clip, p.x, p.y - 1, track);
    }
    const GraphColumn& centre = active->columns[GraphWindow::kCentreColumn];
    if (centre.sample < 0)
    {
        return;
    }
    const MapPoint marker =
        m_maps.Project(m_context.circuit, lap.groundX[centre.sample], lap.groundZ[centre.sample]);
    const auto half = static_cast<int32_t>(std::lround(2.0f - sim::Sin(16.0f * m_markerPhase)));
    for (int32_t d = -half; d <= half; ++d)
    {
        Plot(frame, clip, marker.x + d, marker.y, 0);
        Plot(frame, clip, marker.x, marker.y + d, 0);
    }
}
