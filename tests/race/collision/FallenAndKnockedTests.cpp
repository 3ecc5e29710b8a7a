// What lies and slides after a crash or a hit: crashed bikes sliding to rest and taken off,
// bouncing off the edge of the ground and landing; knocked trackside objects tipping over and
// coming to rest; and the manager's state taken back by a rollback.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "race/SimMath.h"
#include "tests/race/collision/CollisionRig.h"
#include "tests/support/RegionRecords.h"

namespace
{
class FallenAndKnockedTest : public CollisionRig
{
protected:
    void SetUp() override { ASSERT_TRUE(region::Reserve()); }

    // A cone 0.3 m across and half a metre high, standing on its placement's ground.
    WorldObject* Cone(float x, float z)
    {
        auto* corners = NewRegionRecords<MeshVertex>(8);
        for (uint32_t i = 0; i < 8; ++i)
        {
            corners[i].position = {(i & 1) != 0 ? 0.15f : -0.15f, (i & 2) != 0 ? 0.25f : -0.248f,
                                   (i & 4) != 0 ? 0.15f : -0.15f};
        }
        auto* body = NewRegionRecords<CollisionBody>();
        body->vertexCount = 8;
        body->vertices.set(corners);
        auto* cone = NewRegionRecords<WorldObject>();
        cone->collisionBody.set(body);
        cone->placement = {x, 5.0f, z};
        return cone;
    }

    // Steps until the rider's crashed bike has lain still; the steps taken.
    uint32_t StepsToRest(uint32_t rider, uint32_t limit)
    {
        uint32_t steps = 0;
        while (bikes_[rider].speed > 0.0f && steps < limit)
        {
            RunSteps(1);
            ++steps;
        }
        return steps;
    }
};

TEST_F(FallenAndKnockedTest, ACrashedBikeSlidesToRestOnItsSideAndIsTakenOff)
{
    BikeRecord& bike = Place(0, 0.0f, -50.0f, 0.0f, 25.0f);
    auto* root = NewRegionRecords<WorldObject>();
    auto* body = NewRegionRecords<WorldObject>();
    bike.links.bikeRoot.set(root);
    bike.links.bikeBody.set(body);
    manager_->CrashPlain(0);

    RunSteps(1);
    EXPECT_EQ(channels_->Count(), 4u) << "turn, tumble and height reach the drawn frames";
    const uint32_t sliding = StepsToRest(0, 1000);
    // Asphalt's friction takes 5.4 m/s each second.
    EXPECT_NEAR(static_cast<float>(sliding + 1) * 0.04f, 25.0f / 5.4f, 0.2f);
    EXPECT_NEAR(bike.positionZ, -50.0f + 25.0f * 25.0f / (2 * 5.4f), 1.5f);
    EXPECT_NEAR(bike.groundHeight, 0.3f, 0.05f) << "lying on its side, half its width up";

    RunSteps(100);
    EXPECT_FLOAT_EQ(std::fabs(bike.crashTumbleAngles[1]), sim::kPi / 2) << "settled on its side";
    EXPECT_GT(bike.crashTimer, 0.0f);
    EXPECT_EQ(root->flags & object_flags::kNoOwnPolygons, 0);

    RunSteps(160);
    EXPECT_LT(bike.crashTimer, 0.0f) << "ten seconds after it came to rest";
    EXPECT_FLOAT_EQ(bike.positionX, CollisionManager::kOutOfTheWay);
    EXPECT_FLOAT_EQ(root->placement.x, CollisionManager::kOutOfTheWay);
    EXPECT_NE(root->flags & object_flags::kNoOwnPolygons, 0);
    EXPECT_NE(body->flags & object_flags::kNoOwnPolygons, 0);

    // Taken off for good: it moves no more and meets nobody.
    RunSteps(50);
    EXPECT_FLOAT_EQ(bike.positionX, CollisionManager::kOutOfTheWay);
    EXPECT_TRUE(bike.IsDown());
}

TEST_F(FallenAndKnockedTest, ABikeSlidingOffTheGroundBouncesBackOntoIt)
{
    BikeRecord& bike = Place(0, 85.0f, 0.0f, sim::kPi / 2, 30.0f);
    manager_->CrashPlain(0);
    bool bounced = false;
    for (int step = 0; step < 300; ++step)
    {
        RunSteps(1);
        ASSERT_LE(bike.positionX, kHalfField) << "step " << step;
        ASSERT_TRUE(std::isfinite(bike.positionZ));
        bounced = bounced || bike.velocity[0] < 0.0f;
    }
    EXPECT_TRUE(bounced);
    EXPECT_EQ(bike.speed, 0.0f);
    EXPECT_GE(bike.crashSurface, 3) << "at rest on the ground";
}

TEST_F(FallenAndKnockedTest, AThrownBikeLandsOnceWithAnImpact)
{
    BikeRecord& bike = Place(0, 0.0f, -50.0f, 0.0f, 35.0f);
    manager_->CrashThrown(0);
    ASSERT_FLOAT_EQ(bike.velocity[1], 5.0f);
    RunSteps(20);
    EXPECT_GT(bike.groundHeight, 1.0f) << "in the air";
    EXPECT_EQ(SoundCount(RaceSound::Impact), 0u);
    RunSteps(200);
    EXPECT_EQ(SoundCount(RaceSound::Impact), 1u);
    EXPECT_EQ(bike.crashGroundContact, 1u);
    EXPECT_LT(bike.groundHeight, 1.0f);
}

TEST_F(FallenAndKnockedTest, AKnockedConeTipsOverAndComesToRest)
{
    manager_->ResetForRace(riders_);
    WorldObject* cone = Cone(0.1f, -1.0f);
    ASSERT_TRUE(manager_->AddTrackObject(*cone));
    EXPECT_FLOAT_EQ(cone->placement.y, 0.248f) << "stood on the ground";
    Place(0, 0.0f, -1.5f, 0.0f, 15.0f);

    EXPECT_EQ(manager_->CollideObject(0, 0), 1u);
    const CollisionManager::TrackObject& record = manager_->TrackObjectAt(0);
    EXPECT_TRUE(record.knocked);
    EXPECT_NEAR(record.velocity[1], 15.0f * 0.125f, 1e-5f) << "thrown up by a fast rider";
    EXPECT_EQ(manager_->MovingObjectCount(), 1u);
    EXPECT_FLOAT_EQ(bikes_[0].speed, 15.0f) << "the rider does not notice";

    uint32_t steps = 0;
    while (record.knocked && steps < 500)
    {
        manager_->UpdateTrackObjects(0.04f);
        EXPECT_EQ(manager_->CollideObject(0, 0), 0u) << "no second hit while it moves";
        ++steps;
    }
    EXPECT_LT(steps, 150u);
    EXPECT_EQ(manager_->MovingObjectCount(), 0u);
    EXPECT_FLOAT_EQ(std::fabs(cone->angles[0]), 2.0707965f) << "tipped over";
    EXPECT_GT(cone->placement.z, 0.0f) << "knocked along the rider's way";
    EXPECT_GT(cone->placement.y, 0.0f);
    EXPECT_LT(cone->placement.y, 0.5f);

    // At rest it can be hit again.
    Place(0, cone->placement.x, cone->placement.z - 1.0f, 0.0f, 5.0f);
    EXPECT_EQ(manager_->CollideObject(0, 0), 1u);
}

TEST_F(FallenAndKnockedTest, TheTableTakesThirtyTwoObjects)
{
    manager_->ResetForRace(riders_);
    for (uint32_t i = 0; i < CollisionManager::kMaxTrackObjects; ++i)
    {
        ASSERT_TRUE(manager_->AddTrackObject(*Cone(static_cast<float>(i), 10.0f)));
    }
    EXPECT_FALSE(manager_->AddTrackObject(*Cone(40.0f, 10.0f)));
    EXPECT_EQ(manager_->TrackObjectCount(), CollisionManager::kMaxTrackObjects);
    manager_->BuildSweepLists();
    EXPECT_EQ(manager_->Sweep().Count(), CollisionManager::kMaxTrackObjects)
        << "no rider is active";
}

TEST_F(FallenAndKnockedTest, TheEventTableIgnoresEntriesBeyondItsSize)
{
    for (uint32_t i = 0; i < 600; ++i)
    {
        manager_->AddEvent(i, 0, 0, 0);
    }
    EXPECT_EQ(manager_->EventCount(), CollisionManager::kEventCapacity);
    EXPECT_EQ(manager_->EventAt(499).words[0], 499u);
}

TEST_F(FallenAndKnockedTest, ARollbackTakesTheObjectsAndTheSweepBack)
{
    manager_->ResetForRace(riders_);
    WorldObject* cone = Cone(0.1f, -1.0f);
    manager_->AddTrackObject(*cone);
    Place(0, 0.0f, -1.5f, 0.0f, 15.0f);
    Place(1, 20.0f, 0.0f, 0.0f, 15.0f);
    manager_->BuildSweepLists();
    RunSteps(1);
    ASSERT_EQ(manager_->MovingObjectCount(), 1u);

    manager_->SaveRollbackState(5);
    const Vector3 placement = cone->placement;
    const CollisionManager::TrackObject record = manager_->TrackObjectAt(0);
    const uint32_t counter = manager_->StepCounter();
    RunSteps(200);
    ASSERT_EQ(manager_->MovingObjectCount(), 0u);

    manager_->RestoreRollbackState(5);
    EXPECT_EQ(manager_->MovingObjectCount(), 1u);
    EXPECT_EQ(manager_->StepCounter(), counter);
    EXPECT_EQ(std::memcmp(&cone->placement, &placement, sizeof placement), 0);
    EXPECT_EQ(std::memcmp(&manager_->TrackObjectAt(0), &record, sizeof record), 0);
}
}  // namespace
