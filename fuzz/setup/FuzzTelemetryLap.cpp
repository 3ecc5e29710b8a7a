// A lap file as the telemetry screen plots it: every channel over the lap's time and its
// distance, zoomed and panned, the read-out at the centre column, and the map's section of a
// generated circuit's racing line between the window's first and last samples, all drawn into
// a 640 x 480 frame. Whatever the samples hold, nothing is read or written out of bounds and no
// number that is none becomes a pixel.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "fuzz/support/FuzzInputFile.h"
#include "kit/CprWriter.h"
#include "kit/race/CircuitGenerator.h"
#include "race/RacingLineFile.h"
#include "race/laps/LapFile.h"
#include "race/laps/LapRecord.h"
#include "setup/telemetry/CourseMaps.h"
#include "setup/telemetry/MapDrawing.h"
#include "setup/telemetry/TelemetryChannels.h"
#include "setup/telemetry/TelemetryGraphs.h"
#include "setup/telemetry/TelemetryLaps.h"
#include "setup/telemetry/TelemetryTrack.h"

namespace
{
constexpr const char* kCircuit = "Fuzz";
constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

TelemetryTrack GeneratedTrack()
{
    std::string error;
    const std::optional<kit::GeneratedCircuit> circuit =
        kit::GenerateCircuit(kit::CircuitShape{}, BikeClass::Class250, error);
    kit::CprWriter writer;
    if (!circuit || !writer.Add(RacingLine::MakeFileName(kCircuit, 1),
                                EncodeRacingLineFile(*circuit->line, circuit->head),
                                kit::MemberStorage::Stored, error))
    {
        std::abort();
    }
    static const FuzzInputFile file("line.cpr");
    const std::vector<uint8_t> bytes = writer.Build();
    file.Hold(bytes.data(), bytes.size());
    CprArchive archive;
    TelemetryTrack track;
    if (!archive.Open(file.Path(), true) || !track.Load(&archive, kCircuit, 1))
    {
        std::abort();
    }
    return track;
}

void Plot(const LapRecord& lap, const GraphWindow& window, const GraphColumns& columns,
          const TelemetryTrack& track, std::span<uint16_t> pixels)
{
    const FrameBuffer16 frame{pixels.data(), kWidth};
    const ScreenRect screen{0, 0, kWidth, kHeight};
    for (uint8_t channel = 0; channel <= kNoChannel; ++channel)
    {
        DrawGraph(frame, screen, window, columns, lap, channel, 0xFFFF);
        const GraphColumn& centre = columns[GraphWindow::kCentreColumn];
        if (channel < kTelemetryChannels && centre.sample >= 0)
        {
            FormatReadout(channel, InterpolatedSample(lap, channel, centre), Language::German);
        }
    }
    int32_t first = -1;
    int32_t last = -1;
    for (const GraphColumn& column : columns)
    {
        if (column.sample >= 0)
        {
            first = first < 0 ? column.sample : first;
            last = column.sample;
        }
    }
    if (first < 0)
    {
        return;
    }
    const CourseMaps maps;
    const std::vector<TrackPoint> section =
        track.Section(track.MainNode(lap.node[static_cast<size_t>(first)]),
                      track.MainNode(lap.node[static_cast<size_t>(last)]));
    for (size_t i = 1; i < section.size(); ++i)
    {
        const MapPoint a = maps.Project(8, section[i - 1].x, section[i - 1].z);
        const MapPoint b = maps.Project(8, section[i].x, section[i].z);
        PlotLine(frame, screen, a.x, a.y, b.x, b.y, 0xFFFF);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TelemetryTrack track = GeneratedTrack();
    static const auto lap = std::make_unique<LapRecord>();
    static std::vector<uint16_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    if (!LoadLapFile(std::span(data, size), *lap))
    {
        return 0;
    }
    PrepareLapAxes(*lap);
    const auto count = static_cast<size_t>(lap->sampleCount);
    for (const bool distance : {false, true})
    {
        GraphWindow window;
        window.rangeMax = distance ? LapLength(*lap) : LapDuration(*lap);
        const std::span<const float> axis =
            std::span(distance ? lap->distance : lap->raceTime).first(count);
        for (const float xZoom : {1.0f, 0.02f})
        {
            window.xZoom = xZoom;
            window.Pan(size % 7 == 0 ? -1000 : 200, 40);
            Plot(*lap, window, LayoutColumns(window, axis), track, pixels);
        }
    }
    return 0;
}
