// Whole races with engine failure on, headless: the field and a player riding with the aids
// keep their engines in any air the calendar brings, while a player who revs his engine at a
// standstill overheats it and retires alone.

#include <gtest/gtest.h>

#include <algorithm>

#include "race/standings/RaceStandings.h"
#include "tests/race/support/HeadlessRace.h"

namespace
{
constexpr uint32_t kPlayer = 12;  // mid-grid, with riders ahead and behind
constexpr uint32_t kLaps = 5;
constexpr uint32_t kStepLimit = 25 * 60 * 20;     // twenty minutes
constexpr float kFirstGearReservePerLap = 15.0f;  // seconds of over-revving

HeadlessRaceOptions EngineFailureRace(const HeadlessPlayer& player, float airTemperature = 20.0f)
{
    HeadlessRaceOptions options;
    options.laps = kLaps;
    options.engineFailure = true;
    options.airTemperature = airTemperature;
    options.player = player;
    return options;
}

TEST(EngineFailureRaceTest, TheFieldAndThePlayerFinishWithWholeEnginesInAnyAirOfTheCalendar)
{
    for (const float air : {10.0f, 20.0f, 37.0f})
    {
        SCOPED_TRACE(air);
        HeadlessRace race(EngineFailureRace({.rider = kPlayer}, air));
        while (race.Sim().TicksDone() <= HeadlessRace::kStartLightSteps + 250)
        {
            race.Step();
        }
        EXPECT_EQ(race.RidersOut(), 0u) << "ten seconds after the lights";

        float coolest = 75.0f;
        float hottest = 50.0f;
        while (race.Sim().TicksDone() < kStepLimit && !race.AllDone())
        {
            race.Step();
            for (uint32_t rider = 0; rider < race.Riders(); ++rider)
            {
                const float t = race.Race().bikes[rider].engineTemperature;
                coolest = std::min(coolest, t);
                hottest = std::max(hottest, t);
            }
        }
        ASSERT_TRUE(race.AllDone());
        EXPECT_EQ(race.RidersOut(), 0u);
        // Well inside the bounds that retire a rider.
        EXPECT_GT(coolest, 52.0f);
        EXPECT_LT(hottest, 72.0f);
        const BikeRecord& player = race.Race().bikes[kPlayer];
        EXPECT_EQ(player.timedLap, kLaps + 1);
        EXPECT_LT(player.gearWear[0], kFirstGearReservePerLap * kLaps)
            << "the launch over-revs first gear a little";
        for (size_t gear = 0; gear < BikeRecord::kGears; ++gear)
        {
            EXPECT_GT(player.gearWear[gear], 0.0f) << "gear " << gear + 1;
        }
    }
}

TEST(EngineFailureRaceTest, RevvingAtAStandstillWithTheClutchOutOverheatsAndRetiresOnlyThePlayer)
{
    HeadlessPlayer revving{.rider = kPlayer};
    revving.inputs.clutch = 0;
    HeadlessRace race(EngineFailureRace(revving));
    const BikeRecord& player = race.Race().bikes[kPlayer];
    const RaceStandings& standings = race.Race().standings;
    while (race.Sim().TicksDone() < kStepLimit &&
           standings.sessionRanks[kPlayer] == session_rank::kRacing)
    {
        race.Step();
    }
    EXPECT_EQ(standings.sessionRanks[kPlayer], session_rank::kRetired);
    EXPECT_EQ(player.engineTemperature, 75.0f);
    EXPECT_LT(player.speed, 0.1f);
    EXPECT_GT(race.RaceSeconds(), 60.0f) << "an engine takes minutes to boil";
    EXPECT_EQ(race.RidersOut(), 1u);

    // Retired once: the engine stays at its bound, the count of failures does not grow.
    const uint32_t failures = standings.failureCount;
    for (uint32_t step = 0; step < 100; ++step)
    {
        race.Step();
    }
    EXPECT_EQ(standings.failureCount, failures);
    EXPECT_EQ(race.RidersOut(), 1u);
}
}  // namespace
