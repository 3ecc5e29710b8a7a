#include "kit/setup/DemoTelemetry.h"

#include <array>
#include <optional>
#include <vector>

#include "kit/race/DemoRace.h"
#include "kit/setup/CourseMapWriter.h"
#include "kit/setup/FlatTrackWriter.h"
#include "kit/setup/TelemetryPictures.h"
#include "setup/telemetry/TelemetryFiles.h"

namespace kit
{
namespace
{
bool AddCourseMaps(CprWriter& menu, const GeneratedCircuit& circuit, std::string& error)
{
    std::vector<GroundPoint> points;
    for (size_t node = 0; node < circuit.line->nodeCount; ++node)
    {
        points.push_back({circuit.line->nodes[node].x, circuit.line->nodes[node].z});
    }
    std::array<CourseMapRecord, CourseMaps::kRecords> maps{};
    maps[static_cast<size_t>(CircuitId::ShahAlam)] = FitCourseMap(points, 0.0f);
    maps[static_cast<size_t>(CircuitId::Nuerburgring)] = {0.58f, 0.16f, 475, 429};
    return menu.Add(kCourseMapsName, StoreCourseMaps(maps), MemberStorage::Smaller, error);
}
}  // namespace

bool AddCircuitTelemetry(CprWriter& menu, std::string_view circuitName,
                         const GeneratedCircuit& circuit, std::string& error)
{
    return menu.Add(telemetry_files::FlatTrackObject(circuitName),
                    WriteObjectFile(FlatTrackMesh(circuit.ground)), MemberStorage::Smaller,
                    error) &&
           menu.Add(telemetry_files::TrackPictures(circuitName), FlatTrackPictures(),
                    MemberStorage::Smaller, error) &&
           AddTelemetryBackgrounds(menu, circuitName, error);
}

bool AddDemoTelemetry(DemoArchives& archives, std::string& error)
{
    const std::optional<GeneratedCircuit> circuit =
        GenerateCircuit(DemoCircuitShape(), BikeClass::Class125, error);
    if (!circuit)
    {
        return false;
    }
    CprWriter& menu = archives.menu;
    return AddCourseMaps(menu, *circuit, error) &&
           AddCircuitTelemetry(menu, kDemoRaceCircuitName, *circuit, error) &&
           AddSlotLabels(menu, error) && AddPulldowns(menu, error) &&
           AddChannelIcons(menu, Language::German, error) &&
           AddChannelIcons(archives.englishMenu, Language::English, error) &&
           AddButtonFaces(menu, Language::German, error) &&
           AddButtonFaces(archives.englishMenu, Language::English, error);
}
}  // namespace kit
