#include "race/RiderProfileFile.h"

#include "core/util/LittleEndian.h"

namespace
{
constexpr size_t kCountSize = 2;
}  // namespace

int DecodeRiderProfiles(std::span<const uint8_t> bytes, BikeClass bikeClass,
                        std::span<RiderProfile, kRiderCount> profiles)
{
    if (bytes.size() < kCountSize)
    {
        return -1;
    }
    const uint16_t count = LoadLe16(bytes.data());
    if (count > kRiderCount || bytes.size() < kCountSize + count * RiderProfile::kStoredSize)
    {
        return -1;
    }
    for (uint16_t rider = 0; rider < count; ++rider)
    {
        RiderProfile& profile = profiles[rider];
        profile.Load(bytes.subspan(kCountSize + rider * RiderProfile::kStoredSize));
        profile.TakeStoredForClass(bikeClass);
    }
    return count;
}

std::vector<uint8_t> EncodeRiderProfiles(std::span<const RiderProfile> profiles)
{
    std::vector<uint8_t> bytes(kCountSize + profiles.size() * RiderProfile::kStoredSize);
    StoreLe16(bytes.data(), static_cast<uint16_t>(profiles.size()));
    for (size_t rider = 0; rider < profiles.size(); ++rider)
    {
        profiles[rider].Store(std::span(bytes)
                                  .subspan(kCountSize + rider * RiderProfile::kStoredSize)
                                  .first<RiderProfile::kStoredSize>());
    }
    return bytes;
}
