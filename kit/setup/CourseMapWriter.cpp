#include "kit/setup/CourseMapWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "core/util/LittleEndian.h"

namespace kit
{
std::vector<uint8_t> StoreCourseMaps(std::span<const CourseMapRecord, CourseMaps::kRecords> maps)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(CourseMaps::kFileSize);
    for (const CourseMapRecord& map : maps)
    {
        AppendLe32(bytes, std::bit_cast<uint32_t>(map.angle));
        AppendLe32(bytes, std::bit_cast<uint32_t>(map.scale));
        AppendLe32(bytes, static_cast<uint32_t>(map.originX));
        AppendLe32(bytes, static_cast<uint32_t>(map.originY));
    }
    return bytes;
}

CourseMapRecord FitCourseMap(std::span<const GroundPoint> points, float angle)
{
    constexpr float kLeft = 224.0f;
    constexpr float kTop = 345.0f;
    constexpr float kWidth = 405.0f;   // up to x 629
    constexpr float kHeight = 124.0f;  // up to y 469
    if (points.empty())
    {
        return {angle, 0.0f, static_cast<int32_t>(kLeft), static_cast<int32_t>(kTop)};
    }
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    float minU = std::numeric_limits<float>::max();
    float maxU = std::numeric_limits<float>::lowest();
    float minV = minU;
    float maxV = maxU;
    for (const GroundPoint& p : points)
    {
        const float u = p.x * c + p.z * s;  // map x per unit of scale
        const float v = p.z * c - p.x * s;  // map y upward per unit of scale
        minU = std::min(minU, u);
        maxU = std::max(maxU, u);
        minV = std::min(minV, v);
        maxV = std::max(maxV, v);
    }
    const float scale =
        std::min(kWidth / std::max(maxU - minU, 1.0f), kHeight / std::max(maxV - minV, 1.0f));
    // Centred in the area: x = u s + X, y = Y - v s.
    const float centreU = (minU + maxU) * 0.5f;
    const float centreV = (minV + maxV) * 0.5f;
    const auto originX = static_cast<int32_t>(std::lround(kLeft + kWidth * 0.5f - centreU * scale));
    const auto originY = static_cast<int32_t>(std::lround(kTop + kHeight * 0.5f + centreV * scale));
    return {angle, scale, originX, originY};
}
}  // namespace kit
