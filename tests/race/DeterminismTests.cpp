// The same race computed again gives the same state at every step: over two runs, over any
// batching of steps into frames, after a reset, in every build, and after a rollback.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "race/LockstepState.h"
#include "tests/race/support/HostStateSender.h"
#include "tests/race/support/TestRace.h"

namespace
{
constexpr uint32_t kRiders = 6;
constexpr uint32_t kSteps = 1000;

using Checksums = std::array<uint32_t, kRiders>;

// Every rider's state checksum once per step, as the last rider is animated.
class ChecksumRecorder : public RaceServices
{
public:
    explicit ChecksumRecorder(const std::array<BikeRecord, kRiderCount>& bikes) : bikes_(bikes) {}
    void AnimateRider(uint32_t rider, float) override
    {
        if (rider != kRiders - 1)
        {
            return;
        }
        Checksums row{};
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            row[rider] = bikes_[rider].StateChecksum();
        }
        steps.push_back(row);
    }
    std::vector<Checksums> steps;

private:
    const std::array<BikeRecord, kRiderCount>& bikes_;
};

std::vector<Checksums> RunRace(TestRace& race, const std::function<uint32_t()>& batch)
{
    ChecksumRecorder recorder(race.Bikes());
    race.Sim().SetServices(&recorder);
    while (race.Sim().TicksDone() < kSteps)
    {
        race.TickSteps(std::min(batch(), kSteps - race.Sim().TicksDone()));
    }
    race.Sim().SetServices(nullptr);
    return recorder.steps;
}

// Names the first step and rider that differ.
void ExpectSame(const std::vector<Checksums>& expected, const std::vector<Checksums>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t step = 0; step < expected.size(); ++step)
    {
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            ASSERT_EQ(expected[step][rider], actual[step][rider])
                << "step " << step << ", rider " << rider;
        }
    }
}

// The first word at which two records differ, by its offset. The words the frame's effects
// write (they count frames, not steps) are left out.
std::string FirstDifference(const BikeRecord& a, const BikeRecord& b)
{
    const auto* x = reinterpret_cast<const uint32_t*>(&a);
    const auto* y = reinterpret_cast<const uint32_t*>(&b);
    for (size_t word = 0; word < sizeof(BikeRecord) / 4; ++word)
    {
        const size_t offset = 4 * word;
        if (offset == offsetof(BikeRecord, wheelFrameCounter) ||
            offset == offsetof(BikeRecord, soundRpm) ||
            offset == offsetof(BikeRecord, effectLevels))
        {
            continue;
        }
        if (x[word] != y[word])
        {
            return "byte offset " + std::to_string(4 * word);
        }
    }
    return "";
}

// The end checksums of the reference race, the same in every build.
constexpr Checksums kEndChecksums = {4283225113, 3463716914, 310563790,
                                     417518662,  3568386235, 1184825108};

TEST(DeterminismTest, TwoRunsAndEveryBatchingGiveTheSameSteps)
{
    TestRace first(kRiders);
    const auto reference = RunRace(first, [] { return 1u; });
    TestRace second(kRiders);
    ExpectSame(reference, RunRace(second, [] { return 1u; }));
    TestRace fives(kRiders);
    ExpectSame(reference, RunRace(fives, [] { return 5u; }));
    std::mt19937 generator(7);
    TestRace random(kRiders);
    ExpectSame(reference, RunRace(random, [&] { return static_cast<uint32_t>(generator() % 8); }));

    // A second race in the same objects.
    random.Restart();
    ExpectSame(reference, RunRace(random, [] { return 3u; }));

    Checksums end{};
    for (uint32_t rider = 0; rider < kRiders; ++rider)
    {
        end[rider] = reference.back()[rider];
    }
    EXPECT_EQ(end, kEndChecksums) << "the reference race changed";
}

class RollbackTest : public testing::Test
{
protected:
    RollbackTest()
        : host_(kRiders), client_(kRiders), sender_(host_.Bikes(), clientState_.hostStates)
    {
        hostState_.isHost = true;
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            hostState_.riderPresent[rider] = true;
            clientState_.riderPresent[rider] = true;
        }
        host_.Sim().SetLockstep(&hostState_);
        host_.Sim().SetServices(&sender_);
        client_.Sim().SetLockstep(&clientState_);
    }

    // Host and client frame by frame, the host's states arriving before the client's frame.
    void RunBoth(uint32_t steps, uint32_t perFrame)
    {
        while (client_.Sim().TicksDone() < steps)
        {
            host_.TickSteps(perFrame);
            client_.TickSteps(perFrame);
        }
    }

    void ExpectSameRecords()
    {
        ASSERT_EQ(host_.Sim().TicksDone(), client_.Sim().TicksDone());
        for (uint32_t rider = 0; rider < kRiders; ++rider)
        {
            EXPECT_EQ(FirstDifference(host_.Bikes()[rider], client_.Bikes()[rider]), "")
                << "rider " << rider;
        }
    }

    TestRace host_;
    TestRace client_;
    LockstepState hostState_;
    LockstepState clientState_;
    HostStateSender sender_;
};

TEST_F(RollbackTest, AClientThatDivergedIsTakenBackToTheHostsState)
{
    RunBoth(119, 1);
    ExpectSameRecords();
    // The client's rider 2 gains energy the host's never had.
    client_.Bikes()[2].kineticEnergy += 500.0f;
    RunBoth(400, 5);
    EXPECT_EQ(clientState_.divergenceStep.load(), kNoDivergence);
    EXPECT_EQ(client_.Sim().SkippedRollbacks(), 0u);
    ExpectSameRecords();
}

TEST_F(RollbackTest, ARollbackToAKnownStepResimulatesToTheSameState)
{
    RunBoth(200, 3);
    clientState_.NoteDivergence(160);
    EXPECT_FALSE(clientState_.NoteDivergence(180)) << "the first difference counts";
    RunBoth(300, 7);
    ExpectSameRecords();
    EXPECT_EQ(client_.Sim().SkippedRollbacks(), 0u);
}

TEST_F(RollbackTest, AStepBeyondTheRingIsNotRestored)
{
    RunBoth(200, 4);
    clientState_.NoteDivergence(8);
    RunBoth(204, 4);
    EXPECT_EQ(client_.Sim().SkippedRollbacks(), 1u);
    ExpectSameRecords();
}

TEST(LockstepOfflineTest, OfflineRacesNeverChecksum)
{
    TestRace race(2);
    race.RunTo(40, 4);
    EXPECT_EQ(race.Bikes()[0].checksum, 0u);
}
}  // namespace

namespace
{
// With falls on the field touches, crashes and slides: the same race computed again, in other
// batches, still gives the same states.
TEST(DeterminismTest, ARaceWithFallsAndCrashesRepeatsExactly)
{
    constexpr uint32_t kFallRiders = 26;
    constexpr uint32_t kFallSteps = 1500;
    const auto run = [](uint32_t batch)
    {
        TestRace race(kFallRiders, 10.0f, true);
        race.RunTo(kFallSteps, batch);
        std::array<uint32_t, kFallRiders> sums{};
        for (uint32_t rider = 0; rider < kFallRiders; ++rider)
        {
            sums[rider] = race.Bikes()[rider].StateChecksum();
        }
        return std::pair(sums, race.Sim().Collisions().CrashedCount());
    };
    const auto [sums, crashed] = run(1);
    EXPECT_GT(crashed, 0u) << "the field must meet";
    EXPECT_EQ(run(1).first, sums);
    EXPECT_EQ(run(7).first, sums);
}
}  // namespace
