#pragma once

// The circuit's racing line as the telemetry screen's map draws it: the main lap between two
// of its nodes, wrapping at the lap's end, never through the pit lane or a parallel line.
// A lap sample's node anywhere on the line stands for the main-lap node beside it.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

class CprArchive;
class RacingLine;

struct TrackPoint
{
    float x = 0.0f;
    float z = 0.0f;
};

class TelemetryTrack
{
public:
    static constexpr int32_t kNoNode = -1;
    // Segments of a long section; a shorter one has a segment per node.
    static constexpr int32_t kSectionSegments = 100;

    TelemetryTrack();
    ~TelemetryTrack();
    TelemetryTrack(TelemetryTrack&&) noexcept;
    TelemetryTrack& operator=(TelemetryTrack&&) noexcept;

    // The racing-line file of the circuit and class from the archive. A missing file, or one
    // the race could not run on, leaves no line: false.
    bool Load(CprArchive* archive, std::string_view circuitName, uint32_t bikeClass);
    void Clear();
    bool HasLine() const { return m_line != nullptr; }

    // The main-lap node beside a sample's node; kNoNode without a line or for a node that is
    // not on it.
    int32_t MainNode(uint16_t node) const;

    // The points of the main lap from the first node to the last, in steps of whole 256ths of a
    // node: one node per segment below kSectionSegments nodes, else kSectionSegments segments.
    // Empty when either node is kNoNode or beyond the main lap.
    std::vector<TrackPoint> Section(int32_t first, int32_t last) const;
    // Where a main-lap node lies; nothing is asked of a node MainNode did not give.
    TrackPoint Point(int32_t mainNode) const { return At(int64_t{mainNode} * 256); }
    // The whole main lap, a point per node and the first again at the end.
    std::vector<TrackPoint> MainLap() const;

private:
    int32_t MainLapNodes() const;
    TrackPoint At(int64_t position256) const;

    std::unique_ptr<RacingLine> m_line;
};
