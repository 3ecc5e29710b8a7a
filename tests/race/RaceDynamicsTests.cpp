// A scripted rider on a flat square: gears, brakes, a bend, and the edge of the ground.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <cstring>

#include "race/PlayerInputState.h"
#include "race/RaceEvents.h"
#include "tests/race/support/TestRace.h"

namespace
{
struct Sample
{
    float speed, rpm, steer, heading, x, z, acceleration;
    int32_t gear;
    int32_t frontSurface;
};

// Records the player once per step, as it is animated.
class PlayerRecorder : public RaceServices
{
public:
    explicit PlayerRecorder(const BikeRecord& bike) : bike_(bike) {}
    void AnimateRider(uint32_t rider, float) override
    {
        if (rider != 0)
        {
            return;
        }
        samples.push_back({bike_.speed, bike_.engineRpm, bike_.steer, bike_.heading,
                           bike_.positionX, bike_.positionZ, bike_.acceleration, bike_.gear,
                           bike_.frontSurface.surfaceClass});
    }
    std::vector<Sample> samples;

private:
    const BikeRecord& bike_;
};

class ScriptedBikeTest : public testing::Test
{
protected:
    ScriptedBikeTest() : race_(1), recorder_(race_.Bikes()[0])
    {
        race_.Sim().SetServices(&recorder_);
        race_.RunTo(1100, 1);
    }
    const Sample& At(uint32_t step) const { return recorder_.samples.at(step); }

    TestRace race_;
    PlayerRecorder recorder_;
};

TEST_F(ScriptedBikeTest, AcceleratesThroughTheGears)
{
    ASSERT_EQ(recorder_.samples.size(), 1100u);
    EXPECT_EQ(At(60).gear, 1);
    EXPECT_EQ(At(499).gear, 6);
    for (uint32_t step = 20; step < 480; step += 40)
    {
        EXPECT_GT(At(step + 40).speed, At(step).speed) << "step " << step;
    }
    EXPECT_GT(At(499).speed, 50.0f);
    EXPECT_LT(At(499).speed, 95.0f) << "held back by drag";
    for (const Sample& sample : recorder_.samples)
    {
        ASSERT_LE(sample.rpm, 13000.0f * std::sqrt(1.8f) + 1.0f);
    }
    EXPECT_NEAR(At(499).heading, 0.0f, 0.02f) << "straight on without steering";
}

TEST_F(ScriptedBikeTest, BrakesHard)
{
    const float before = At(499).speed;
    EXPECT_LT(At(559).speed, before - 20.0f);
    float strongest = 0.0f;
    for (uint32_t step = 505; step < 559; ++step)
    {
        strongest = std::min(strongest, At(step).acceleration);
    }
    EXPECT_LT(strongest, -6.0f);
    EXPECT_GT(strongest, -15.0f) << "no more than the tyres give";
}

TEST_F(ScriptedBikeTest, LeansIntoTheBendAndTurnsRight)
{
    EXPECT_GT(At(600).steer, 0.2f);
    // Heading grows when turning right: forward is (sin h, cos h).
    const float turned = At(699).heading - At(560).heading;
    EXPECT_GT(turned, 0.5f);
    EXPECT_GT(At(699).x, At(560).x);
}

TEST_F(ScriptedBikeTest, RunsWideAndTheEdgePushesItBack)
{
    const float half = TestRace::kGroundWidth / 2;
    float farthest = 0.0f;
    bool onGrass = false;
    for (const Sample& sample : recorder_.samples)
    {
        farthest = std::max(farthest, std::fabs(sample.x));
        onGrass = onGrass || sample.frontSurface == 3;
    }
    EXPECT_TRUE(onGrass) << "ran wide onto the grass";
    EXPECT_GT(farthest, half - 3.0f) << "reached the edge";
    EXPECT_LT(farthest, half) << "never past it";
    EXPECT_GT(race_.Sim().Events().SoundCount(), 0u) << "hit the edge";
}

TEST(RaceTickTest, WheelsOnTheGroundRarelyScanTheWholeMesh)
{
    // 800 steps of 6 riders walk 9600 wheels; only a move along a triangle's edge finds no
    // edge to cross.
    TestRace race(6);
    race.RunTo(800, 3);
    EXPECT_LT(race.Sim().GroundFallbacks(), 96u);
}

TEST(RaceTickTest, TheFirstCallRunsOneStepAndMovesTheClocksOn)
{
    TestRace race(1);
    RaceClockWords& clock = race.Clock();
    race.Sim().Tick(std::span(race.Bikes()), 1, 1, 2, clock);
    EXPECT_EQ(race.Sim().TicksDone(), 1u);
    EXPECT_EQ(clock.frameClockMs, 40u);
    EXPECT_EQ(clock.raceClockMs, 40u);
    EXPECT_EQ(clock.inputTick, 1u);

    race.Sim().Tick(std::span(race.Bikes()), 1, 1, 2, clock);
    EXPECT_EQ(race.Sim().TicksDone(), 1u) << "no time passed";
    clock.frameClockMs += 200;
    race.Sim().Tick(std::span(race.Bikes()), 1, 1, 2, clock);
    EXPECT_EQ(race.Sim().TicksDone(), 6u) << "200 ms: five steps";
}

TEST(RaceTickTest, InactiveRidersAreSkippedAndFallenOnesOnlySlideAndRunDown)
{
    TestRace race(3);
    auto& bikes = race.Bikes();
    bikes[1].flags = bike_flags::kInactive;
    bikes[2].flags = bike_flags::kDown;
    bikes[2].engineRpm = 100.0f;
    bikes[2].throttle = 1.0f;
    bikes[2].crashTimer = 10.0f;
    bikes[2].speed = 5.0f;
    bikes[2].velocity = {5.0f, 0.0f, 0.0f};
    bikes[2].crashEnergy = 0.5f * bikes[2].setup.mass * 25.0f;
    const BikeRecord inactive = bikes[1];
    const float fallenX = bikes[2].positionX;
    const float fallenZ = bikes[2].positionZ;
    race.RunTo(10, 1);
    EXPECT_EQ(std::memcmp(&inactive, &bikes[1], sizeof inactive), 0);
    EXPECT_EQ(bikes[2].engineRpm, 0.0f);
    EXPECT_EQ(bikes[2].throttle, 0.0f);
    EXPECT_GT(bikes[2].positionX, fallenX) << "the fallen bike slides on";
    EXPECT_NEAR(bikes[2].positionZ, fallenZ, 0.5f);
    EXPECT_LT(bikes[2].speed, 5.0f);
}

TEST(RaceTickTest, PublishesThePlayersSpeedForTheInputStep)
{
    TestRace race(1);
    PlayerInputState state;
    race.Sim().SetPlayerInputState(&state);
    race.RunTo(100, 7);
    EXPECT_EQ(state.Speed(), race.Bikes()[0].speed);
    EXPECT_EQ(state.SteeringRate(), race.Bikes()[0].setup.steeringRate);
}
}  // namespace

namespace
{
// At rest from the start: the brake held for five seconds, then released.
InputFrame BrakeAtRest(uint32_t step)
{
    InputFrame frame;
    frame.clutch = 127;
    frame.throttleBrake = step < 125 ? -127 : 0;
    return frame;
}
}  // namespace

TEST(StandstillBrakeTest, HoldsTwoSecondsThenBacksUpUntilReleased)
{
    TestRace race(1);
    race.SetInputScript(BrakeAtRest);
    race.Restart();
    const BikeRecord& bike = race.Bikes()[0];
    const float startX = bike.positionX;
    const float startZ = bike.positionZ;
    const auto moved = [&] { return std::hypot(bike.positionX - startX, bike.positionZ - startZ); };

    race.RunTo(50, 1);
    EXPECT_LT(moved(), 0.02f) << "two seconds on the brake hold the bike";
    race.RunTo(100, 1);
    // Held longer, the brake pushes the bike back at 1 m/s, its heading unchanged.
    EXPECT_NEAR(moved(), 2.0f, 0.1f);
    EXPECT_LT(bike.positionZ, startZ);
    EXPECT_FLOAT_EQ(bike.heading, 0.0f);
    race.RunTo(130, 1);
    const float released = moved();
    race.RunTo(200, 1);
    EXPECT_NEAR(moved(), released, 0.02f) << "letting go stops it";
}
