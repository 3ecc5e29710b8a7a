#include "setup/telemetry/CourseMaps.h"

#include <algorithm>
#include <cmath>

#include <bit>

#include "core/util/LittleEndian.h"
#include "race/SimMath.h"

namespace
{
const CourseMapRecord kEmptyMap{};

int32_t ScreenCoordinate(double value)
{
    // Far off the map for points the table throws away, and for no number at all (a damaged
    // lap's position); never an overflowing conversion.
    constexpr double kFar = 1.0e6;
    const double whole = std::trunc(value);
    return static_cast<int32_t>(std::isnan(whole) ? kFar : std::clamp(whole, -kFar, kFar));
}
}  // namespace

CourseMaps::CourseMaps()
{
    m_records[8] = {0.58f, 0.16f, 475, 429};
}

bool CourseMaps::Load(std::span<const uint8_t> bytes)
{
    if (bytes.size() != kFileSize)
    {
        return false;
    }
    std::array<CourseMapRecord, kRecords> loaded{};
    for (size_t i = 0; i < kRecords; ++i)
    {
        const uint8_t* record = bytes.data() + i * kRecordSize;
        loaded[i] = {std::bit_cast<float>(LoadLe32(record)),
                     std::bit_cast<float>(LoadLe32(record + 4)),
                     static_cast<int32_t>(LoadLe32(record + 8)),
                     static_cast<int32_t>(LoadLe32(record + 12))};
        if (!std::isfinite(loaded[i].angle) || !std::isfinite(loaded[i].scale))
        {
            return false;
        }
    }
    m_records = loaded;
    return true;
}

const CourseMapRecord& CourseMaps::Record(uint32_t circuit) const
{
    return circuit < kRecords ? m_records[circuit] : kEmptyMap;
}

MapPoint CourseMaps::Project(uint32_t circuit, float x, float z) const
{
    const CourseMapRecord& map = Record(circuit);
    const float c = sim::Cos(map.angle);
    const float s = sim::Sin(map.angle);
    const double mapX = static_cast<double>((x * c + z * s) * map.scale) + map.originX;
    const double mapY = map.originY - static_cast<double>((z * c - x * s) * map.scale);
    return {ScreenCoordinate(mapX), ScreenCoordinate(mapY)};
}
