#include "kit/race/DemoRace.h"

#include <optional>
#include <vector>

#include "content/CircuitTable.h"
#include "core/files/FileSystem.h"
#include "kit/race/CircuitChecks.h"
#include "kit/race/ClassSetups.h"
#include "kit/race/DemoCircuits.h"
#include "kit/race/DemoRiders.h"
#include "race/BikeSetupImage.h"
#include "race/CircuitRecords.h"
#include "race/RacingLineFile.h"
#include "race/RiderProfileFile.h"

namespace kit
{
namespace
{
constexpr const char* kClassTexts[kBikeClassCount] = {"125", "250", "500"};
constexpr uint32_t kOwnLinesOffset = 3;  // the hardest level's line files

bool WritePlainFile(const std::string& path, std::span<const uint8_t> bytes, std::string& error)
{
    if (!files::MakeDirectories(path.substr(0, path.rfind('/'))) ||
        !files::ReplaceAtomically(path, bytes))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

// The circuit's line for the class (the same at every level) and, once, its ground.
bool AddCircuit(DemoArchives& archives, const DemoCircuit& demo, BikeClass bikeClass,
                std::string& error)
{
    const std::optional<GeneratedCircuit> circuit = GenerateCircuit(demo.shape, bikeClass, error);
    if (!circuit)
    {
        error = std::string(demo.key) + ": " + error;
        return false;
    }
    const std::vector<std::string> problems = CheckCircuit(*circuit);
    if (!problems.empty())
    {
        error = std::string(demo.key) + " fails its checks: " + problems.front();
        return false;
    }
    const std::string stem = "Streckendaten/" + std::string(demo.key);
    const std::vector<uint8_t> line = EncodeRacingLineFile(*circuit->line, circuit->head);
    const uint32_t number = static_cast<uint32_t>(ToIndex(bikeClass));
    if (!archives.data.Add(stem + std::to_string(number) + ".wgf", line, MemberStorage::Smaller,
                           error) ||
        !archives.data.Add(stem + std::to_string(number + kOwnLinesOffset) + ".wgf", line,
                           MemberStorage::Smaller, error))
    {
        return false;
    }
    const content::CircuitRow* row = content::FindCircuit(demo.key);
    return bikeClass != BikeClass::Class125 ||
           (row != nullptr && archives.objects.Add(content::CollisionModelName(*row),
                                                   WriteTrackCollisionFile(circuit->ground),
                                                   MemberStorage::Smaller, error));
}

bool AddClassFiles(DemoArchives& archives, const std::string& directory, BikeClass bikeClass,
                   std::string& error)
{
    const size_t index = ToIndex(bikeClass);
    const std::string riders =
        directory + "/Bikedaten/Fahrerdaten" + std::to_string(index) + ".tst";
    return archives.menu.Add(std::string("Raddaten/") + kClassTexts[index] + "Std.rdf",
                             EncodeBikeSetup(ClassStandardSetup(bikeClass)), MemberStorage::Smaller,
                             error) &&
           WritePlainFile(riders, EncodeRiderProfiles(DemoRiderProfiles(bikeClass)), error);
}
}  // namespace

CircuitShape DemoCircuitShape()
{
    CircuitShape shape;
    shape.lapLengthMetres = 3505.0f;
    shape.bends = 6;
    shape.bendRadiusMetres = 45.0f;
    shape.fullRaceLaps = 12;
    return shape;
}

bool AddDemoRace(DemoArchives& archives, const std::string& directory, std::string& error)
{
    for (const BikeClass bikeClass :
         {BikeClass::Class125, BikeClass::Class250, BikeClass::Class500})
    {
        for (const DemoCircuit& circuit : DemoCircuits())
        {
            if (!AddCircuit(archives, circuit, bikeClass, error))
            {
                return false;
            }
        }
        if (!AddClassFiles(archives, directory, bikeClass, error))
        {
            return false;
        }
    }
    return WritePlainFile(directory + "/tempdaten/system.cpr", CircuitRecords().Encode(), error);
}
}  // namespace kit
