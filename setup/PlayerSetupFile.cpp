#include "setup/PlayerSetupFile.h"

#include <string_view>

#include "race/RaceContext.h"
#include "setup/SetupFiles.h"

namespace
{
constexpr std::string_view kLastSetupFileName = "setup.tmp";
}

bool SerializeBikeSetup(bool store)
{
    const uint32_t rider = g_playerRider;
    if (rider >= kRiderCount)
    {
        return false;
    }
    BikeSetup& setup = g_bikes[rider].setup;
    return store ? WriteSetupFile(kLastSetupFileName, setup)
                 : ReadSetupFile(kLastSetupFileName, setup);
}

bool LoadPlayerBikeSetup(uint32_t rider)
{
    g_playerRider = rider;
    return SerializeBikeSetup(false);
}
