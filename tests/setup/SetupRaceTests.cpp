// What the set-up pages change reaches the race: the same scripted rider, at full throttle
// through the gears, goes differently with the gearing set on the gearbox page.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "setup/SetupPages.h"
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
}  // namespace
