// What the set-up pages change reaches the race: the same scripted rider, at full throttle
// through the gears, goes differently with the gearing set on the gearbox page; and a rider on
// the demo circuit laps faster or slower with it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "setup/SetupPages.h"
#include "tests/race/support/HeadlessRace.h"
#include "tests/race/support/TestRace.h"

namespace
{
struct Ride
{
    float speedAfter20s;  // m/s
    float distance;       // m
};

Ride RideTheStraight(const std::function<void(SetupPages&)>& tune)
{
    TestRace race(1);
    BikeRecord& bike = race.Bikes()[0];
    CurrentRace current;
    current.bikeClass = BikeClass::Class500;
    SetupPages pages(bike, current, 300.0f);
    pages.Open();
    tune(pages);
    pages.LeavePage();
    const float startZ = bike.positionZ;
    race.RunTo(500, 1);
    return {bike.speed, bike.positionZ - startZ};
}

TEST(SetupRace, GearingSetOnTheGearboxPageChangesTheRide)
{
    const Ride standard = RideTheStraight([](SetupPages&) {});
    const Ride shortest = RideTheStraight(
        [](SetupPages& pages)
        {
            pages.OpenPage(SetupPage::Gearbox);
            for (int step = 0; step < 60; ++step)
            {
                pages.StepSecondaryUp();
            }
        });
    const Ride longest = RideTheStraight(
        [](SetupPages& pages)
        {
            pages.OpenPage(SetupPage::Gearbox);
            for (int step = 0; step < 60; ++step)
            {
                pages.StepSecondaryDown();
            }
        });
    std::printf(
        "after 20 s: standard %.2f m/s %.1f m, shortest gearing %.2f m/s %.1f m, "
        "longest %.2f m/s %.1f m\n",
        standard.speedAfter20s, standard.distance, shortest.speedAfter20s, shortest.distance,
        longest.speedAfter20s, longest.distance);
    // The shortest gearing runs into the rev limit in sixth; the longest pulls less hard.
    EXPECT_LT(shortest.speedAfter20s, standard.speedAfter20s - 5.0f);
    EXPECT_LT(shortest.distance, standard.distance - 30.0f);
    EXPECT_LT(longest.distance, standard.distance);
}

// The second lap's time (ms) of a lone rider in a two-lap race on the demo circuit, with the
// set-up tuned on the pages before the start.
int32_t FlyingLapMs(const std::function<void(SetupPages&)>& tune)
{
    HeadlessRaceOptions options;
    options.riders = 1;
    options.laps = 2;
    HeadlessRace race(options);
    BikeRecord& bike = race.Race().bikes[0];
    const BikeSetup before = bike.setup;
    SetupPages pages(bike, race.Race().current, 300.0f);
    pages.Open();
    tune(pages);
    pages.LeavePage();
    const bool changed = std::memcmp(&before, &bike.setup, sizeof before) != 0;
    EXPECT_TRUE(race.RunToEnd(2 * 5 * 60 * 25));
    return changed ? race.Race().standings.splitMs[0][3][2] : -1;
}

TEST(SetupRace, GearingSetOnTheGearboxPageChangesTheNextRacesLapTime)
{
    const auto gearing = [](int steps)
    {
        return [steps](SetupPages& pages)
        {
            pages.OpenPage(SetupPage::Gearbox);
            for (int step = 0; step < std::abs(steps); ++step)
            {
                steps > 0 ? pages.StepSecondaryUp() : pages.StepSecondaryDown();
            }
        };
    };
    const int32_t standard = FlyingLapMs([](SetupPages&) {});
    const int32_t shortest = FlyingLapMs(gearing(60));
    const int32_t longest = FlyingLapMs(gearing(-60));
    std::printf("flying lap: standard gearing %d ms, shortest %d ms, longest %d ms\n", standard,
                shortest, longest);
    ASSERT_GT(standard, 0);
    ASSERT_GT(shortest, 0) << "the page changed the bike's record";
    ASSERT_GT(longest, 0) << "the page changed the bike's record";
    // Out of the demo circuit's corners the short gears pull harder than its straights need
    // the top speed; the long ones lose more out of the corners than they win on the straights.
    EXPECT_LT(shortest, standard - 1000);
    EXPECT_GT(longest, standard + 1000);
}
}  // namespace
