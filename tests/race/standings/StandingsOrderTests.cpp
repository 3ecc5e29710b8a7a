#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/race/standings/StandingsRig.h"

namespace
{
constexpr int32_t kLap = RaceStandings::kLapKey;

// The race order from sort keys: a case lists the keys of riders 0..n-1 and the order that a
// re-sort leaves in the position table.
struct SortCase
{
    std::string name;
    std::vector<int32_t> keys;
    std::vector<int32_t> order;
};

void PrintTo(const SortCase& c, std::ostream* out)
{
    *out << c.name;
}

class ResortTest : public testing::TestWithParam<SortCase>
{
};

TEST_P(ResortTest, OrdersByProgressHighestFirst)
{
    const SortCase& c = GetParam();
    const uint32_t riders = static_cast<uint32_t>(c.keys.size());
    StandingsRig rig(riders);
    rig.Reset(rig.RaceSession(5));
    RaceStandings& standings = *rig.standings;
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        standings.sortKey[rider] = c.keys[rider];
    }
    standings.Resort(true);
    std::vector<int32_t> order(standings.positionTable.begin(),
                               standings.positionTable.begin() + riders);
    EXPECT_EQ(order, c.order);

    // The places follow the table as the re-sort found it: one more gives the new order.
    EXPECT_EQ(standings.gridOrder[0], 1);
    standings.Resort(false);
    EXPECT_EQ(standings.gridOrder[0], 1) << "no request, no re-sort";
    standings.Resort(true);
    for (uint32_t place = 0; place < riders; ++place)
    {
        EXPECT_EQ(standings.gridOrder[static_cast<size_t>(c.order[place])],
                  static_cast<int32_t>(place + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResortTest,
    testing::Values(
        SortCase{"AlreadyInOrder", {300, 200, 100}, {0, 1, 2}},
        SortCase{"Reversed", {100, 200, 300, 400}, {3, 2, 1, 0}},
        SortCase{"TiesKeepTheirOrder", {50, 70, 50, 70}, {1, 3, 0, 2}},
        SortCase{"LappedRiderBehindOnTheSameStretch",
                 {kLap + 40, 2 * kLap + 30, kLap + 9000},
                 {1, 2, 0}},
        // A final status gives its sequence number as key: out of the race, behind it.
        SortCase{"RetiredRidersBehindInTheOrderTheyLeft", {0, 3 * kLap, 1, 2 * kLap}, {1, 3, 2, 0}},
        SortCase{"FinishersOfOneGroupByFinishingOrder",
                 {6 * kLap - 0, 6 * kLap - 1, 5 * kLap + 9400, 6 * kLap - 2},
                 {0, 1, 3, 2}}),
    [](const testing::TestParamInfo<SortCase>& info) { return info.param.name; });

TEST(ResortTest, ATableThatNamesARiderTwiceStartsAgainFromTheRiderNumbers)
{
    StandingsRig rig(3);
    rig.Reset(rig.RaceSession(5));
    RaceStandings& standings = *rig.standings;
    standings.sortKey = {};
    standings.sortKey[0] = 10;
    standings.sortKey[1] = 30;
    standings.sortKey[2] = 20;
    for (const int32_t damaged : {0, -1, 26})
    {
        standings.positionTable[0] = 0;
        standings.positionTable[1] = damaged;
        standings.positionTable[2] = 2;
        standings.Resort(true);
        EXPECT_EQ(standings.gridOrder[0], 1) << damaged;
        EXPECT_EQ(standings.gridOrder[1], 2);
        EXPECT_EQ(standings.gridOrder[2], 3);
        EXPECT_EQ(standings.positionTable[0], 1);
        EXPECT_EQ(standings.positionTable[1], 2);
        EXPECT_EQ(standings.positionTable[2], 0);
    }
}

TEST(ResortTest, ARiderThatMovesUpHasPassedTheFirstThatWasAheadOfIt)
{
    StandingsRig rig(4);
    rig.Reset(rig.RaceSession(5));
    RaceStandings& standings = *rig.standings;
    standings.positionAtCrossing = {4, 4, 4, 4};
    standings.sortKey = {};
    standings.sortKey[0] = 400;
    standings.sortKey[1] = 300;
    standings.sortKey[2] = 100;
    standings.sortKey[3] = 350;  // past riders 1 and 2
    standings.Resort(true);
    standings.Resort(true);
    EXPECT_EQ(standings.gridOrder[3], 2);
    ASSERT_EQ(rig.hooks.gains.size(), 1u);
    EXPECT_EQ(rig.hooks.gains[0], (std::array<uint32_t, 2>{3, 1}));

    rig.hooks.gains.clear();
    standings.Session().noOvertakingEvents = true;
    standings.sortKey[2] = 500;
    standings.Resort(true);
    standings.Resort(true);
    EXPECT_EQ(standings.gridOrder[2], 1);
    EXPECT_TRUE(rig.hooks.gains.empty()) << "the settings switched the events off";
}

// Practice and qualifying: places by best lap.
struct RankCase
{
    std::string name;
    std::vector<int32_t> bestLaps;  // -1 = none
    std::vector<bool> entered;
    std::vector<int32_t> places;
};

void PrintTo(const RankCase& c, std::ostream* out)
{
    *out << c.name;
}

class RankRidersTest : public testing::TestWithParam<RankCase>
{
};

TEST_P(RankRidersTest, PlacesByBestLap)
{
    const RankCase& c = GetParam();
    const uint32_t riders = static_cast<uint32_t>(c.bestLaps.size());
    StandingsRig rig(riders);
    StandingsSession session = rig.RaceSession(5);
    session.isRace = false;
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        session.inRace[rider] = c.entered[rider] ? 1 : 0;
    }
    rig.Reset(session);
    RaceStandings& standings = *rig.standings;
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        standings.splitMs[rider][RaceStandings::kLapRow][0] = c.bestLaps[rider];
    }
    standings.RankRiders();
    for (uint32_t rider = 0; rider < riders; ++rider)
    {
        EXPECT_EQ(standings.gridOrder[rider], c.places[rider]) << "rider " << rider;
        EXPECT_EQ(standings.positionTable[static_cast<size_t>(c.places[rider] - 1)],
                  static_cast<int32_t>(rider));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RankRidersTest,
    testing::Values(RankCase{"FastestFirst", {90000, 85000, 95000}, {true, true, true}, {2, 1, 3}},
                    RankCase{"EqualTimesLowerNumberFirst",
                             {90000, 85000, 85000},
                             {true, true, true},
                             {3, 1, 2}},
                    RankCase{"UntimedBehindTheTimedInNumberOrder",
                             {-1, 88000, -1, 87000},
                             {true, true, true, true},
                             {3, 2, 4, 1}},
                    // Not entered: the place it got at the reset, from the back.
                    RankCase{"NotEnteredKeepsItsPlaceAtTheBack",
                             {-1, 88000, 87000},
                             {false, true, true},
                             {26, 2, 1}}),
    [](const testing::TestParamInfo<RankCase>& info) { return info.param.name; });

TEST(FinishTiesTest, TheLaterFinisherOfAGroupIsBehindAndOnEqualTimesTheHigherNumber)
{
    StandingsRig rig(4);
    rig.Reset(rig.RaceSession(3));
    RaceStandings& standings = *rig.standings;
    const float times[] = {301.5f, 300.25f, 301.5f, 299.0f};
    for (uint32_t rider = 0; rider < 4; ++rider)
    {
        rig.Bike(rider).raceStatus = 10;
        standings.sessionRanks[rider] = 0;
        standings.sessionTimes[rider] = times[rider];
    }
    standings.sessionRanks[3] = 1;  // a lap down
    EXPECT_EQ(standings.ResolveFinishTies(0), 1u);
    const int32_t group = 4 * RaceStandings::kLapKey;
    EXPECT_EQ(standings.sortKey[1], group) << "first of the group";
    EXPECT_EQ(standings.sortKey[0], group - 1);
    EXPECT_EQ(standings.sortKey[2], group - 2) << "same time as rider 0, higher number";

    rig.Bike(3).raceStatus = 9;
    standings.sessionRanks[3] = session_rank::kRacing;
    EXPECT_EQ(standings.ResolveFinishTies(3), 0u) << "not finished";
}

TEST(FinalStatusTest, IsGivenOnceAndThePlayerTakesOnlyItsOwnCodes)
{
    StandingsRig rig(26);
    rig.Reset(rig.RaceSession(3));
    RaceStandings& standings = *rig.standings;
    standings.SetFinalStatus(3, session_rank::kCrashedOut);
    standings.SetFinalStatus(3, session_rank::kDroppedOut);
    EXPECT_EQ(standings.sessionRanks[3], session_rank::kCrashedOut);
    EXPECT_EQ(standings.sortKey[3], 0) << "the first final status";
    standings.SetFinalStatus(4, session_rank::kDroppedOut);
    EXPECT_EQ(standings.sortKey[4], 1);

    const uint32_t player = 25;
    for (const int16_t refused :
         {session_rank::kCrashedOut, session_rank::kRetired, session_rank::kDroppedOut})
    {
        standings.SetFinalStatus(player, refused);
        EXPECT_EQ(standings.sessionRanks[player], session_rank::kRacing) << refused;
    }
    standings.SetFinalStatus(player, session_rank::kRetiredByNetwork);
    EXPECT_EQ(standings.sessionRanks[player], session_rank::kRetiredByNetwork);
}

TEST(RetireRiderTest, TakesOnlyARiderOfTheSession)
{
    StandingsRig rig(5);
    rig.Reset(rig.RaceSession(3));
    RaceStandings& standings = *rig.standings;
    standings.RetireRider(2, true);
    EXPECT_EQ(standings.sessionRanks[2], session_rank::kRetired);
    EXPECT_EQ(rig.Bike(2).retirementFlag, 1);
    EXPECT_EQ(rig.Bike(2).raceStatus, 7u);
    standings.RetireRider(3, false);
    EXPECT_EQ(standings.sessionRanks[3], session_rank::kDroppedOut);
    EXPECT_EQ(standings.failureCount, 2);

    standings.RetireRider(5, false);  // one past the field
    standings.RetireRider(26, false);
    EXPECT_EQ(standings.failureCount, 2);
}

TEST(ResetTest, KeysFromTheGridAndNotEnteredRidersBehindEveryone)
{
    StandingsRig rig(3);
    StandingsSession session = rig.RaceSession(5);
    rig.Reset(session);
    RaceStandings& standings = *rig.standings;
    EXPECT_EQ(standings.startNode, 1);
    // Place p starts on slot p, 2 p nodes short of the line's end of lap: just under a lap.
    EXPECT_EQ(standings.sortKey[0], 298 - 1);
    EXPECT_EQ(standings.sortKey[2], 294 - 1);
    EXPECT_EQ(standings.sortKey[3], RaceStandings::kNotEnteredKey - 3);
    EXPECT_EQ(standings.sessionRanks[3], session_rank::kNotEntered);
    EXPECT_EQ(standings.ridersInRace, 3);
    EXPECT_EQ(standings.positionTable[0], 0);
    EXPECT_EQ(standings.positionTable[3], -1);
    EXPECT_EQ(standings.podiumRider[0], RaceStandings::kNoPodiumRider);
    EXPECT_EQ(standings.splitMs[1][2][7], -1);
    EXPECT_EQ(standings.trapSpeed[1][0], -1.0f);
}

TEST(PlayerRacingTest, ThePlayerRacesUnlessOnlyWatching)
{
    const std::vector<std::pair<std::string, std::function<void(StandingsSession&)>>> cases = {
        {"an observation race", [](StandingsSession& s) { s.isObservation = true; }},
        {"a replay", [](StandingsSession& s) { s.isReplay = true; }},
    };
    StandingsRig rig(5);
    StandingsSession session = rig.RaceSession(3);
    rig.Reset(session);
    EXPECT_EQ(rig.standings->IsPlayerRacing(), 1u);
    for (const auto& [name, arrange] : cases)
    {
        StandingsSession watched = session;
        arrange(watched);
        rig.Reset(watched);
        EXPECT_EQ(rig.standings->IsPlayerRacing(), 0u) << name;
    }
}

}  // namespace
