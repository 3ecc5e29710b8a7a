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

std::string SetupFileName(BikeClass bikeClass, const std::string& suffix)
{
    return "Raddaten/" + std::string(kClassTexts[ToIndex(bikeClass)]) + suffix + ".rdf";
}

// A rider's own file is named by two characters of its profile; a rider without them has none.
std::optional<BikeSetup> ReadRiderSetup(CprArchive* archive, BikeClass bikeClass, char first,
                                        char second)
{
    if (first == '\0' || second == '\0')
    {
        return std::nullopt;
    }
    return ReadRideableSetup(archive, SetupFileName(bikeClass, std::string{first, second}));
}

bool IsComputerRiderStatus(uint32_t status)
{
    return status == 3 || status >= 5;
}

// The displacement tells the class a set-up was made for.
bool FitsClass(const BikeSetup& setup, BikeClass bikeClass)
{
    const float ccm = setup.displacementCcm;
    bool fits = false;
    switch (bikeClass)
    {
        case BikeClass::Class125:
            fits = ccm >= 0.0f && ccm <= 150.0f;
            break;
        case BikeClass::Class250:
            fits = ccm >= 200.0f && ccm <= 300.0f;
            break;
        case BikeClass::Class500:
            fits = ccm >= 350.0f;
            break;
    }
    return fits && IsRideableSetup(setup);
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

bool RaceContext::ReadClassStandard(CprArchive* menuArchive, BikeClass bikeClass)
{
    if (ToIndex(bikeClass) >= kBikeClassCount)
    {
        return false;
    }
    const std::optional<BikeSetup> standard =
        ReadRideableSetup(menuArchive, SetupFileName(bikeClass, "Std"));
    if (!standard)
    {
        return false;
    }
    classStandard = *standard;
    return true;
}

bool RaceContext::LoadClassBikeSetups(CprArchive* menuArchive, BikeClass bikeClass)
{
    if (!ReadClassStandard(menuArchive, bikeClass))
    {
        return false;
    }
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        const std::array<char, 2>& own = riderProfiles[rider].setupFileChars;
        bikes[rider].setup =
            ReadRiderSetup(menuArchive, bikeClass, own[0], own[1]).value_or(classStandard);
    }
    return true;
}

bool RaceContext::LoadSessionBikeSetups(CprArchive* menuArchive)
{
    const BikeClass bikeClass = current.bikeClass;
    if (!ReadClassStandard(menuArchive, bikeClass))
    {
        return false;
    }
    // Every machine of a network race rides the computer riders on the same set-up.
    const bool network = current.gameMode == GameMode::NetworkRace;
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        BikeRecord& bike = bikes[rider];
        if (!IsComputerRiderStatus(bike.raceStatus) && FitsClass(bike.setup, bikeClass))
        {
            continue;
        }
        const std::array<char, 2>& own = riderProfiles[rider].setupFileChars;
        const std::optional<BikeSetup> setup =
            network ? std::nullopt : ReadRiderSetup(menuArchive, bikeClass, own[0], own[1]);
        bike.setup = setup.value_or(classStandard);
    }
    return true;
}

bool RaceContext::LoadDefaultBikeSetups(CprArchive* menuArchive, BikeClass bikeClass)
{
    if (!ReadClassStandard(menuArchive, bikeClass))
    {
        return false;
    }
    for (size_t rider = 0; rider < kRiderCount; ++rider)
    {
        const char first = riderProfiles[rider].setupFileChars[0];
        bikes[rider].setup =
            ReadRiderSetup(menuArchive, bikeClass, first, '0').value_or(classStandard);
    }
    return true;
}
