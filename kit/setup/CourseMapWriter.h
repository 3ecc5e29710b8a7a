#pragma once

// "course.dat" of the telemetry screen: 20 map records of 16 bytes, one per circuit number,
// and a map for a circuit chosen so that its line fills the map area of the screen.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "setup/telemetry/CourseMaps.h"

namespace kit
{
std::vector<uint8_t> StoreCourseMaps(std::span<const CourseMapRecord, CourseMaps::kRecords> maps);

struct GroundPoint
{
    float x;
    float z;
};

// Turned by the angle, scaled and placed so that the points' bounding box lies inside the map
// area x 214..639, y 335..479 with a margin.
CourseMapRecord FitCourseMap(std::span<const GroundPoint> points, float angle);
}  // namespace kit
