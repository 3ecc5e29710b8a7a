#include "setup/telemetry/TelemetryTrack.h"

#include <optional>
#include <string>

#include "core/archive/DAFile.h"
#include "race/RacingLine.h"
#include "race/RacingLineFile.h"
#include "race/StandingsHeadRecord.h"

namespace
{
constexpr int64_t kSteps = 256;  // a node's 256ths
}

TelemetryTrack::TelemetryTrack() = default;
TelemetryTrack::~TelemetryTrack() = default;
TelemetryTrack::TelemetryTrack(TelemetryTrack&&) noexcept = default;
TelemetryTrack& TelemetryTrack::operator=(TelemetryTrack&&) noexcept = default;

bool TelemetryTrack::Load(CprArchive* archive, std::string_view circuitName, uint32_t bikeClass)
{
    m_line.reset();
    const std::optional<std::vector<uint8_t>> bytes =
        ReadWholeIfPresent(archive, RacingLine::MakeFileName(circuitName, bikeClass));
    if (!bytes)
    {
        return false;
    }
    auto line = std::make_unique<RacingLine>();
    StandingsHeadRecord head;
    if (!DecodeRacingLineFile(*bytes, *line, head) || !IsUsableRacingLine(*line, head))
    {
        return false;
    }
    m_line = std::move(line);
    return true;
}

void TelemetryTrack::Clear()
{
    m_line.reset();
}

int32_t TelemetryTrack::MainLapNodes() const
{
    return m_line != nullptr ? m_line->pitLaneFirstNode : 0;
}

int32_t TelemetryTrack::MainNode(uint16_t node) const
{
    if (m_line == nullptr || node >= m_line->nodeCount)
    {
        return kNoNode;
    }
    const int32_t main = m_line->CanonicalNode(node);
    return main < MainLapNodes() ? main : kNoNode;
}

// Between a main-lap node and the next one round the lap.
TrackPoint TelemetryTrack::At(int64_t position256) const
{
    const int64_t lap = MainLapNodes();
    const auto node = static_cast<size_t>(position256 / kSteps % lap);
    const auto next = static_cast<size_t>((position256 / kSteps + 1) % lap);
    const float t = static_cast<float>(position256 % kSteps) / static_cast<float>(kSteps);
    const RacingLineNode& a = m_line->nodes[node];
    const RacingLineNode& b = m_line->nodes[next];
    return {a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t};
}

std::vector<TrackPoint> TelemetryTrack::Section(int32_t first, int32_t last) const
{
    const int32_t lap = MainLapNodes();
    if (first < 0 || last < 0 || first >= lap || last >= lap)
    {
        return {};
    }
    const int64_t nodes = ((last - first) % lap + lap) % lap;
    const int64_t segments = nodes < kSectionSegments ? nodes : kSectionSegments;
    const int64_t start = int64_t{first} * kSteps;
    std::vector<TrackPoint> points;
    points.reserve(static_cast<size_t>(segments) + 1);
    for (int64_t k = 0; k <= segments; ++k)
    {
        const int64_t offset = segments > 0 ? nodes * kSteps * k / segments : 0;
        points.push_back(At(start + offset));
    }
    return points;
}

std::vector<TrackPoint> TelemetryTrack::MainLap() const
{
    std::vector<TrackPoint> points;
    for (int32_t node = 0; node <= MainLapNodes() && MainLapNodes() > 0; ++node)
    {
        points.push_back(At(int64_t{node} * kSteps));
    }
    return points;
}
