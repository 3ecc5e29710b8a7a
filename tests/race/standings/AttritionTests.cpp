// The drop-out schedule's figures, its requests as the leader crosses the lines, the
// crash-out decision of a collision, the strength ranks and the computer riders' pace.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "race/BikeRecord.h"
#include "race/RaceAi.h"
#include "race/RiderProfile.h"
#include "race/laps/LapRecord.h"
#include "race/standings/RaceAttrition.h"
#include "race/standings/RaceStandings.h"

namespace
{
class RefusingZones : public HazardZoneOpener
{
public:
    bool OpenHazardZone(uint32_t rider) override
    {
        asked.push_back(rider);
        return open;
    }
    bool open = true;
    std::vector<uint32_t> asked;
};

class AttritionTest : public testing::Test
{
protected:
    AttritionTest()
    {
        standings_->Attach(bikes_, *race_, *recording_);
        race_->nodeCount = race_->pitLaneFirstNode = 1000;
        for (uint16_t node = 0; node < 1000; ++node)
        {
            race_->nodes[node].next = static_cast<uint16_t>((node + 1) % 1000);
        }
        attrition_.SetRandomTable(random_);
        attrition_.SetHazardZones(&zones_);
        standings_->SetHooks(&attrition_);
    }

    // n riders in the race and `absent` more in the session; the grid in number order.
    void Reset(uint32_t n, uint32_t absent, bool isRace = true, uint32_t laps = 10)
    {
        StandingsSession session;
        session.isRace = isRace;
        session.laps = laps;
        session.riderCount = static_cast<uint16_t>(n + absent);
        for (uint32_t rider = 0; rider < n + absent; ++rider)
        {
            session.inRace[rider] = rider < n ? 1 : 0;
            standings_->gridOrder[rider] = static_cast<int32_t>(rider + 1);
            bikes_[rider].raceStatus = 9;
            bikes_[rider].aiTargetNode = 10;
            bikes_[rider].aiLineNode = 10;
        }
        standings_->ResetForRace(session);
        standings_->Session() = session;
    }

    std::array<BikeRecord, 26> bikes_{};
    std::array<RiderProfile, 26> profiles_{};
    std::unique_ptr<RaceAi> race_ = std::make_unique<RaceAi>();
    std::unique_ptr<LapRecord> recording_ = std::make_unique<LapRecord>();
    std::unique_ptr<RaceStandings> standings_ = std::make_unique<RaceStandings>();
    IncidentRequests requests_;
    std::array<uint32_t, 260> random_{};
    RefusingZones zones_;
    RaceAttrition attrition_{*standings_, *race_, bikes_, profiles_, requests_};
};

struct ScheduleCase
{
    std::string name;
    float wetness;
    float temperature;
    uint32_t inRace;
    uint32_t absent;
    uint32_t randomWord;
    bool isRace;
    uint32_t laps;
    uint16_t minDropOuts, maxDropOuts, failureTarget, crashTarget, sessionSections;
};

class ScheduleTest : public AttritionTest, public testing::WithParamInterface<ScheduleCase>
{
};

TEST_P(ScheduleTest, TheScheduleFollowsWeatherFieldAndChance)
{
    const ScheduleCase& c = GetParam();
    attrition_.SetSettings({c.wetness, c.temperature, false});
    random_[0] = c.randomWord;
    Reset(c.inRace, c.absent, c.isRace, c.laps);
    EXPECT_EQ(standings_->minDropOuts, c.minDropOuts);
    EXPECT_EQ(standings_->maxDropOuts, c.maxDropOuts);
    EXPECT_EQ(standings_->failureTarget, c.failureTarget);
    EXPECT_EQ(standings_->crashTarget, c.crashTarget);
    EXPECT_EQ(standings_->sessionSections, c.sessionSections);
    EXPECT_EQ(standings_->leaderCrossings, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, ScheduleTest,
    testing::Values(
        ScheduleCase{"DryTenLaps", 0.1f, 20.0f, 20, 0, 0, true, 10, 0, 7, 2, 3, 30},
        ScheduleCase{"DampShortRaceWithAbsentRiders", 0.5f, 25.0f, 20, 6, 15000, true, 4, 13, 20, 8,
                     5, 15},
        ScheduleCase{"WetHeatPractice", 0.9f, 100.0f, 10, 0, 30000, false, 10, 3, 7, 2, 0, 90},
        ScheduleCase{"TwoRidersMinimumBelowMaximum", 0.5f, 20.0f, 2, 0, 30000, true, 10, 1, 2, 1, 1,
                     30},
        ScheduleCase{"OneRiderNoMinimum", 0.5f, 20.0f, 1, 0, 30000, true, 10, 0, 1, 0, 0, 30}),
    [](const testing::TestParamInfo<ScheduleCase>& info) { return info.param.name; });

// Which request each crossing of the leader raises, cleared after each.
std::string RequestsOverCrossings(RaceAttrition& attrition, IncidentRequests& requests,
                                  uint32_t crossings)
{
    std::string raised;
    for (uint32_t i = 0; i < crossings; ++i)
    {
        attrition.UpdateAttrition();
        raised += requests.crash              ? 'C'
                  : requests.technicalFailure ? 'T'
                  : requests.fall             ? 'F'
                                              : '-';
        requests = {};
    }
    return raised;
}

TEST_F(AttritionTest, TheLeadersCrossingsRaiseFallsThenDropOutsAsTheRaceGoesOn)
{
    attrition_.SetSettings({0.1f, 20.0f, false});
    Reset(20, 0);  // 0 to 7 out, 30 sections
    // Until someone is out, every crossing asks again.
    EXPECT_EQ(RequestsOverCrossings(attrition_, requests_, 8), "FFFFFFCC");
    EXPECT_EQ(standings_->requestCount, 10);
    standings_->sessionRanks[12] = session_rank::kCrashedOut;
    EXPECT_EQ(RequestsOverCrossings(attrition_, requests_, 1), "-") << "requests ahead of time";

    // One crash done, no failure yet: the next drop-out is a technical failure.
    standings_->crashCount = 1;
    standings_->leaderCrossings = 20;
    EXPECT_EQ(RequestsOverCrossings(attrition_, requests_, 1), "T");
}

TEST_F(AttritionTest, NetworkSessionsRaiseNoRequests)
{
    Reset(20, 0);
    standings_->Session().isNetwork = true;
    requests_.any = true;
    EXPECT_EQ(RequestsOverCrossings(attrition_, requests_, 40), std::string(40, '-'));
    EXPECT_EQ(standings_->leaderCrossings, 0);
}

TEST_F(AttritionTest, AtLevelTwoHumansAtTheBackMeetBackMarkers)
{
    Reset(20, 0);
    standings_->difficulty = 2;
    bikes_[15].raceStatus = 0;  // a human in 16th place, behind the 15 who lead the field
    random_[0] = 0x0F;          // bits 0x30 clear: one chance in four taken
    attrition_.UpdateAttrition();
    EXPECT_TRUE(requests_.backMarker);
    EXPECT_TRUE(requests_.any);

    requests_ = {};
    random_[0] = 0x10;
    attrition_.UpdateAttrition();
    EXPECT_FALSE(requests_.backMarker);
}

class CrashOutTest : public AttritionTest
{
protected:
    void SetUp() override
    {
        attrition_.SetSettings({0.5f, 20.0f, false});
        Reset(20, 0);  // 6 to 13 out
        standings_->firstCrossingMs[0][1] = 60000;
        standings_->leaderCrossings = 15;  // half the race
    }
};

TEST_F(CrashOutTest, BehindTheScheduleACollisionTakesTheRiderOut)
{
    // 6 x 0.5 = 3 riders due out, none out yet.
    EXPECT_TRUE(attrition_.CheckCrashOut(4, 5));
    EXPECT_EQ(standings_->sessionRanks[4], session_rank::kCrashedOut);
    EXPECT_EQ(zones_.asked, std::vector<uint32_t>{4});
    EXPECT_EQ(attrition_.RidersOut(), 1u);
}

TEST_F(CrashOutTest, NobodyIsTakenOutWhenTheRulesSayNo)
{
    // Each case on a fresh schedule, half the race run, three riders due out.
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"before the leader's first lap", [&] { standings_->firstCrossingMs[0][1] = -1; }},
        {"in a network race", [&] { standings_->Session().isNetwork = true; }},
        {"in a replay", [&] { standings_->Session().isReplay = true; }},
        {"a human without the option", [&] { bikes_[4].raceStatus = 0; }},
        {"the other entering the pit lane", [&] { bikes_[5].raceStatus = 14; }},
        {"enough riders out",
         [&]
         {
             for (uint32_t r = 10; r < 22; ++r)
             {
                 standings_->sessionRanks[r] = session_rank::kRetired;
             }
         }},
        {"no hazard zone opens", [&] { zones_.open = false; }},
    };
    for (const auto& [name, arrange] : cases)
    {
        SetUp();
        zones_.open = true;
        arrange();
        EXPECT_FALSE(attrition_.CheckCrashOut(4, 5)) << name;
        EXPECT_EQ(standings_->sessionRanks[4], session_rank::kRacing) << name;
    }
}

TEST_F(CrashOutTest, AHumanCrashesOutOnlyWithTheOption)
{
    bikes_[4].raceStatus = 0;
    EXPECT_FALSE(attrition_.CheckCrashOut(4, 5));
    attrition_.SetSettings({0.5f, 20.0f, true});
    EXPECT_TRUE(attrition_.CheckCrashOut(4, 5));
}

TEST_F(CrashOutTest, OnScheduleTheRiderFallsBeforeAHumanCloseBehind)
{
    // Three out already: as many as due; the chance now rises as a human closes in.
    for (uint32_t r = 17; r < 20; ++r)
    {
        standings_->sessionRanks[r] = session_rank::kRetired;
    }
    bikes_[3].raceStatus = 0;
    // 2 x 3 / (13 x 0.5) = 0.92: only a gap with (1 - g/70)^2 above that, g 2 or less.
    bikes_[4].aiLineNode = 100;
    bikes_[3].aiLineNode = 95;
    EXPECT_FALSE(attrition_.CheckCrashOut(4, 5));
    bikes_[3].aiLineNode = 99;
    EXPECT_TRUE(attrition_.CheckCrashOut(4, 5));

    // Nobody behind within 70 nodes (the lap wraps at 1000): no fall.
    standings_->sessionRanks[4] = session_rank::kRacing;
    bikes_[6].aiLineNode = 1;
    bikes_[3].aiLineNode = 900;
    EXPECT_FALSE(attrition_.CheckCrashOut(6, 5));
    bikes_[3].aiLineNode = 999;
    EXPECT_TRUE(attrition_.CheckCrashOut(6, 5)) << "two nodes behind, across the line";
}

TEST_F(AttritionTest, StrengthRanksCountTheStrongerRidersInTheRace)
{
    const float paces[] = {1.0f, 1.02f, 1.0f, 0.95f};
    const float ranges[] = {5.0f, 1.0f, 6.0f, 9.0f};
    for (uint32_t r = 0; r < 4; ++r)
    {
        profiles_[r].paceBase = paces[r];
        profiles_[r].rangeBase = ranges[r];
    }
    Reset(4, 0);
    EXPECT_EQ(profiles_[0].paceRank, 2);
    EXPECT_EQ(profiles_[1].paceRank, 0);
    EXPECT_EQ(profiles_[2].paceRank, 1);
    EXPECT_EQ(profiles_[3].paceRank, 3);
}

struct PracticeCase
{
    std::string name;
    uint16_t difficulty;
    int32_t position;
    float raceTime;
    bool qualifying;
    float pace, angle, range;
};

class PracticePaceTest : public AttritionTest, public testing::WithParamInterface<PracticeCase>
{
};

TEST_P(PracticePaceTest, RidersComeUpToSpeedOverTheSession)
{
    const PracticeCase& c = GetParam();
    Reset(15, 0, false);
    standings_->difficulty = c.difficulty;
    standings_->Session().isQualifying = c.qualifying;
    standings_->Session().raceTime = c.raceTime;
    standings_->gridOrder[7] = c.position;
    RiderProfile& profile = profiles_[7];
    profile.paceBase = 1.0f;
    profile.baseAngle = 0.01f;
    profile.rangeBase = 4.0f;
    attrition_.AdjustPace(7, PaceAdjustment::Practice);
    EXPECT_FLOAT_EQ(profile.pace, c.pace);
    EXPECT_FLOAT_EQ(profile.activeAngle, c.angle);
    EXPECT_FLOAT_EQ(profile.activeRange, c.range);
}

INSTANTIATE_TEST_SUITE_P(
    Practice, PracticePaceTest,
    testing::Values(
        // f = (s + 4) x 0.2 with s the share of 960 s gone; pace capped at 0.98.
        PracticeCase{"LevelZeroAtTheStart", 0, 10, 0.0f, false, 0.8f, 0.008f, 2.0f},
        PracticeCase{"LevelZeroLate", 0, 10, 2000.0f, false, 0.98f, 0.01f, 4.0f},
        PracticeCase{"LevelZeroQualifying", 0, 10, 2000.0f, true, 1.0f, 0.01f, 4.0f},
        // r = (10 - 5) / (15 - 5) = 0.5.
        PracticeCase{"LevelOneTenth", 1, 10, 2000.0f, false, 0.95f, 0.01f, 4.0f},
        PracticeCase{"LevelTwoTenth", 2, 10, 480.0f, false, 0.875f * 0.9f, 0.009f, 3.0f},
        PracticeCase{"LevelTwoLeader", 2, 1, 2000.0f, false, 0.98f, 0.01f, 4.0f}),
    [](const testing::TestParamInfo<PracticeCase>& info) { return info.param.name; });

TEST_F(AttritionTest, AtLevelZeroTheRacePaceFollowsPositionWhereTheLineSpeedsUp)
{
    Reset(10, 0);
    race_->nodes[10].speedFactor = 30.0f;
    race_->nodes[11].speedFactor = 40.0f;
    RiderProfile& profile = profiles_[6];
    profile.paceBase = 0.95f;
    profile.rangeBase = 3.0f;
    profile.baseAngle = 0.01f;
    bikes_[6].lapsStarted = 5;
    standings_->gridOrder[6] = 4;
    standings_->paceCounter = 2;  // moves on to 3
    attrition_.AdjustPace(6, PaceAdjustment::Normal);
    EXPECT_FLOAT_EQ(profile.pace, 0.95f + 0.05f - 0.03f);
    EXPECT_FLOAT_EQ(profile.activeRange, 5.0f) << "4 x half the race + the range base";
    EXPECT_FLOAT_EQ(profile.activeAngle, 0.01f);

    standings_->paceCounter = 5;  // moves on to the rider himself: he eases off
    attrition_.AdjustPace(6, PaceAdjustment::Normal);
    EXPECT_FLOAT_EQ(profile.pace, 0.89f) << "0.85, raised to the floor";

    // Where the line slows, nothing changes.
    race_->nodes[11].speedFactor = 20.0f;
    profile.pace = 0.5f;
    attrition_.AdjustPace(6, PaceAdjustment::Normal);
    EXPECT_FLOAT_EQ(profile.pace, 0.5f);
}

TEST_F(AttritionTest, AtLevelTwoRidersAreHeldNearTheHumanBehind)
{
    Reset(10, 0);
    standings_->Session().playerRider = 8;
    bikes_[8].raceStatus = 0;
    bikes_[8].speed = 30.0f;
    standings_->gridOrder[8] = 9;
    standings_->gridOrder[2] = 3;
    bikes_[2].speed = 30.0f;
    RiderProfile& profile = profiles_[2];
    profile.paceBase = 1.0f;
    // f = 9 / 10; target 0.925 - 0.225 = 0.7; spread 7.5 - 6.075 + 3 = 4.425. Six places
    // between: near 230, far 380, step 201 nodes.
    const float target = 0.7f;
    const float spread = 4.425f;

    // Close ahead of him: almost free.
    bikes_[2].aiLineNode = 100;
    bikes_[8].aiLineNode = 50;
    profile.pace = 0.9f;
    attrition_.AdjustPace(2, PaceAdjustment::Hard);
    EXPECT_FLOAT_EQ(profile.pace, 1.0f - (1.0f - target) / 7.0f);
    EXPECT_FLOAT_EQ(profile.activeRange, 100.0f);

    // Between near and far: creeps up to the target.
    bikes_[2].aiLineNode = 350;
    bikes_[8].aiLineNode = 50;
    profile.pace = 0.699f;
    attrition_.AdjustPace(2, PaceAdjustment::Hard);
    EXPECT_FLOAT_EQ(profile.pace, target);
    EXPECT_FLOAT_EQ(profile.activeRange, spread);

    // Far ahead: slowed, never below its floor.
    bikes_[2].aiLineNode = 700;
    bikes_[8].aiLineNode = 50;
    profile.pace = 0.2f;
    attrition_.AdjustPace(2, PaceAdjustment::Hard);
    EXPECT_FLOAT_EQ(profile.pace, (0.9f - 0.8f * 69.0f / 201.0f) * target);

    // Humans are never adjusted; in the start phase everyone rides at full pace.
    profiles_[8].pace = 0.3f;
    attrition_.AdjustPace(8, PaceAdjustment::Hard);
    EXPECT_FLOAT_EQ(profiles_[8].pace, 0.3f);
    race_->startPhase = 1;
    attrition_.AdjustPace(2, PaceAdjustment::Hard);
    EXPECT_FLOAT_EQ(profile.pace, 1.0f);
}

TEST_F(AttritionTest, WithLevelOneNoPaceChangesAtProgressChanges)
{
    Reset(10, 0);
    standings_->difficulty = 1;
    bikes_[3].aiTargetNode = 40;
    profiles_[3].pace = 0.5f;
    standings_->CheckLineCrossing(3);
    EXPECT_FLOAT_EQ(profiles_[3].pace, 0.5f);
}
}  // namespace
