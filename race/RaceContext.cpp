#include "race/RaceContext.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/archive/DAFile.h"
#include "core/files/FileSystem.h"
#include "race/BikeSetupImage.h"
#include "race/RiderProfileFile.h"

RaceContext g_raceContext;

namespace
{
constexpr const char* kClassTexts[kBikeClassCount] = {"125", "250", "500"};

std::optional<BikeSetup> ReadRideableSetup(CprArchive* archive, const std::string& name)
{
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeIfPresent(archive, name);
    std::optional<BikeSetup> setup = bytes ? DecodeBikeSetup(*bytes) : std::nullopt;
    return setup && IsRideableSetup(*setup) ? setup : std::nullopt;
}
}  // namespace

RaceContext::RaceContext(std::string recordFilePath) : race(std::move(recordFilePath))
{
    race.Attach(*this);
    lapRecord.InitRecording();
    standings.Attach(bikes, race, lapRecord);
    standings.SetHooks(&attrition);
    attrition.SetHazardZones(&hazardZones);
    attrition.SetRandomTable(randomTable.words);
}

bool RaceContext::LoadRacingLine(CprArchive* dataArchive)
{
    return race.LoadRacingLine(dataArchive, current, standings.head);
}

bool RaceContext::LoadRiderProfiles()
{
    const std::string name =
        "Bikedaten/Fahrerdaten" + std::to_string(ToIndex(current.bikeClass)) + ".tst";
    const std::optional<std::vector<uint8_t>> bytes = files::ReadAll(name);
    const int count = bytes ? DecodeRiderProfiles(*bytes, current.bikeClass, riderProfiles) : -1;
    if (count < 0)
    {
        return false;
    }
    race.riderCount = static_cast<uint16_t>(count);
    return true;
}

bool RaceContext::LoadClassBikeSetups(CprArchive* menuArchive, BikeClass bikeClass)
{
    if (ToIndex(bikeClass) >= kBikeClassCount)
    {
        return false;
    }
    const std::string classText = kClassTexts[ToIndex(bikeClass)];
    const std::optional<BikeSetup> standard =
        ReadRideableSetup(menuArchive, "Raddaten/" + classText + "Std.rdf");
    if (!standard)
    {
        return false;
    }
    classStandard = *standard;
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        const std::array<char, 2>& own = riderProfiles[rider].setupFileChars;
        std::optional<BikeSetup> setup;
        if (own[0] != '\0' && own[1] != '\0')
        {
            setup =
                ReadRideableSetup(menuArchive, "Raddaten/" + classText + own[0] + own[1] + ".rdf");
        }
        bikes[rider].setup = setup.value_or(classStandard);
    }
    return true;
}
