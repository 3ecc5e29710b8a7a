// The telemetry screen's 3D view: the circuit's ground seen from above the marker, from a
// height the player chooses, with two laps compared along the lap, their numbers and times,
// and on the map the ground the view shows.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "app/device/RenderDevice.h"
#include "app/input/KeyState.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "frontend/toolkit/KnobDrawing.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "race/SimMath.h"
#include "setup/PanelDrawing.h"
#include "setup/telemetry/DataRecorder.h"
#include "setup/telemetry/MapDrawing.h"
#include "setup/telemetry/TelemetryFiles.h"

namespace
{
namespace tc = telemetry_controls;

constexpr uint32_t kText = 0xE0E0E0;
constexpr uint32_t kButtonColour = 0x604830;
// The compared laps: 0/255/255 and 255/255/0 (red, green, blue), as 0x00BBGGRR.
constexpr std::array<uint32_t, 2> kCompareColours = {0xFFFF00, 0x00FFFF};
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kKnobTexture = 50;
constexpr float kArrowSpeed = 0.1f;  // slider value per second while an arrow is held
constexpr int32_t kLapColumnX = 50;
constexpr int32_t kTimeColumnX = 100;

// The ground under the view as the 3D world shows it: the camera looks straight down on the
// centre from its distance.
struct GroundView
{
    float centreX = 0.0f;
    float centreZ = 0.0f;
    float pixelsPerUnit = 1.0f;
    float cosA = 1.0f;
    float sinA = 0.0f;
    float screenX = 320.0f;
    float screenY = tc::kSceneHeight / 2.0f;

    // Turned as the circuit's map is; points far off the screen (or no number at all, from a
    // damaged lap) land far outside it.
    void ToScreen(float x, float z, int32_t* sx, int32_t* sy) const
    {
        const float dx = x - centreX;
        const float dz = z - centreZ;
        *sx = Pixel(screenX + (dx * cosA + dz * sinA) * pixelsPerUnit);
        *sy = Pixel(screenY - (dz * cosA - dx * sinA) * pixelsPerUnit);
    }
    static int32_t Pixel(float value)
    {
        constexpr double kFar = 100000.0;
        const double v = std::floor(static_cast<double>(value));
        return static_cast<int32_t>(std::isfinite(v) ? std::clamp(v, -kFar, kFar) : kFar);
    }
    void ToGround(float sx, float sy, float* x, float* z) const
    {
        const float u = (sx - screenX) / pixelsPerUnit;
        const float v = (screenY - sy) / pixelsPerUnit;
        *x = centreX + u * cosA - v * sinA;
        *z = centreZ + u * sinA + v * cosA;
    }
};

std::string Formatted(const char* format, int a, int b = 0, int c = 0)
{
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), format, a, b, c);
    return text.data();
}
}  // namespace

void DataRecorder::Enter3DView()
{
    m_view3d = true;
    m_openPulldown = -1;
    m_draggedSlider = -1;
    m_panX = m_panY = false;
    const Slot& active = m_slots[static_cast<size_t>(m_activeSlot)];
    float position = 0.0f;
    const LapRecord* lap = LapOf(active);
    const int32_t centre = active.columns[GraphWindow::kCentreColumn].sample;
    if (lap != nullptr && lap->sampleCount > 0 && centre >= 0)
    {
        position = static_cast<float>(centre) / static_cast<float>(lap->sampleCount);
    }
    m_viewSliders = {tc::TrackSlider(tc::kZoomTracks[0], 0.0f, 1.0f, position),
                     tc::TrackSlider(tc::kZoomTracks[1], 0.0f, 1.0f, m_zoomSliders[1].value)};
    m_background.Set(telemetry_files::SceneBackground(m_context.circuitName).c_str());
    m_world.Show(true);
    m_list.Add(0, 0, 640, 480);
}

void DataRecorder::EnterGraphView()
{
    m_view3d = false;
    m_draggedSlider = -1;
    m_world.Show(false);
    m_background.Set(telemetry_files::GraphBackground(m_context.circuitName).c_str());
    SetZoomSlider(1, m_viewSliders[1].value);
    int32_t sample = 0;
    if (const LapRecord* lap = PositionSample(&sample))
    {
        const float axis = m_distanceAxis ? lap->distance[static_cast<size_t>(sample)]
                                          : lap->raceTime[static_cast<size_t>(sample)];
        m_window.panOffsetX = axis - m_window.Step() * 280.5f - m_window.rangeMin;
        Layout();
    }
    m_list.Add(0, 0, 640, 480);
}

void DataRecorder::SetViewSlider(int slider, float value)
{
    Slider& view = m_viewSliders[static_cast<size_t>(slider)];
    view.value = value;
    view.UpdateKnob();
}

const LapRecord* DataRecorder::PositionSample(int32_t* sample) const
{
    const LapRecord* lap = LapOf(m_slots[static_cast<size_t>(m_activeSlot)]);
    if (lap == nullptr || lap->sampleCount <= 0)
    {
        return nullptr;
    }
    const auto at = static_cast<int32_t>(m_viewSliders[0].value * lap->sampleCount);
    *sample = std::clamp(at, 0, lap->sampleCount - 1);
    return lap;
}

int32_t DataRecorder::PositionNode() const
{
    int32_t sample = 0;
    const LapRecord* lap = PositionSample(&sample);
    return lap != nullptr ? m_track.MainNode(lap->node[static_cast<size_t>(sample)])
                          : TelemetryTrack::kNoNode;
}

void DataRecorder::StepCompareLap(int which, int delta)
{
    const int32_t positions = m_offered.lapsShown + 1;
    int32_t& lap = m_compareLap[static_cast<size_t>(which)];
    lap = ((lap + delta) % positions + positions) % positions;
    m_list.Add(0, 0, 640, 480);
}

const LapRecord* DataRecorder::CompareRecord(int which) const
{
    const int32_t entry = m_compareLap[static_cast<size_t>(which)];
    return entry >= 0 && entry < m_offered.lapsShown ? m_laps[static_cast<size_t>(entry)].get()
                                                     : nullptr;
}

std::string DataRecorder::CompareLapNumber(int which) const
{
    if (CompareRecord(which) == nullptr)
    {
        return "--";
    }
    return Formatted("%.2d", m_offered.lapOffset + 1 + m_compareLap[static_cast<size_t>(which)]);
}

// The lap's own time when it was timed, else the span of its samples.
std::string DataRecorder::CompareLapTime(int which) const
{
    const LapRecord* lap = CompareRecord(which);
    if (lap == nullptr)
    {
        return "--:--:---";
    }
    int32_t ms = lap->times[static_cast<size_t>(LapTime::Lap)];
    if (ms < 0)
    {
        ms = static_cast<int32_t>(std::lround(LapDuration(*lap) * 1000.0f));
    }
    return Formatted("%d:%.2d:%.3d", ms / 60000, ms / 1000 % 60, ms % 1000);
}

void DataRecorder::HandleInput3d(const TelemetryHit& hit, uint8_t left, float dt)
{
    TrackHover(hit.control);  // the 3D view is drawn whole every frame
    if ((left & kKeyHeld) == 0)
    {
        m_draggedSlider = -1;
    }
    if ((left & kKeyPressed) != 0)
    {
        switch (hit.control)
        {
            case TelemetryControl::ViewSlider:
                m_draggedSlider = hit.index;
                break;
            case TelemetryControl::CompareArrow:
                StepCompareLap(hit.index / 2, hit.index % 2 == 1 ? +1 : -1);
                break;
            case TelemetryControl::GraphView:
                EnterGraphView();
                return;
            case TelemetryControl::Exit:
                m_result = 1;
                return;
            default:
                break;
        }
    }
    if ((left & kKeyHeld) != 0)
    {
        const float step = kArrowSpeed * dt;
        if (hit.control == TelemetryControl::PositionArrow)
        {
            SetViewSlider(0, m_viewSliders[0].value + (hit.index == 1 ? step : -step));
        }
        else if (hit.control == TelemetryControl::HeightArrow)
        {
            SetViewSlider(1, m_viewSliders[1].value + (hit.index == 0 ? step : -step));
        }
    }
    if (m_draggedSlider >= 0)
    {
        m_viewSliders[static_cast<size_t>(m_draggedSlider)].SetFromMouse(m_cursorX);
    }
}

void DataRecorder::Draw3d(const DirtyRectList& list)
{
    SetActiveRectList(&list);
    DrawBackground();
    const TrackPoint centre = ViewCentre();
    m_world.Draw(ViewDistance(), centre.x, centre.z);
    SetTextFont(GetMenuFont(MenuFont::Menu12));
    const bool english = m_context.language == Language::English;
    DrawButton(tc::ButtonFace::GraphView, tc::kGraphViewButton, TelemetryControl::GraphView);
    DrawButton(tc::ButtonFace::Exit, tc::kExitButton, TelemetryControl::Exit);
    // Position back and forward, height up and down.
    DrawArrowButton(tc::kPositionArrows[0], ArrowDirection::Left, kButtonColour, kText);
    DrawArrowButton(tc::kPositionArrows[1], ArrowDirection::Right, kButtonColour, kText);
    DrawArrowButton(tc::kHeightArrows[0], ArrowDirection::Up, kButtonColour, kText);
    DrawArrowButton(tc::kHeightArrows[1], ArrowDirection::Down, kButtonColour, kText);
    DrawColorTextClipped(kLapColumnX, tc::kLapTableHeadY, kText, english ? "LAP" : "RUNDE",
                         kAlignLeft);
    DrawColorTextClipped(kTimeColumnX, tc::kLapTableHeadY, kText, english ? "TIME" : "ZEIT",
                         kAlignLeft);
    for (int which = 0; which < 2; ++which)
    {
        for (int32_t next = 0; next < 2; ++next)
        {
            DrawArrowButton(tc::CompareArrow(which, next),
                            next == 1 ? ArrowDirection::Right : ArrowDirection::Left, kButtonColour,
                            kText);
        }
        const int32_t y = tc::kCompareRowY[static_cast<size_t>(which)];
        const uint32_t colour = kCompareColours[static_cast<size_t>(which)];
        DrawColorTextClipped(kLapColumnX, y, colour, CompareLapNumber(which).c_str(), kAlignLeft);
        DrawColorTextClipped(kTimeColumnX, y, colour, CompareLapTime(which).c_str(), kAlignLeft);
    }
    for (const Slider& view : m_viewSliders)
    {
        FillRectClipped(view.x, view.y + view.height / 2 - 1, view.x + view.width,
                        view.y + view.height / 2 + 1, 0x8098A0);
        DrawSpriteClipped(kKnobTexture, view);
    }

    LfbInfo lock;
    if (g_renderDevice.LockLFB(&lock) == 0 || lock.address == nullptr)
    {
        return;
    }
    const FrameBuffer16 frame{static_cast<uint16_t*>(lock.address), lock.stride / 2};
    ScreenRect rect;
    int32_t index = 0;
    while (list.GetNext(&rect, &index))
    {
        DrawScene(frame, rect);
        Draw3DTraces(frame, rect);
    }
    g_renderDevice.UnlockLFB(&lock);
    DrawTitle();
}

float DataRecorder::ViewDistance() const
{
    return 60.0f + 2940.0f * (1.0f - m_viewSliders[1].value);
}

// The racing line's node at the position slider, drawn nearer to the view's centre the higher
// the height slider; the circuit's origin without a line.
TrackPoint DataRecorder::ViewCentre() const
{
    const int32_t node = PositionNode();
    if (node == TelemetryTrack::kNoNode)
    {
        return {};
    }
    const TrackPoint at = m_track.Point(node);
    const float height = m_viewSliders[1].value;
    const TrackPoint centre{at.x * height, at.z * height};
    // A damaged line's node that is no number would carry the whole world with it.
    return std::isfinite(centre.x) && std::isfinite(centre.z) ? centre : TrackPoint{};
}

// Over the ground: the racing line in white, the compared laps' traces and the marker.
void DataRecorder::DrawScene(FrameBuffer16 frame, const ScreenRect& clip) const
{
    GroundView view;
    view.pixelsPerUnit = m_world.PixelsPerUnit(ViewDistance());
    if (!(view.pixelsPerUnit > 0.0f))
    {
        return;  // no world to look through
    }
    view.screenX = m_world.CentreX();
    view.screenY = m_world.CentreY();
    const float angle = m_maps.Record(m_context.circuit).angle;
    view.cosA = sim::Cos(angle);
    view.sinA = sim::Sin(angle);
    const TrackPoint centre = ViewCentre();
    view.centreX = centre.x;
    view.centreZ = centre.z;
    const ScreenRect scene{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, 640),
                           std::min(clip.bottom, tc::kSceneHeight)};
    const auto trace = [&](uint16_t colour, size_t count, auto pointAt)
    {
        int32_t lastX = 0;
        int32_t lastY = 0;
        for (size_t i = 0; i < count; ++i)
        {
            const TrackPoint p = pointAt(i);
            int32_t x = 0;
            int32_t y = 0;
            view.ToScreen(p.x, p.z, &x, &y);
            if (i > 0)
            {
                PlotLine(frame, scene, lastX, lastY, x, y, colour);
            }
            lastX = x;
            lastY = y;
        }
    };
    const uint16_t white = g_renderDevice.GetScreenColor(kWhite);
    const std::vector<TrackPoint> line = m_track.MainLap();
    trace(white, line.size(), [&](size_t i) { return line[i]; });
    for (int which = 0; which < 2; ++which)
    {
        if (const LapRecord* compared = CompareRecord(which))
        {
            trace(g_renderDevice.GetScreenColor(kCompareColours[static_cast<size_t>(which)]),
                  static_cast<size_t>(compared->sampleCount),
                  [&](size_t i) {
                      return TrackPoint{compared->groundX[i], compared->groundZ[i]};
                  });
        }
    }
    if (const int32_t node = PositionNode(); node != TelemetryTrack::kNoNode)
    {
        const TrackPoint at = m_track.Point(node);
        int32_t x = 0;
        int32_t y = 0;
        view.ToScreen(at.x, at.z, &x, &y);
        PlotCross(frame, scene, x, y, 4, white);
    }

    // The ground the view shows, outlined in white on the map.
    std::array<MapPoint, 4> corners{};
    const std::array<std::pair<float, float>, 4> screenCorners = {
        {{0.0f, 0.0f}, {640.0f, 0.0f}, {640.0f, tc::kSceneHeight}, {0.0f, tc::kSceneHeight}}};
    for (size_t i = 0; i < corners.size(); ++i)
    {
        float x = 0.0f;
        float z = 0.0f;
        view.ToGround(screenCorners[i].first, screenCorners[i].second, &x, &z);
        const MapPoint p = m_maps.Project(m_context.circuit, x, z);
        corners[i] = {std::clamp(p.x, tc::kMapArea.left, tc::kMapArea.right - 1),
                      std::clamp(p.y, tc::kMapArea.top, tc::kMapArea.bottom - 1)};
    }
    for (size_t i = 0; i < corners.size(); ++i)
    {
        const MapPoint& a = corners[i];
        const MapPoint& b = corners[(i + 1) % corners.size()];
        PlotLine(frame, clip, a.x, a.y, b.x, b.y, white);
    }
}

// The map of the 3D view: the part of the lap in the graphs' window and the marker at the
// position slider.
void DataRecorder::Draw3DTraces(FrameBuffer16 frame, const ScreenRect& clip) const
{
    DrawMap(frame, clip);
    int32_t sample = 0;
    if (const LapRecord* lap = PositionSample(&sample))
    {
        DrawMarker(frame, clip, *lap, sample);
    }
}
