#include "program/ClassRiderNames.h"

#include <string>

#include "core/files/FileSystem.h"
#include "race/RiderProfileFile.h"

namespace
{
std::array<NetName, kRiderCount> ReadNames(BikeClass bikeClass)
{
    std::array<NetName, kRiderCount> names{};
    const std::optional<std::vector<uint8_t>> bytes =
        files::ReadAll("Bikedaten/Fahrerdaten" + std::to_string(ToIndex(bikeClass)) + ".tst");
    std::array<RiderProfile, kRiderCount> profiles;
    const int count = bytes ? DecodeRiderProfiles(*bytes, bikeClass, profiles) : -1;
    for (int rider = 0; rider < count; ++rider)
    {
        names[rider] = NetName(profiles[rider].displayNames[ToIndex(bikeClass)]);
    }
    return names;
}
}  // namespace

NetName ClassRiderNames::Of(uint32_t rider, BikeClass bikeClass) const
{
    const size_t classIndex = ToIndex(bikeClass);
    if (rider >= kRiderCount || classIndex >= kBikeClassCount)
    {
        return NetName();
    }
    const std::lock_guard lock(mutex_);
    std::optional<Names>& names = names_[classIndex];
    if (!names)
    {
        names = ReadNames(bikeClass);
    }
    return (*names)[rider];
}
