#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "frontend/season/SessionField.h"
#include "frontend/season/WeekendStart.h"

namespace
{
// Rider 25 rates best, then 24 ... rider 0 worst; riders 10 and 11 level.
std::array<float, 26> Ratings()
{
    std::array<float, 26> rating{};
    for (uint32_t rider = 0; rider < rating.size(); ++rider)
    {
        rating[rider] = 0.8f + 0.01f * static_cast<float>(rider);
    }
    rating[11] = rating[10];
    return rating;
}

const std::array<float, 26> kRatings = Ratings();

MenuState SingleRace(uint32_t opponents, uint32_t gridPosition)
{
    MenuState settings;
    settings.SetU32At(MenuState::kOpponentsOffset, opponents);
    settings.SetU32At(MenuState::kGridPositionOffset, gridPosition);
    return settings;
}

TEST(SessionField, DifficultyOfTheLevel)
{
    EXPECT_EQ(DifficultyOfLevel(0), 2u);
    EXPECT_EQ(DifficultyOfLevel(1), 1u);
    EXPECT_EQ(DifficultyOfLevel(2), 0u);
}

TEST(SessionField, SingleRaceFieldFromOpponentsAndTheChosenPosition)
{
    struct Case
    {
        uint32_t opponents;
        uint32_t gridPosition;
        BikeClass bikeClass;
        uint32_t fieldSize;
    };
    for (const Case& c :
         {Case{25, 1, BikeClass::Class125, 25}, Case{25, 1, BikeClass::Class250, 26},
          Case{4, 10, BikeClass::Class500, 10}, Case{4, 3, BikeClass::Class500, 5},
          Case{0, 1, BikeClass::Class500, 5}, Case{4, 40, BikeClass::Class125, 25}})
    {
        EXPECT_EQ(SingleRaceGrid(SingleRace(c.opponents, c.gridPosition), c.bikeClass, 0, kRatings)
                      .fieldSize,
                  c.fieldSize)
            << c.opponents << " opponents, position " << c.gridPosition;
    }
}

TEST(SessionField, SingleRaceGridAroundThePlayersPosition)
{
    for (const uint32_t chosen : {1u, 3u, 25u})
    {
        const SessionGrid grid =
            SingleRaceGrid(SingleRace(24, chosen), BikeClass::Class125, 5, kRatings);
        EXPECT_EQ(grid.positions[5], static_cast<int32_t>(chosen));
        std::vector<int32_t> taken(grid.positions.begin(), grid.positions.begin() + 25);
        std::ranges::sort(taken);
        std::vector<int32_t> expected(25);
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(taken, expected) << "every position once, from 1, chosen " << chosen;
        EXPECT_EQ(grid.positions[24], chosen == 1 ? 2 : 1) << "the best computer rider";
        EXPECT_LT(grid.positions[10], grid.positions[11]) << "level: the lower number first";
        EXPECT_EQ(grid.positions[25], 26) << "no rider of the class";
    }
}

TEST(SessionField, TestRideThePlayerAloneFirst)
{
    const SessionGrid grid = TestRideGrid(7);
    EXPECT_EQ(grid.fieldSize, 1u);
    EXPECT_EQ(grid.positions[7], 1);
    EXPECT_EQ(grid.positions[0], 2);
    EXPECT_EQ(grid.positions[25], 26);
}

TEST(SessionField, TrimmingLeavesTheRidersPastTheFieldOut)
{
    std::array<int32_t, 26> positions{};
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        positions[rider] = static_cast<int32_t>(rider) + 1;
    }
    std::swap(positions[2], positions[20]);  // rider 20 starts third, rider 2 21st
    std::array<uint32_t, 26> status{};
    status.fill(9);
    std::array<int16_t, 26> ranks{};
    ranks.fill(-1);

    const TrimmedField trimmed = TrimField(20, positions, status, ranks);
    EXPECT_EQ(status[2], kStatusNotTakingPart);
    EXPECT_EQ(ranks[2], -8);
    EXPECT_EQ(status[20], 9u);
    EXPECT_EQ(ranks[19], -1);
    EXPECT_EQ(trimmed.riderCount, 21u) << "up to rider 20, who rides";
    EXPECT_EQ(trimmed.leftOut, 1u);
    EXPECT_EQ(trimmed.startList[2], 20);
    EXPECT_EQ(trimmed.startList[20], 2);
}

LapHeader GhostHeader()
{
    LapHeader header{};
    header[static_cast<size_t>(LapHeaderWord::Circuit)] = 12;
    header[static_cast<size_t>(LapHeaderWord::BikeClass)] = 2;
    header[static_cast<size_t>(LapHeaderWord::Level)] = 1;
    header[static_cast<size_t>(LapHeaderWord::Rider)] = 4;
    header[static_cast<size_t>(LapHeaderWord::Weather)] = 2;
    header[static_cast<size_t>(LapHeaderWord::PressureMbar)] = 1003;
    header[static_cast<size_t>(LapHeaderWord::TemperatureC)] = 17;
    header[static_cast<size_t>(LapHeaderWord::HumidityPercent)] = 88;
    return header;
}

TEST(GhostSession, TheLapsSessionGoesIntoEverySlot)
{
    MenuState settings;
    BikeClass bikeClass = BikeClass::Class125;
    ASSERT_TRUE(TakeGhostSession(GhostHeader(), settings, bikeClass));
    EXPECT_EQ(bikeClass, BikeClass::Class500);
    EXPECT_EQ(settings.U32At(MenuState::kGameModeOffset), 6u);
    EXPECT_EQ(settings.U32At(MenuState::kCircuitOffset), 12u);
    EXPECT_EQ(settings.U8At(MenuState::kLevelOffset), 1);
    for (size_t slot = 0; slot < 4; ++slot)
    {
        EXPECT_EQ(settings.U8At(MenuState::kSessionWeatherOffset + slot), 2);
        EXPECT_EQ(settings.U8At(MenuState::kSessionHumidityOffset + slot), 88);
        EXPECT_EQ(settings.U8At(MenuState::kSessionTemperatureOffset + slot), 17);
        EXPECT_EQ(settings.U16At(MenuState::kSessionPressureOffset + 2 * slot), 1003);
    }
}

TEST(GhostSession, AHeaderNamingNothingValidIsRefused)
{
    for (const auto& [word, value] :
         std::vector<std::pair<LapHeaderWord, uint16_t>>{{LapHeaderWord::Circuit, 18},
                                                         {LapHeaderWord::BikeClass, 3},
                                                         {LapHeaderWord::Level, 3},
                                                         {LapHeaderWord::Weather, 3}})
    {
        LapHeader header = GhostHeader();
        header[static_cast<size_t>(word)] = value;
        MenuState settings;
        BikeClass bikeClass = BikeClass::Class125;
        EXPECT_FALSE(TakeGhostSession(header, settings, bikeClass)) << static_cast<int>(word);
        EXPECT_EQ(settings, MenuState());
        EXPECT_EQ(bikeClass, BikeClass::Class125);
    }
}
}  // namespace
