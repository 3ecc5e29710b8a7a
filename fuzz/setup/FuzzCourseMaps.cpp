// Takes the input as "course.dat" and projects points through every map: a table that loads
// holds finite rotations and scales, and no projection overflows.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "setup/telemetry/CourseMaps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CourseMaps maps;
    const bool loaded = maps.Load(std::span(data, size));
    for (uint32_t circuit = 0; circuit <= CourseMaps::kRecords; ++circuit)
    {
        const CourseMapRecord& map = maps.Record(circuit);
        if (loaded && (!std::isfinite(map.angle) || !std::isfinite(map.scale)))
        {
            std::abort();
        }
        for (const float at : {0.0f, -5000.0f, 1.0e7f})
        {
            const MapPoint p = maps.Project(circuit, at, -at);
            if (std::abs(p.x) > 1000000 || std::abs(p.y) > 1000000)
            {
                std::abort();
            }
        }
    }
    return 0;
}
