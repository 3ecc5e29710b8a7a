#include "kit/setup/DemoTelemetry.h"

#include <optional>
#include <vector>

#include "kit/race/DemoRace.h"
#include "kit/setup/CourseMapWriter.h"

namespace kit
{
bool AddDemoCourseMaps(DemoArchives& archives, std::string& error)
{
    const std::optional<GeneratedCircuit> circuit =
        GenerateCircuit(DemoCircuitShape(), BikeClass::Class125, error);
    if (!circuit)
    {
        return false;
    }
    std::vector<GroundPoint> points;
    for (size_t node = 0; node < circuit->line->nodeCount; ++node)
    {
        points.push_back({circuit->line->nodes[node].x, circuit->line->nodes[node].z});
    }
    std::array<CourseMapRecord, CourseMaps::kRecords> maps{};
    maps[static_cast<size_t>(CircuitId::ShahAlam)] = FitCourseMap(points, 0.0f);
    maps[static_cast<size_t>(CircuitId::Nuerburgring)] = {0.58f, 0.16f, 475, 429};
    const std::vector<uint8_t> bytes = StoreCourseMaps(maps);
    return archives.menu.Add(kCourseMapsName, bytes, MemberStorage::Smaller, error);
}
}  // namespace kit
