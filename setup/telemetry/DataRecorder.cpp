#include "setup/telemetry/DataRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "app/window/FrameTime.h"
#include "core/archive/DAFile.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/KnobDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "race/RaceContext.h"
#include "race/SimMath.h"
#include "setup/CircuitTitleLines.h"
#include "setup/PanelDrawing.h"
#include "setup/telemetry/MapDrawing.h"
#include "setup/telemetry/TelemetryFiles.h"
#include "sound/CdMusic.h"

namespace
{
constexpr const char* kCourseMapsFile = "course.dat";
constexpr uint32_t kBackground = 0x281810;
constexpr uint32_t kLabelColour = 0xE0E0E0;
// The slots' colours, 0x00BBGGRR.
constexpr std::array<uint32_t, DataRecorder::kSlots> kSlotColours = {0x00C8C8, 0xC8C800, 0x00C800,
                                                                     0xC80000};
constexpr uint32_t kTrackColour = 0xFFFF50;
constexpr int32_t kReadoutTop = 342;
constexpr int32_t kReadoutRow = 16;
constexpr uint32_t kHoverColour = 0x80FFFF;
constexpr uint32_t kUnavailableColour = 0x707070;
constexpr uint32_t kTrackColourRgb = 0x8098A0;
constexpr int32_t kKnobTexture = 50;
constexpr const char* kKnobPicture = "MainMenu/slider.tga";
constexpr float kVerticalZoomMinimum = 0.02f;
constexpr float kVerticalZoomMaximum = 0.15f;
constexpr float kVerticalZoomStart = 0.076f;
constexpr int32_t kBothBuffers = 2;
constexpr int32_t kAxisLabelY = 304;
constexpr int32_t kLabelSpacing = 11;
constexpr int32_t kLabelColumn = 42;
constexpr float kIconFramesPerSecond = 8.0f;
constexpr int32_t kTitleX = 620;
constexpr int32_t kTitleY = 344;

namespace tc = telemetry_controls;

std::string LapLabel(int32_t lap)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%.2d", static_cast<int>(lap));
    return text.data();
}
}  // namespace

DataRecorder::DataRecorder(const DataRecorderContext& context) : m_context(context) {}

int32_t DataRecorder::Load()
{
    g_renderDevice.SetArchive(g_archiveMenu);
    DAFile file(g_archiveMenu);
    if (file.Exists(kCourseMapsFile) && file.Open(kCourseMapsFile))
    {
        if (const std::optional<std::vector<uint8_t>> bytes = file.ReadAll())
        {
            m_maps.Load(*bytes);  // a damaged table leaves the built-in one
        }
    }
    SelectMusicTrack(MusicSituation::Telemetry, g_raceContext.randomTable.At(g_lastFrameMs));
    ClearAllKeys();
    m_track.Load(g_archiveData, m_context.circuitName, ToIndex(m_context.bikeClass));
    m_world.Load(m_context.circuitName, m_maps.Record(m_context.circuit).angle);
    m_background.Set(telemetry_files::GraphBackground(m_context.circuitName).c_str());
    LoadTelemetryFonts();
    g_renderDevice.LoadMemoryTexture(telemetry_files::kSlotLabels, &m_slotLabels);
    g_renderDevice.LoadMemoryTexture(telemetry_files::kChannelIcons, &m_channelIcons);
    g_renderDevice.LoadMemoryTexture(telemetry_files::kPulldowns, &m_pulldowns);
    g_renderDevice.LoadMemoryTexture(telemetry_files::kButtons, &m_buttonFaces[0]);
    g_renderDevice.LoadMemoryTexture(telemetry_files::kLitButtons, &m_buttonFaces[1]);
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
    m_zoomSliders = {tc::TrackSlider(tc::kZoomTracks[0], kVerticalZoomMinimum, kVerticalZoomMaximum,
                                     kVerticalZoomStart),
                     tc::TrackSlider(tc::kZoomTracks[1], 0.0f, 1.0f, 0.0f)};
    m_draggedSlider = -1;
    m_openPulldown = -1;
    m_hoverEntry = -1;
    m_activeSlot = 0;
    m_panX = m_panY = false;
    m_view3d = false;
    m_compareLap = {0, m_offered.lapsShown};
    if (g_renderDevice.GetTexture(kKnobTexture) == nullptr)
    {
        g_renderDevice.LoadTexture(kKnobPicture, kKnobTexture, 0, 0);
    }
    m_result = 0;
    m_redraw = kBothBuffers;
    Layout();
    return 1;
}

void DataRecorder::ReleaseResources()
{
    for (auto& lap : m_laps)
    {
        lap.reset();
    }
    m_world.Free();
    m_track.Clear();
    FreeTelemetryFonts();
    m_background.Free();
    for (Texture** picture :
         {&m_slotLabels, &m_channelIcons, &m_pulldowns, &m_buttonFaces[0], &m_buttonFaces[1]})
    {
        if (*picture != nullptr)
        {
            g_renderDevice.FreeMemoryTexture(picture);
        }
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

// The horizontal zoom keeps the centre column's axis value where it is.
void DataRecorder::SetZoomSlider(int slider, float value)
{
    Slider& zoom = m_zoomSliders[static_cast<size_t>(slider)];
    zoom.value = value;
    zoom.UpdateKnob();
    if (slider == 0)
    {
        m_window.yZoom = zoom.value * 10.0f + 0.1f;
    }
    else
    {
        const float xZoom = 1.0f - zoom.value * 0.98f;
        const float perColumn = (m_window.rangeMax - m_window.rangeMin) / GraphWindow::kColumns;
        m_window.panOffsetX -=
            perColumn * (xZoom - m_window.xZoom) * static_cast<float>(GraphWindow::kCentreColumn);
        m_window.xZoom = xZoom;
    }
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

void DataRecorder::HandleInput(float dt)
{
    std::array<int32_t, 3> cursor{};
    g_renderDevice.GetCursorData(cursor.data());
    const int32_t dx = m_cursorX < 0 ? 0 : cursor[0] - m_cursorX;
    const int32_t dy = m_cursorY < 0 ? 0 : cursor[1] - m_cursorY;
    m_cursorX = cursor[0];
    m_cursorY = cursor[1];
    const uint8_t left = ReadKey(vk::LeftButton);
    const uint8_t right = ReadKey(vk::RightButton);
    if (m_view3d)
    {
        HandleInput3d(tc::HitAt3d(m_cursorX, m_cursorY), left, dt);
        return;
    }
    const TelemetryHit hit = tc::HitAt(m_cursorX, m_cursorY, m_openPulldown);
    if (TrackHover(hit.control))
    {
        for (const ScreenRect& button : {tc::kAxisSwitch, tc::kView3dButton, tc::kExitButton})
        {
            m_list.AddRect(button);
        }
    }

    if (m_openPulldown >= 0)
    {
        const int32_t hover = hit.control == TelemetryControl::PulldownEntry ? hit.index : -1;
        if (hover != m_hoverEntry)
        {
            m_hoverEntry = hover;
            m_list.AddRect(tc::ListBox(m_openPulldown));
        }
    }
    if ((left & kKeyHeld) == 0)
    {
        m_draggedSlider = -1;
        m_panX = false;
    }
    if ((right & kKeyHeld) == 0)
    {
        m_panY = false;
    }
    // A drag moves the graphs from the frame after its press on.
    const bool panX = m_panX;
    const bool panY = m_panY;
    if ((left & kKeyPressed) != 0)
    {
        Press(hit);
    }
    if ((right & kKeyPressed) != 0 && hit.control == TelemetryControl::Graph)
    {
        m_panY = true;
    }
    if (m_draggedSlider >= 0)
    {
        Slider zoom = m_zoomSliders[static_cast<size_t>(m_draggedSlider)];
        zoom.SetFromMouse(m_cursorX);
        SetZoomSlider(m_draggedSlider, zoom.value);
    }
    else if ((panX || panY) && (dx != 0 || dy != 0))
    {
        m_window.Pan(panX ? dx : 0, panY ? dy : 0);
        Layout();
    }
}

void DataRecorder::Press(const TelemetryHit& hit)
{
    const int32_t wasOpen = m_openPulldown;
    if (wasOpen >= 0 && hit.control != TelemetryControl::PulldownEntry)
    {
        m_openPulldown = -1;  // a click anywhere else closes the list
        m_list.Add(0, 0, 640, 480);
    }
    switch (hit.control)
    {
        case TelemetryControl::Pulldown:
            m_openPulldown = hit.index == wasOpen ? -1 : hit.index;
            m_hoverEntry = -1;
            m_list.Add(0, 0, 640, 480);
            break;
        case TelemetryControl::PulldownEntry:
            ChooseEntry(hit.index);
            break;
        case TelemetryControl::ZoomSlider:
            m_draggedSlider = hit.index;
            break;
        case TelemetryControl::SlotSelector:
            m_activeSlot = (m_activeSlot + 1) % kSlots;
            m_list.Add(0, 0, 640, 480);
            break;
        case TelemetryControl::AxisSwitch:
            SetDistanceAxis(!m_distanceAxis);
            break;
        case TelemetryControl::Exit:
            m_result = 1;
            break;
        case TelemetryControl::View3d:
            Enter3DView();
            break;
        case TelemetryControl::Graph:
            m_panX = wasOpen < 0;
            break;
        default:
            break;
    }
}

// A channel list sets the slot's channel (the last entry is none); a lap list the slot's lap
// among those offered.
void DataRecorder::ChooseEntry(int32_t entry)
{
    const int32_t pulldown = m_openPulldown;
    const int slot = tc::SlotOf(pulldown);
    if (tc::IsChannelList(pulldown))
    {
        SetSlotChannel(slot, static_cast<uint8_t>(entry));
    }
    else if (entry < m_offered.lapsShown)
    {
        SetSlotLap(slot, entry);
    }
    else
    {
        return;  // a lap that was not recorded
    }
    m_openPulldown = -1;
    m_hoverEntry = -1;
    m_list.Add(0, 0, 640, 480);
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
    HandleInput(dt);
    // The marker moves every frame; the 3D view is drawn whole.
    if (m_view3d)
    {
        m_list.Add(0, 0, 640, 480);
    }
    else
    {
        m_list.AddRect(tc::kMapArea);
    }
    if (g_renderDevice.IsGlideActive() != 0)
    {
        m_view3d ? Draw3d(m_list) : Draw(m_list);
        g_renderDevice.Wait(0);
        g_renderDevice.Flip();
    }
    m_list.Clear();
    SetActiveRectList(nullptr);
    g_renderDevice.EndDraw();
    return m_result;
}

// The view's picture; without it a plain colour.
void DataRecorder::DrawBackground()
{
    FillRectClipped(0, 0, 640, 480, kBackground);
    m_background.Draw();
}

void DataRecorder::Draw(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    DrawBackground();
    SetTextFont(GetTelemetryFont(TelemetryFont::Small));
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
    DrawControls();

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
                PlotPixel(frame, rect, x, y, white);
            }
        }
        DrawMap(frame, rect);
    }
    g_renderDevice.UnlockLFB(&lock);
    DrawAxes();
    // The open list lies over the graphs.
    if (m_openPulldown >= 0)
    {
        DrawPulldown(m_openPulldown);
    }
    DrawTitle();
}

void DataRecorder::DrawTitle() const
{
    SetTextFont(GetMenuFont(MenuFont::Menu16));
    DrawCircuitTitleLines(m_context.language, m_context.circuit, kTitleX, kTitleY, kLabelColour,
                          kAlignRight);
}

// The time or distance under the graphs, and each slot's scale along the left of the graph in
// its colour; labels closer than a line to the one before are left out.
void DataRecorder::DrawAxes()
{
    SetTextFont(GetTelemetryFont(TelemetryFont::Scale));
    if (m_window.HasRange())
    {
        const float first = m_window.AxisValue(0);
        const float last = m_window.AxisValue(GraphWindow::kColumns - 1);
        const float grid = GridStep((m_window.rangeMax - m_window.rangeMin) * m_window.xZoom);
        // Counted, not summed: a damaged lap's huge range must not stall the loop.
        const double start = std::ceil(static_cast<double>(first) / grid);
        for (int32_t k = 0; k < GraphWindow::kColumns; ++k)
        {
            const double value = (start + k) * grid;
            if (!(value <= last))
            {
                break;
            }
            const auto column = static_cast<int32_t>((value - first) / m_window.Step());
            std::array<char, 32> text{};
            std::snprintf(text.data(), text.size(), "%.0f", value);
            DrawColorTextClipped(GraphWindow::kLeft + column, kAxisLabelY, kLabelColour,
                                 text.data(), kAlignCentre);
        }
    }
    for (int slot = 0; slot < kSlots; ++slot)
    {
        const Slot& s = m_slots[static_cast<size_t>(slot)];
        if (LapOf(s) == nullptr)
        {
            continue;
        }
        int32_t lastRow = -kLabelSpacing;
        for (const AxisLabel& label : ChannelAxisLabels(m_window, s.channel))
        {
            if (std::abs(label.row - lastRow) < kLabelSpacing)
            {
                continue;
            }
            lastRow = label.row;
            std::array<char, 16> text{};
            std::snprintf(text.data(), text.size(), "%g", static_cast<double>(label.text));
            DrawColorTextClipped(GraphWindow::kLeft + 3 + kLabelColumn * slot,
                                 GraphWindow::kTop + label.row - 5,
                                 kSlotColours[static_cast<size_t>(slot)], text.data(), kAlignLeft);
        }
    }
}

void DataRecorder::DrawControls()
{
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    const bool english = m_context.language == Language::English;
    for (int32_t pulldown = 0; pulldown < tc::kPulldowns; ++pulldown)
    {
        const ScreenRect header = tc::Header(pulldown);
        const Slot& slot = m_slots[static_cast<size_t>(tc::SlotOf(pulldown))];
        DrawPulldownPart(pulldown, header, 0);
        std::string label;
        if (tc::IsChannelList(pulldown) && slot.channel < kTelemetryChannels)
        {
            label = TelemetryChannelOf(slot.channel).name[ToIndex(m_context.language)];
        }
        else if (!tc::IsChannelList(pulldown) && slot.entry >= 0)
        {
            label = LapLabel(m_offered.lapOffset + 1 + slot.entry);
        }
        DrawColorTextClipped(header.left + 3, header.top + 3,
                             kSlotColours[static_cast<size_t>(tc::SlotOf(pulldown))], label.c_str(),
                             kAlignLeft);
    }
    for (const Slider& zoom : m_zoomSliders)
    {
        FillRectClipped(zoom.x, zoom.y + zoom.height / 2 - 1, zoom.x + zoom.width,
                        zoom.y + zoom.height / 2 + 1, kTrackColourRgb);
        DrawSpriteClipped(kKnobTexture, zoom);
    }
    DrawButton(tc::ButtonFace::Blank, tc::kAxisSwitch, TelemetryControl::AxisSwitch);
    DrawButton(tc::ButtonFace::View3d, tc::kView3dButton, TelemetryControl::View3d);
    DrawButton(tc::ButtonFace::Exit, tc::kExitButton, TelemetryControl::Exit);
    const char* unit = m_distanceAxis ? (english ? "Metres" : "Meter") : (english ? "Sec" : "Sek.");
    DrawColorTextClipped((tc::kAxisSwitch.left + tc::kAxisSwitch.right) / 2,
                         tc::kAxisSwitch.top + 3,
                         m_hovered == TelemetryControl::AxisSwitch ? kHoverColour : kLabelColour,
                         unit, kAlignCentre);
    // The slot strip: the active slot's column of the picture.
    const ScreenRect strip = tc::kSlotSelector;
    const int32_t width = strip.right - strip.left;
    if (m_slotLabels != nullptr)
    {
        DrawBitmapClipped(m_slotLabels, m_activeSlot * width, 0, strip.left, strip.top, width,
                          strip.bottom - strip.top, 0);
    }
}

// Lit while the mouse is over it.
void DataRecorder::DrawButton(tc::ButtonFace face, const ScreenRect& rect,
                              TelemetryControl control) const
{
    if (Texture* picture = m_buttonFaces[m_hovered == control ? 1 : 0])
    {
        DrawBitmapClipped(picture, 0, static_cast<int32_t>(face) * tc::kButtonFaceHeight, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top, 0);
    }
}

bool DataRecorder::TrackHover(TelemetryControl under)
{
    const TelemetryControl hovered =
        under == TelemetryControl::AxisSwitch || under == TelemetryControl::View3d ||
                under == TelemetryControl::GraphView || under == TelemetryControl::Exit
            ? under
            : TelemetryControl::None;
    const bool changed = hovered != m_hovered;
    m_hovered = hovered;
    return changed;
}

void DataRecorder::DrawPulldownPart(int32_t pulldown, const ScreenRect& rect, int32_t top) const
{
    if (m_pulldowns != nullptr)
    {
        const int32_t column = tc::IsChannelList(pulldown) ? 0 : tc::kPulldownLapColumnX;
        DrawBitmapClipped(m_pulldowns, column, top, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, 0);
    }
}

void DataRecorder::DrawPulldown(int32_t pulldown)
{
    DrawPulldownPart(pulldown, tc::ListBox(pulldown), tc::kHeaderHeight);
    const bool channels = tc::IsChannelList(pulldown);
    for (int32_t entry = 0; entry < tc::EntryCount(pulldown); ++entry)
    {
        const ScreenRect box = tc::Entry(pulldown, entry);
        const bool hovered = entry == m_hoverEntry;
        if (channels)
        {
            // The hovered icon runs through its animation.
            const int32_t frame =
                hovered
                    ? static_cast<int32_t>(m_markerPhase * kIconFramesPerSecond) % tc::kIconFrames
                    : 0;
            if (m_channelIcons != nullptr)
            {
                DrawBitmapClipped(m_channelIcons, frame * tc::kIconWidth, entry * tc::kIconHeight,
                                  box.left, box.top, tc::kIconWidth, tc::kIconHeight, 0);
            }
            if (hovered)
            {
                FillRectClipped(box.left, box.top, box.right, box.top + 1, kHoverColour);
                FillRectClipped(box.left, box.bottom - 1, box.right, box.bottom, kHoverColour);
                FillRectClipped(box.left, box.top, box.left + 1, box.bottom, kHoverColour);
                FillRectClipped(box.right - 1, box.top, box.right, box.bottom, kHoverColour);
            }
            continue;
        }
        SetTextFont(GetTelemetryFont(TelemetryFont::Tiny));
        const bool offered = entry < m_offered.lapsShown;
        const uint32_t colour = !offered  ? kUnavailableColour
                                : hovered ? kHoverColour
                                          : kLabelColour;
        DrawColorTextClipped(box.left + 3, box.top + 5, colour,
                             LapLabel(m_offered.lapOffset + 1 + entry).c_str(), kAlignLeft);
    }
}

// The part of the racing line that the active slot's lap covers in the graphs' window, three
// pixels thick, and the marker at its centre column's sample.
void DataRecorder::DrawMap(FrameBuffer16 frame, const ScreenRect& clip) const
{
    const Slot& active = m_slots[static_cast<size_t>(m_activeSlot)];
    const LapRecord* lap = LapOf(active);
    if (lap == nullptr)
    {
        return;
    }
    int32_t first = -1;
    int32_t last = -1;
    for (const GraphColumn& column : active.columns)
    {
        if (column.sample >= 0)
        {
            first = first < 0 ? column.sample : first;
            last = column.sample;
        }
    }
    if (first >= 0)
    {
        const uint16_t track = g_renderDevice.GetScreenColor(kTrackColour);
        const std::vector<TrackPoint> section =
            m_track.Section(m_track.MainNode(lap->node[static_cast<size_t>(first)]),
                            m_track.MainNode(lap->node[static_cast<size_t>(last)]));
        for (size_t i = 1; i < section.size(); ++i)
        {
            const MapPoint a =
                m_maps.Project(m_context.circuit, section[i - 1].x, section[i - 1].z);
            const MapPoint b = m_maps.Project(m_context.circuit, section[i].x, section[i].z);
            PlotLine(frame, clip, a.x, a.y, b.x, b.y, track);
            PlotLine(frame, clip, a.x + 1, a.y, b.x + 1, b.y, track);
            PlotLine(frame, clip, a.x, a.y - 1, b.x, b.y - 1, track);
        }
    }
    if (!m_view3d)
    {
        DrawMarker(frame, clip, *lap, active.columns[GraphWindow::kCentreColumn].sample);
    }
}

// A black cross on the racing line at the sample's node, pulsing with the marker phase.
void DataRecorder::DrawMarker(FrameBuffer16 frame, const ScreenRect& clip, const LapRecord& lap,
                              int32_t sample) const
{
    if (sample < 0 || sample >= lap.sampleCount)
    {
        return;
    }
    const int32_t node = m_track.MainNode(lap.node[static_cast<size_t>(sample)]);
    if (node == TelemetryTrack::kNoNode)
    {
        return;
    }
    const TrackPoint at = m_track.Point(node);
    const MapPoint marker = m_maps.Project(m_context.circuit, at.x, at.z);
    const auto half = static_cast<int32_t>(std::lround(2.0f - sim::Sin(16.0f * m_markerPhase)));
    PlotCross(frame, clip, marker.x, marker.y, half, 0);
}
