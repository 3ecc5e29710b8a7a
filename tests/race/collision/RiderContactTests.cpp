// Two riders meeting, scripted: side by side, at an angle, from behind and into a crashed
// rider; the crash requests of the dynamics; and the broad phase that finds the pairs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "race/collision/SweepAndPrune.h"
#include "tests/race/collision/CollisionRig.h"

namespace
{
using RiderContactTest = CollisionRig;

float Energy(float speed)
{
    return 0.5f * 250.0f * speed * speed;
}

TEST_F(RiderContactTest, SideBySideRidersPushApartAndOneShowsHisAnger)
{
    Place(0, 0.0f, 0.0f, 0.0f, 30.0f);
    Place(1, 0.6f, 0.2f, 0.0f, 30.0f);
    random_[0] = 0;  // bit 0x80 clear: the threat

    EXPECT_EQ(manager_->CollideRiders(0, 1), 1u);

    EXPECT_TRUE(crashOut_.asked.empty()) << "a parallel touch at equal speed brings nobody down";
    EXPECT_FALSE(bikes_[0].IsDown());
    EXPECT_FALSE(bikes_[1].IsDown());
    EXPECT_LT(bikes_[0].velocity[0], 0.0f) << "rider 0 is pushed to his left, away from 1";
    EXPECT_GT(bikes_[1].velocity[0], 0.0f);
    for (uint32_t rider : {0u, 1u})
    {
        EXPECT_NE(bikes_[rider].flags & CollisionManager::kContactFlag, 0u) << rider;
        EXPECT_FLOAT_EQ(bikes_[rider].contactTimer, 0.5f) << rider;
        EXPECT_FLOAT_EQ(bikes_[rider].speed, std::sqrt(2.0f * bikes_[rider].kineticEnergy / 250.0f))
            << rider;
    }
    // Rider 0 is even and not the player: the other one gestures.
    EXPECT_EQ(bikes_[0].flags & bike_flags::kFalling, 0u);
    EXPECT_NE(bikes_[1].flags & bike_flags::kFalling, 0u);
    EXPECT_EQ(bikes_[1].clipId, fall_type::kThreat);
    EXPECT_EQ(bikes_[1].clipFrame, 0.0f);
    EXPECT_EQ(SoundCount(RaceSound::Collision), 1u);

    // The marks wear off once the two are apart.
    bikes_[1].positionX = 5.0f;
    RunSteps(13);
    EXPECT_EQ(bikes_[0].flags & CollisionManager::kContactFlag, 0u);
}

TEST_F(RiderContactTest, TheGestureIsNeverThePlayers)
{
    Place(0, 0.0f, 0.0f, 0.0f, 30.0f);
    Place(1, 0.6f, 0.2f, 0.0f, 30.0f);
    manager_->SetPlayerRider(1);
    random_[0] = 0x80;  // the angry gesture

    manager_->CollideRiders(0, 1);

    EXPECT_EQ(bikes_[1].flags & bike_flags::kFalling, 0u);
    EXPECT_NE(bikes_[0].flags & bike_flags::kFalling, 0u);
    EXPECT_EQ(bikes_[0].clipId, fall_type::kAngryGesture);
}

TEST_F(RiderContactTest, AnAngledTouchAtSpeedBringsBothDownWhenTheAttritionAgrees)
{
    Place(0, 0.0f, 0.0f, 0.0f, 25.0f);
    Place(1, 0.6f, 0.2f, 0.6f, 25.0f);

    manager_->CollideRiders(0, 1);

    ASSERT_EQ(crashOut_.asked.size(), 2u);
    for (uint32_t rider : {0u, 1u})
    {
        const BikeRecord& bike = bikes_[rider];
        EXPECT_TRUE(bike.IsDown()) << rider;
        EXPECT_EQ(bike.crashAnimation, crash_animation::kFastSlide) << rider;
        EXPECT_EQ(bike.clipId, crash_animation::kFastSlide) << "the view plays the crash";
        EXPECT_FLOAT_EQ(bike.crashTimer, 10.0f);
        // Down, they slide on together at the blended velocity.
        EXPECT_LT(bike.speed, 25.0f);
        EXPECT_FLOAT_EQ(bike.crashEnergy, Energy(bike.speed));
    }
    // Each keeps 0.3 of its own velocity and takes 0.7 of the other's.
    const float across = 25.0f * std::sin(0.6f);
    EXPECT_NEAR(bikes_[0].velocity[0], 0.7f * across, 1e-4f);
    EXPECT_NEAR(bikes_[1].velocity[0], 0.3f * across, 1e-4f);
    EXPECT_EQ(manager_->CrashedCount(), 2u);
}

TEST_F(RiderContactTest, WithoutTheAttritionsConsentATouchCrashesNobody)
{
    Place(0, 0.0f, 0.0f, 0.0f, 25.0f);
    Place(1, 0.6f, 0.2f, 0.6f, 25.0f);
    crashOut_.agree = false;

    manager_->CollideRiders(0, 1);

    EXPECT_FALSE(bikes_[0].IsDown());
    EXPECT_FALSE(bikes_[1].IsDown());
    EXPECT_EQ(manager_->CrashedCount(), 0u);
}

TEST_F(RiderContactTest, ARiderHitFromBehindByAMuchFasterOneGoesDown)
{
    Place(0, 0.0f, 1.5f, 0.0f, 10.0f);
    Place(1, 0.0f, 0.0f, 0.0f, 25.0f);

    manager_->CollideRiders(0, 1);

    EXPECT_TRUE(bikes_[0].IsDown());
    EXPECT_EQ(bikes_[0].crashAnimation, crash_animation::kSlowSlide);
    EXPECT_FALSE(bikes_[1].IsDown());
}

TEST_F(RiderContactTest, ARiderWhoRunsIntoACrashedOneIsThrownOverTheBars)
{
    Place(0, 0.0f, 1.5f, 0.0f, 2.0f);
    Place(1, 0.0f, 0.0f, 0.0f, 35.0f);
    manager_->CrashPlain(0);

    manager_->CollideRiders(0, 1);

    const BikeRecord& thrown = bikes_[1];
    ASSERT_TRUE(thrown.IsDown());
    EXPECT_EQ(thrown.crashAnimation, crash_animation::kOverTheBars);
    EXPECT_FLOAT_EQ(thrown.crashEnergy, Energy(35.0f));
    EXPECT_FLOAT_EQ(thrown.crashSpinRate, Energy(35.0f) * 0.0002f);
    EXPECT_FLOAT_EQ(thrown.crashRollRate, 0.5f);
    EXPECT_FLOAT_EQ(thrown.velocity[1], 5.0f) << "launched at a seventh of the speed";
}

TEST_F(RiderContactTest, RidersWaitingInThePitsOrInactiveAreNeverHit)
{
    for (const uint32_t status : {3u, 6u})
    {
        Place(0, 0.0f, 0.0f, 0.0f, 30.0f);
        Place(1, 0.6f, 0.2f, 0.6f, 30.0f).raceStatus = status;
        EXPECT_EQ(manager_->CollideRiders(0, 1), 1u);
        EXPECT_FALSE(bikes_[0].IsDown());
        EXPECT_EQ(bikes_[0].flags, 0u) << status;
    }
    Place(0, 0.0f, 0.0f, 0.0f, 30.0f);
    Place(1, 0.6f, 0.2f, 0.6f, 30.0f).flags = bike_flags::kInactive;
    EXPECT_EQ(manager_->CollideRiders(0, 1), 1u);
    EXPECT_EQ(bikes_[0].flags, 0u);
}

TEST_F(RiderContactTest, RidersApartDoNotTouch)
{
    Place(0, 0.0f, 0.0f, 0.0f, 30.0f);
    Place(1, 0.9f, 0.0f, 0.0f, 30.0f);
    EXPECT_EQ(manager_->CollideRiders(0, 1), 0u);
    EXPECT_EQ(manager_->CollideRiders(1, 0), 0u);
    EXPECT_EQ(bikes_[0].flags, 0u);
}

TEST_F(RiderContactTest, TheSweepTestsTheRidersThatCloseIn)
{
    Place(0, 0.0f, 0.0f, 0.0f, 20.0f);
    Place(1, 5.0f, 0.0f, 0.0f, 20.0f);
    manager_->ResetForRace(riders_);
    manager_->BuildSweepLists();
    RunSteps(1);
    EXPECT_EQ(bikes_[0].flags, 0u);

    bikes_[1].positionX = 0.6f;
    RunSteps(1);
    EXPECT_NE(bikes_[0].flags & CollisionManager::kContactFlag, 0u);
    EXPECT_EQ(manager_->StepCounter(), 2u);
}

struct CrashRequestCase
{
    int32_t request;
    uint32_t animation;
};

class CrashRequestTest : public CollisionRig, public testing::WithParamInterface<CrashRequestCase>
{
};

TEST_P(CrashRequestTest, EachRequestOfTheDynamicsHasItsCrash)
{
    BikeRecord& bike = Place(0, 0.0f, 0.0f, 0.0f, 30.0f);
    bike.steer = -0.3f;
    manager_->ReactToCrashRequest(0, GetParam().request);

    EXPECT_TRUE(bike.IsDown());
    EXPECT_EQ(bike.crashAnimation, GetParam().animation);
    EXPECT_EQ(bike.clipId, GetParam().animation);
    EXPECT_EQ(bike.animFlags & 1u, 1u) << "steering left mirrors the clip";
    EXPECT_FLOAT_EQ(bike.crashTimer, 10.0f);
    EXPECT_FLOAT_EQ(bike.crashEnergy, Energy(30.0f));
    EXPECT_EQ(bike.crashSurface, 4) << "the asphalt under the bike";
    EXPECT_FLOAT_EQ(bike.crashSurfaceCoefficient, 5.4f);

    // A second crash of a rider who is down changes nothing.
    const BikeRecord before = bike;
    manager_->CrashThrown(0);
    EXPECT_EQ(std::memcmp(&before, &bike, sizeof bike), 0);
}

INSTANTIATE_TEST_SUITE_P(Requests, CrashRequestTest,
                         testing::Values(CrashRequestCase{1, crash_animation::kSlowSlide},
                                         CrashRequestCase{2, crash_animation::kSlowSlideTurned},
                                         CrashRequestCase{3, crash_animation::kSlowSlideTurned},
                                         CrashRequestCase{4, crash_animation::kOverTheBars},
                                         CrashRequestCase{5, crash_animation::kBackward}),
                         [](const testing::TestParamInfo<CrashRequestCase>& info)
                         { return "Request" + std::to_string(info.param.request); });

TEST_F(RiderContactTest, TheCrashChosenFollowsSpeedAndSteering)
{
    struct Case
    {
        uint32_t kind;
        float speed;
        float steer;
        int32_t animation;
    };
    for (const Case& c : {Case{1, 15.0f, 0.2f, 0}, Case{1, 15.0f, 0.6f, 1}, Case{1, 25.0f, 0.2f, 2},
                          Case{1, 25.0f, 0.6f, 3}, Case{2, 25.0f, 0.0f, 30},
                          Case{3, 25.0f, 0.0f, 31}, Case{4, 25.0f, 0.0f, -1}})
    {
        Place(0, 0.0f, 0.0f, 0.0f, c.speed).steer = c.steer;
        EXPECT_EQ(manager_->ChooseCrash(0, c.kind), c.animation) << c.kind << " " << c.speed;
        EXPECT_EQ(bikes_[0].IsDown(), c.animation >= 0);
    }
}

TEST_F(RiderContactTest, AFallStartsOnceAndRestartsItsTimer)
{
    BikeRecord& bike = Place(0, 0.0f, 0.0f, 0.0f, 12.0f);
    bike.steer = 0.4f;
    manager_->FallOfType(0, 2);
    EXPECT_EQ(bike.clipId, fall_type::kFirstGesture + 2);
    EXPECT_EQ(bike.animFlags & 1u, 1u) << "steering right mirrors a fall";
    EXPECT_FLOAT_EQ(bike.holdTime, 10.0f);
    EXPECT_FLOAT_EQ(bike.slideSpeed, 12.0f);

    bike.fallTimer = 3.0f;
    bike.clipFrame = 5.0f;
    EXPECT_FALSE(manager_->StartFall(0, fall_type::kOffTrack));
    EXPECT_EQ(bike.clipId, fall_type::kFirstGesture + 2) << "the running clip goes on";
    EXPECT_FLOAT_EQ(bike.clipFrame, 5.0f);
    EXPECT_FLOAT_EQ(bike.fallTimer, 10.0f);
}

// The incremental broad phase against a brute-force test of every pair, over riders and
// objects moving at random for many steps.
TEST(SweepAndPruneTest, KeepsExactlyTheOverlappingPairsAsEntitiesMove)
{
    constexpr uint32_t kEntities = 40;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> place(-6.0f, 6.0f);
    std::uniform_real_distribution<float> move(-0.4f, 0.4f);
    std::array<std::pair<float, float>, kEntities> positions;
    for (auto& p : positions)
    {
        p = {place(random), place(random)};
    }
    SweepAndPrune sweep;
    sweep.Clear();
    for (uint32_t i = 0; i < kEntities; ++i)
    {
        ASSERT_TRUE(sweep.Add(i, i < 26 ? 1.0f : 0.3f));
    }
    const auto position = [&](uint32_t value, float& x, float& z)
    { std::tie(x, z) = positions[value]; };
    sweep.Build(position);
    for (int step = 0; step < 300; ++step)
    {
        std::set<std::pair<uint32_t, uint32_t>> found;
        sweep.ForEachPair([&](uint32_t a, uint32_t b) { found.insert({a, b}); });
        std::set<std::pair<uint32_t, uint32_t>> expected;
        for (uint32_t a = 0; a < kEntities; ++a)
        {
            for (uint32_t b = a + 1; b < kEntities; ++b)
            {
                const float reach = (a < 26 ? 1.0f : 0.3f) + (b < 26 ? 1.0f : 0.3f);
                if (std::fabs(positions[a].first - positions[b].first) < reach &&
                    std::fabs(positions[a].second - positions[b].second) < reach)
                {
                    expected.insert({a, b});
                }
            }
        }
        ASSERT_EQ(found, expected) << "step " << step;
        for (auto& p : positions)
        {
            p.first += move(random);
            p.second += move(random);
        }
        sweep.Update(position);
    }
}

TEST(SweepAndPruneTest, IntervalsThatOnlyTouchOnOneAxisFormNoPair)
{
    SweepAndPrune sweep;
    sweep.Clear();
    sweep.Add(0, 1.0f);
    sweep.Add(1, 1.0f);
    std::array<std::pair<float, float>, 2> positions = {{{0.0f, 0.0f}, {2.0f, 0.5f}}};
    const auto position = [&](uint32_t value, float& x, float& z)
    { std::tie(x, z) = positions[value]; };
    sweep.Build(position);
    uint32_t pairs = 0;
    sweep.ForEachPair([&](uint32_t, uint32_t) { ++pairs; });
    EXPECT_EQ(pairs, 0u);
    EXPECT_TRUE(sweep.Overlap(1, 0, 1)) << "they do overlap along z";
    EXPECT_FALSE(sweep.Overlap(0, 0, 1));

    positions[1].first = 1.99f;
    sweep.Update(position);
    sweep.ForEachPair([&](uint32_t, uint32_t) { ++pairs; });
    EXPECT_EQ(pairs, 1u);
}
}  // namespace
