#include "frontend/season/RiderShuffle.h"

void PrepareRiderProfiles(const MenuState& settings, GameMode mode, BikeClass bikeClass,
                          std::array<RiderProfile, kRiderCount>& profiles)
{
    const uint8_t level = settings.U8At(MenuState::kOpponentLevelOffset);
    if (level == kOpponentsIdentical || mode == GameMode::NetworkRace)
    {
        for (RiderProfile& profile : profiles)
        {
            profile.SetDefaults();
        }
        return;
    }
    if (level != kOpponentsRandom)
    {
        return;
    }
    const uint32_t riders = RidersOfClass(bikeClass);
    const uint32_t step = settings.U16At(MenuState::kShuffleSeedOffset);
    uint32_t i = 4;
    uint32_t j = step;
    for (uint32_t round = 0; round < riders; ++round)
    {
        i = (i + step) % riders;
        j = (j + step) % riders;
        // Named twice, the three-way exchange is a swap of the two.
        profiles[i].SwapParameters(profiles[j], profiles[j]);
    }
}
