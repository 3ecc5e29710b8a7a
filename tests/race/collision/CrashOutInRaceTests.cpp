// Collisions inside a whole race: the tick's contact test asks the race's attrition, which takes
// out as many riders as its schedule allows and no more, and the standings know them as out.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "race/RaceContext.h"
#include "race/RaceSim.h"
#include "tests/race/ground/GridGround.h"
#include "tests/race/support/TestRace.h"

namespace
{
constexpr uint16_t kNodes = 300;

TEST(CrashOutInRaceTest, ATouchTakesOutOnlyAsManyAsTheScheduleAllows)
{
    const auto race = std::make_unique<RaceContext>("records.cpr");
    const auto sim = std::make_unique<RaceSim>();
    BoundGround ground(TestGround(200.0f, 200.0f, 10.0f));
    race->race.nodeCount = race->race.pitLaneFirstNode = race->race.pitLaneEndNode =
        race->race.linkLimit = kNodes;

    // Two computer riders touching at an angle at 25 m/s, far from the timing lines.
    PrepareBike(race->bikes[0], 0, 0.0f, 0.0f, 0.0f, ground.Mesh());
    PrepareBike(race->bikes[1], 1, 0.1f, 0.0f, 0.6f, ground.Mesh());
    for (uint32_t rider = 0; rider < 2; ++rider)
    {
        BikeRecord& bike = race->bikes[rider];
        bike.raceStatus = 9;
        bike.speed = 25.0f;
        bike.kineticEnergy = 0.5f * bike.setup.mass * 625.0f;
        bike.velocity = {25.0f * std::sin(bike.heading), 0.0f, 25.0f * std::cos(bike.heading)};
        bike.course = bike.heading;
        race->standings.gridOrder[rider] = static_cast<int32_t>(rider + 1);
    }
    // A damp race of two: one rider at least, two at most out; half of it run.
    race->attrition.SetSettings({0.5f, 20.0f, false});
    StandingsSession session;
    session.laps = 10;
    session.riderCount = 2;
    session.inRace[0] = session.inRace[1] = 1;
    session.playerRider = 25;
    race->standings.ResetForRace(session);
    ASSERT_EQ(race->standings.minDropOuts, 1);
    ASSERT_EQ(race->standings.maxDropOuts, 2);
    race->standings.firstCrossingMs[0][1] = 1000;
    race->standings.leaderCrossings = 15;

    sim->SetRace(race.get());
    sim->SetParameters(TestParameters());
    sim->SetGround(&ground.Mesh());
    sim->SetPlayerRider(25);
    CollisionManager& collisions = sim->Collisions();
    collisions.Attach(race->bikes, sim->Channels(), sim->Events());
    collisions.ResetForRace(2);
    collisions.BuildSweepLists();
    RaceClockWords clock;
    clock.raceStartTick = 0;
    sim->Tick(race->bikes, 2, 0, 2, clock);

    EXPECT_TRUE(race->bikes[0].IsDown());
    EXPECT_EQ(race->bikes[0].clipId, crash_animation::kFastSlide);
    EXPECT_EQ(race->standings.sessionRanks[0], session_rank::kCrashedOut);
    EXPECT_FALSE(race->bikes[1].IsDown()) << "a second drop-out would exceed the schedule";
    EXPECT_EQ(race->standings.sessionRanks[1], session_rank::kRacing);
}
}  // namespace
