#pragma once

// Riders on bikes for the rider tests: an object world bound to the linked vector engine, the
// shared figure under its root, and per rider a bike root with the bike's part, body and seat
// nodes, and a body of 13 nodes hanging from the seat by the hip, linked into the rider's
// record as the race content loader links them. Each body node carries its part code in its
// user value.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/world/ObjectWorld.h"
#include "core/archive/CprArchive.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "race/BikeRecord.h"
#include "tests/support/TestDirectory.h"

// The part code of each body part, in clip order.
inline constexpr uint32_t kPartCodes[13] = {0, 5, 1, 3, 2, 4, 7, 10, 8, 11, 9, 12, 6};

class RiderWorldTest : public ::testing::Test
{
protected:
    RiderWorldTest();
    ~RiderWorldTest() override;

    // The rider's bike stands at (x, z) with its seat at (0, 0.9, 0).
    void BuildRider(uint32_t rider, float x, float z);
    WorldObject* Part(uint32_t rider, int32_t part);
    // The demo installation's clips and pose table as the menu archive, until the test ends.
    void MountDemoMotions();

    ScriptedPlatform platform_;
    ScopedPlatform scopedPlatform_{platform_};
    TestDirectory directory_;
    ObjectWorld world_;
    WorldObject* root_ = nullptr;
    WorldObject* sharedFigure_ = nullptr;
    std::vector<BikeRecord> bikes_ = std::vector<BikeRecord>(kRiderCount);
    CprArchive menuArchive_;
};
