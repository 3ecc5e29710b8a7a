// Engine damage on a scripted player's machine: over-revving wears the gear it happens in,
// eight times as fast beyond 15000 rpm, until that gear drives no more; without engine failure
// the gears take no wear.

#include <gtest/gtest.h>

#include <array>

#include "tests/race/support/TestRace.h"

namespace
{
constexpr float kReserve = 10.0f;  // each gear's, as the test machine starts
constexpr uint32_t kSteps = 900;   // the length of the test ground at full speed in first

InputFrame FirstGearFlatOut(uint32_t)
{
    return {.throttleBrake = 127, .clutch = 127};
}

// Up into fourth, then from step 400 down through the gears into first at speed.
InputFrame DownIntoFirstAtSpeed(uint32_t step)
{
    InputFrame frame{.throttleBrake = 127, .clutch = 127};
    if (step < 300 && step % 80 == 79)
    {
        frame.buttons = InputFrame::kShiftUp;
    }
    if (step == 400 || step == 410 || step == 420)
    {
        frame.buttons = InputFrame::kShiftDown;
    }
    return frame;
}

struct Ride
{
    float brokenAt = -1.0f;  // seconds, -1 while first gear holds
    // Steps in first gear with the clutch in above the peak's rpm + 500, and of those above
    // 15000 rpm.
    uint32_t overRevving = 0;
    uint32_t beyondTheLimit = 0;
    float finalSpeed = 0.0f;
    std::array<float, BikeRecord::kGears> wear{};
};

Ride RideScript(InputScript script, bool engineFailure, uint32_t steps)
{
    TestRace race(1);
    race.SetInputScript(script);
    race.Restart();
    RaceParameters params = race.Sim().Parameters();
    params.engineDamage = engineFailure;
    race.Sim().SetParameters(params);
    const BikeRecord& bike = race.Bikes()[0];
    Ride ride;
    for (uint32_t step = 0; step < steps; ++step)
    {
        race.TickSteps(1);
        if (bike.gear == 1 && bike.clutch > 0.9f && bike.engineRpm > bike.peakTorqueRpm + 500.0f)
        {
            ++ride.overRevving;
            ride.beyondTheLimit += bike.engineRpm > 15000.0f ? 1 : 0;
        }
        if (ride.brokenAt < 0.0f && bike.gearWear[0] < 0.0f)
        {
            ride.brokenAt = race.Sim().RaceTime();
        }
    }
    ride.finalSpeed = bike.speed;
    ride.wear = bike.gearWear;
    return ride;
}

TEST(EngineDamageTest, FirstGearHeldAtTheLimitBreaksAndTheBikeRunsOutOfDrive)
{
    const Ride abused = RideScript(FirstGearFlatOut, true, kSteps);
    ASSERT_GT(abused.brokenAt, 0.0f);
    const auto below = static_cast<float>(abused.overRevving - abused.beyondTheLimit);
    EXPECT_NEAR(abused.wear[0],
                kReserve - 0.04f * below - 0.32f * static_cast<float>(abused.beyondTheLimit),
                0.01f);
    for (size_t gear = 1; gear < BikeRecord::kGears; ++gear)
    {
        EXPECT_EQ(abused.wear[gear], kReserve) << "gear " << gear + 1;
    }

    const Ride spared = RideScript(FirstGearFlatOut, false, kSteps);
    EXPECT_EQ(spared.wear[0], kReserve);
    EXPECT_LT(abused.finalSpeed, 0.7f * spared.finalSpeed) << "the broken gear drives no more";
}

TEST(EngineDamageTest, ADownshiftIntoFirstAtSpeedBreaksItWithinTwoSeconds)
{
    const Ride ride = RideScript(DownIntoFirstAtSpeed, true, 600);
    ASSERT_GT(ride.brokenAt, 0.0f);
    EXPECT_GT(ride.brokenAt, 420 * 0.04f);
    EXPECT_LT(ride.brokenAt, 420 * 0.04f + 2.0f)
        << "beyond 15000 rpm the reserve goes 8 times as fast";
    EXPECT_GT(ride.wear[3], 0.0f);
}
}  // namespace
