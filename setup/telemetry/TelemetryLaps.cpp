#include "setup/telemetry/TelemetryLaps.h"

#include "core/files/FileSystem.h"
#include "race/SimMath.h"
#include "race/laps/LapFile.h"

OfferedLaps FindOfferedLaps()
{
    OfferedLaps offered;
    while (offered.count < OfferedLaps::kMaxCounted &&
           files::IsFile(SessionLapPath(static_cast<uint32_t>(offered.count + 1))))
    {
        ++offered.count;
    }
    offered.lapOffset = std::max(offered.count - OfferedLaps::kMaxShown, 0);
    offered.lapsShown = std::min(offered.count, OfferedLaps::kMaxShown);
    return offered;
}

std::unique_ptr<LapRecord> LoadOfferedLap(const OfferedLaps& offered, int32_t entry)
{
    if (entry < 0 || entry >= offered.lapsShown)
    {
        return nullptr;
    }
    auto lap = std::make_unique<LapRecord>();
    if (!ReadLapFile(SessionLapPath(static_cast<uint32_t>(offered.lapOffset + 1 + entry)), *lap))
    {
        return nullptr;
    }
    PrepareLapAxes(*lap);
    return lap;
}

void PrepareLapAxes(LapRecord& lap)
{
    const auto n = static_cast<size_t>(lap.sampleCount);
    if (n == 0)
    {
        return;
    }
    const float start = lap.raceTime[0];
    float distance = 0.0f;
    lap.distance[0] = 0.0f;
    for (size_t i = 0; i < n; ++i)
    {
        if (i > 0)
        {
            const float dx = lap.groundX[i] - lap.groundX[i - 1];
            const float dz = lap.groundZ[i] - lap.groundZ[i - 1];
            distance += sim::Sqrt(dx * dx + dz * dz);
            lap.distance[i] = distance;
        }
        lap.raceTime[i] -= start;
    }
}

float LapDuration(const LapRecord& lap)
{
    return lap.sampleCount > 0 ? lap.raceTime[static_cast<size_t>(lap.sampleCount - 1)] : 0.0f;
}

float LapLength(const LapRecord& lap)
{
    return lap.sampleCount > 0 ? lap.distance[static_cast<size_t>(lap.sampleCount - 1)] : 0.0f;
}
