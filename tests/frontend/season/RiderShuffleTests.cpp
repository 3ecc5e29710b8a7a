#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "frontend/season/RiderShuffle.h"

namespace
{
std::array<RiderProfile, kRiderCount> LoadedProfiles()
{
    std::array<RiderProfile, kRiderCount> profiles;
    for (size_t rider = 0; rider < profiles.size(); ++rider)
    {
        profiles[rider].SetDefaults();
        profiles[rider].paceBase = 0.9f + 0.005f * static_cast<float>(rider);
    }
    return profiles;
}

std::vector<float> Paces(const std::array<RiderProfile, kRiderCount>& profiles)
{
    std::vector<float> paces;
    for (const RiderProfile& profile : profiles)
    {
        paces.push_back(profile.paceBase);
    }
    return paces;
}

MenuState Level(uint8_t level, uint16_t seed)
{
    MenuState settings;
    settings.SetU8At(MenuState::kOpponentLevelOffset, level);
    settings.SetU16At(MenuState::kShuffleSeedOffset, seed);
    return settings;
}

TEST(RiderShuffle, IdenticalRidersAndNetworkRacesRideTheDefaults)
{
    for (const auto& [level, mode] : {std::pair{kOpponentsIdentical, GameMode::Race},
                                      std::pair{kOpponentsRealistic, GameMode::NetworkRace}})
    {
        std::array<RiderProfile, kRiderCount> profiles = LoadedProfiles();
        PrepareRiderProfiles(Level(level, 7), mode, BikeClass::Class250, profiles);
        EXPECT_EQ(Paces(profiles), std::vector<float>(kRiderCount, 1.0f));
    }
}

TEST(RiderShuffle, RealisticRidersKeepTheirOwn)
{
    std::array<RiderProfile, kRiderCount> profiles = LoadedProfiles();
    PrepareRiderProfiles(Level(kOpponentsRealistic, 7), GameMode::Race, BikeClass::Class250,
                         profiles);
    EXPECT_EQ(Paces(profiles), Paces(LoadedProfiles()));
}

TEST(RiderShuffle, RandomRidersShuffleTheClasssParametersBySeed)
{
    const std::vector<float> loaded = Paces(LoadedProfiles());
    std::array<RiderProfile, kRiderCount> profiles = LoadedProfiles();
    PrepareRiderProfiles(Level(kOpponentsRandom, 3), GameMode::GrandPrix, BikeClass::Class125,
                         profiles);
    std::vector<float> shuffled = Paces(profiles);
    EXPECT_NE(shuffled, loaded);
    EXPECT_EQ(shuffled[25], loaded[25]) << "no rider of the 125 class";
    std::ranges::sort(shuffled);
    EXPECT_EQ(shuffled, loaded) << "the same parameters, among other riders";

    // Seed 0 exchanges riders 4 and 0 once per rider: 25 times in the 125 class, which leaves
    // them exchanged, 26 times in the 250 class, which leaves them as they were.
    profiles = LoadedProfiles();
    PrepareRiderProfiles(Level(kOpponentsRandom, 0), GameMode::GrandPrix, BikeClass::Class125,
                         profiles);
    EXPECT_EQ(profiles[0].paceBase, loaded[4]);
    EXPECT_EQ(profiles[4].paceBase, loaded[0]);
    profiles = LoadedProfiles();
    PrepareRiderProfiles(Level(kOpponentsRandom, 0), GameMode::GrandPrix, BikeClass::Class250,
                         profiles);
    EXPECT_EQ(Paces(profiles), loaded);
}
}  // namespace
