#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/game/CurrentRace.h"
#include "frontend/season/ChampionshipTable.h"
#include "race/RaceContext.h"
#include "tests/support/CaseNames.h"

namespace
{
constexpr uint32_t kPlayer = 20;
constexpr uint32_t kRival = 3;

MenuState EmptyChampionship()
{
    MenuState settings;
    ClearChampionship(settings);
    return settings;
}

TEST(ChampionshipPoints, EveryPlaceByteScoresAsTheTableSays)
{
    const std::vector<std::pair<uint8_t, uint32_t>> cases = {
        {0, 25}, {1, 20}, {2, 16}, {3, 13},  {4, 11},        {5, 10},       {6, 9},
        {7, 8},  {8, 7},  {9, 6},  {10, 5},  {11, 4},        {12, 3},       {13, 2},
        {14, 1}, {15, 0}, {25, 0}, {100, 0}, {kUnplaced, 0}, {kNotRaced, 0}};
    for (const auto& [place, points] : cases)
    {
        EXPECT_EQ(PointsOfPlace(place), points) << "place byte " << int{place};
    }
}

// Mode 3 at the last round, the player against one rival, everybody else not raced.
struct LeaderCase
{
    std::string name;
    std::vector<std::pair<size_t, uint8_t>> player;
    std::vector<std::pair<size_t, uint8_t>> rival;
    bool playerWins;
};

class ChampionshipLeaderTest : public testing::TestWithParam<LeaderCase>
{
};

TEST_P(ChampionshipLeaderTest, PlayerWinsExactlyWhenAheadOnTheRules)
{
    const LeaderCase& c = GetParam();
    MenuState settings = EmptyChampionship();
    for (const auto& [circuit, place] : c.player)
    {
        SetChampionshipPlace(settings, kPlayer, circuit, place);
    }
    for (const auto& [circuit, place] : c.rival)
    {
        SetChampionshipPlace(settings, kRival, circuit, place);
    }
    EXPECT_EQ(IsChampionshipWon(settings, GameMode::Championship, 14, kPlayer), c.playerWins);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ChampionshipLeaderTest,
    testing::Values(
        LeaderCase{"more points", {{0, 0}}, {{0, 1}}, true},
        LeaderCase{"level on points the better best place",
                   {{0, 0}, {1, 15}},
                   {{0, 1}, {1, 13}, {2, 12}},
                   true},
        LeaderCase{"level on both the better place at the current circuit",
                   {{0, 0}, {14, 2}},
                   {{0, 2}, {14, 0}},
                   false},
        LeaderCase{"place 15 scores the one point that wins", {{0, 14}}, {}, true},
        LeaderCase{"place 16 scores nothing", {{0, 15}}, {{0, 14}}, false},
        LeaderCase{"unplaced beats not raced on the best place", {{0, kUnplaced}}, {}, true},
        LeaderCase{"fewer points lose whatever the best place", {{0, 0}}, {{1, 1}, {2, 1}}, false}),
    case_names::ByName{});

TEST(ChampionshipLeader, RidersLevelOnEveryCountGoToTheLowerNumber)
{
    MenuState settings = EmptyChampionship();
    for (const uint32_t rider : {9u, 4u, 17u})
    {
        SetChampionshipPlace(settings, rider, 0, 2);
        SetChampionshipPlace(settings, rider, 14, 5);
    }
    EXPECT_EQ(ChampionshipLeader(settings, 14), 4u);
    EXPECT_TRUE(IsChampionshipWon(settings, GameMode::Championship, 14, 4));
    EXPECT_FALSE(IsChampionshipWon(settings, GameMode::Championship, 14, 9));
}

TEST(ChampionshipWon, DecidedOnlyWhenTheChampionshipIsOver)
{
    MenuState settings = EmptyChampionship();
    SetChampionshipPlace(settings, kPlayer, 0, 0);
    struct Case
    {
        GameMode mode;
        size_t circuit;
        bool decided;
    };
    for (const Case& c :
         {Case{GameMode::TestRide, 14, false}, Case{GameMode::Race, 14, false},
          Case{GameMode::GrandPrix, 14, false}, Case{GameMode::GhostRace, 14, false},
          Case{GameMode::Championship, 13, false}, Case{GameMode::Championship, 14, true},
          Case{GameMode::ChampionshipSeries, 14, true},
          Case{GameMode::ChampionshipSeries, 17, true}})
    {
        EXPECT_EQ(IsChampionshipWon(settings, c.mode, c.circuit, kPlayer), c.decided)
            << "mode " << ToIndex(c.mode) << " circuit " << c.circuit;
    }
}

TEST(ChampionshipWon, NetworkSeriesEndsWithItsCircuitList)
{
    MenuState settings = EmptyChampionship();
    SetChampionshipPlace(settings, kPlayer, 5, 0);
    for (size_t entry = 0; entry < MenuState::kNetworkCircuitEntries; ++entry)
    {
        settings.SetI8At(MenuState::kNetworkCircuitsOffset + entry, -1);
    }
    settings.SetI8At(MenuState::kNetworkCircuitsOffset + 0, 2);
    settings.SetI8At(MenuState::kNetworkCircuitsOffset + 1, 5);

    settings.SetU32At(MenuState::kNetworkRaceIndexOffset, 0);
    EXPECT_FALSE(IsChampionshipWon(settings, GameMode::NetworkRace, 2, kPlayer));
    settings.SetU32At(MenuState::kNetworkRaceIndexOffset, 1);
    EXPECT_TRUE(IsChampionshipWon(settings, GameMode::NetworkRace, 5, kPlayer));

    // A full list ends after its eighteenth race.
    for (size_t entry = 0; entry < MenuState::kNetworkCircuitEntries; ++entry)
    {
        settings.SetI8At(MenuState::kNetworkCircuitsOffset + entry, 5);
    }
    settings.SetU32At(MenuState::kNetworkRaceIndexOffset, 17);
    EXPECT_FALSE(IsChampionshipWon(settings, GameMode::NetworkRace, 5, kPlayer));
    settings.SetU32At(MenuState::kNetworkRaceIndexOffset, 18);
    EXPECT_TRUE(IsChampionshipWon(settings, GameMode::NetworkRace, 5, kPlayer));
}

TEST(ChampionshipWon, TheGamesNetworkSeriesIsJudgedAtItsListsCircuit)
{
    g_menuState = EmptyChampionship();
    for (size_t entry = 0; entry < MenuState::kNetworkCircuitEntries; ++entry)
    {
        g_menuState.SetI8At(MenuState::kNetworkCircuitsOffset + entry, -1);
    }
    g_menuState.SetI8At(MenuState::kNetworkCircuitsOffset + 0, 9);
    g_menuState.SetU32At(MenuState::kNetworkRaceIndexOffset, 0);
    // Level on points and best place: the place at the list's circuit 9 decides.
    SetChampionshipPlace(g_menuState, kPlayer, 9, 1);
    SetChampionshipPlace(g_menuState, kPlayer, 2, 0);
    SetChampionshipPlace(g_menuState, kRival, 9, 0);
    SetChampionshipPlace(g_menuState, kRival, 2, 1);
    g_gameMode = GameMode::NetworkRace;
    g_circuitIndex = CircuitId::Jerez;
    g_playerRider = kRival;
    EXPECT_TRUE(IsChampionshipWon());
    g_playerRider = kPlayer;
    EXPECT_FALSE(IsChampionshipWon());
}

TEST(ChampionshipEntries, RaceResultsGoInAsPlacesFromZero)
{
    MenuState settings = EmptyChampionship();
    constexpr uint32_t kRiders = 25;  // the 125 class: rider 25 is no rider of it
    std::array<int32_t, 26> positions{};
    std::array<int16_t, 26> ranks{};
    std::array<bool, 26> tookPart{};
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        positions[rider] = static_cast<int32_t>(rider) + 1;
        tookPart[rider] = true;
    }
    ranks[7] = -8;        // not classified
    tookPart[9] = false;  // not in the field
    positions[11] = 0;    // no position
    ranks[12] = 2;        // two laps down, still classified
    SetChampionshipPlace(settings, 25, 6, kNotRaced);

    EnterRacePlaces(settings, 6, kRiders, positions, ranks, tookPart);

    EXPECT_EQ(ChampionshipPlace(settings, 0, 6), 0);
    EXPECT_EQ(ChampionshipPlace(settings, 15, 6), 15) << "16th: entered, scores nothing";
    EXPECT_EQ(ChampionshipPlace(settings, 12, 6), 12);
    for (const uint32_t rider : {7u, 9u, 11u})
    {
        EXPECT_EQ(ChampionshipPlace(settings, rider, 6), kUnplaced) << "rider " << rider;
    }
    EXPECT_EQ(ChampionshipPlace(settings, 25, 6), kNotRaced);
    EXPECT_EQ(ChampionshipPlace(settings, 0, 5), kNotRaced) << "other circuits untouched";
}

TEST(ChampionshipEntries, NetworkPlacesStopAtTheFirstUnclassifiedRider)
{
    MenuState settings = EmptyChampionship();
    std::array<int32_t, 26> table{};
    table.fill(-1);
    table[0] = 4;
    table[1] = 0;
    table[2] = 7;
    table[3] = 2;
    std::array<int16_t, 26> ranks{};
    ranks[7] = -3;

    EnterNetworkPlaces(settings, 16, table, ranks);

    EXPECT_EQ(ChampionshipPlace(settings, 4, 16), 0);
    EXPECT_EQ(ChampionshipPlace(settings, 0, 16), 1);
    EXPECT_EQ(ChampionshipPlace(settings, 7, 16), kNotRaced);
    EXPECT_EQ(ChampionshipPlace(settings, 2, 16), kNotRaced);
}
}  // namespace
