#pragma once

// A collision manager over a flat asphalt field (200 m square, 10 m cells, grass along the
// edges) with class-2 machines, the race's lists and a random table of chosen words; and a
// crash-out check that agrees or refuses as a test sets it.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/RaceEvents.h"
#include "race/RaceSim.h"
#include "race/collision/CollisionManager.h"
#include "tests/race/ground/GridGround.h"

class ScriptedCrashOut : public CrashOutCheck
{
public:
    bool CheckCrashOut(uint32_t rider, uint32_t other) override
    {
        asked.push_back({rider, other});
        return agree;
    }
    bool agree = true;
    std::vector<std::array<uint32_t, 2>> asked;
};

class CollisionRig : public testing::Test
{
protected:
    static constexpr float kHalfField = 100.0f;

    CollisionRig();

    // A rider upright at (x, z) riding at speed along heading.
    BikeRecord& Place(uint32_t rider, float x, float z, float heading, float speed);
    // The manager as the tick drives it, steps times: fallen bikes, sweep, step, objects.
    void RunSteps(uint32_t steps);
    uint32_t SoundCount(RaceSound sound) const;

    BoundGround ground_;
    std::array<BikeRecord, kRiderCount> bikes_{};
    std::array<uint32_t, RaceSim::kRandomTableWords> random_{};
    std::unique_ptr<ChannelList> channels_ = std::make_unique<ChannelList>();
    RaceEvents events_;
    ScriptedCrashOut crashOut_;
    std::unique_ptr<CollisionManager> manager_ = std::make_unique<CollisionManager>();
    uint32_t riders_ = 2;
    uint32_t step_ = 0;
};
