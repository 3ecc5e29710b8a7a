#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <latch>
#include <thread>
#include <vector>

#include "core/util/RuntimeRandom.h"

namespace
{
std::vector<int> Draw(size_t count)
{
    std::vector<int> values(count);
    std::ranges::generate(values, RuntimeRand);
    return values;
}

TEST(RuntimeRandomTest, ProcessStartsFromSeedOne)
{
    // A fresh process, so that no other test has moved the generator.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(RuntimeRand() == 41 ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(RuntimeRandomTest, SeedOneGivesTheClassicSequence)
{
    RuntimeSeed(1);
    EXPECT_EQ(Draw(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(RuntimeRandomTest, ReseedingRestartsTheSequence)
{
    RuntimeSeed(12345);
    const std::vector<int> first = Draw(100);
    RuntimeSeed(12345);
    EXPECT_EQ(Draw(100), first);
    EXPECT_TRUE(std::ranges::all_of(first, [](int v) { return v >= 0 && v <= kRuntimeRandMax; }));

    RuntimeSeed(1);
    EXPECT_EQ(RuntimeRand(), 41);
}

TEST(RuntimeRandomTest, TwoThreadsShareOneSequenceWithoutLosingSteps)
{
    constexpr size_t kPerThread = 500000;
    RuntimeSeed(7);
    std::vector<int> expected = Draw(2 * kPerThread);

    RuntimeSeed(7);
    std::vector<int> drawnA;
    std::vector<int> drawnB;
    std::latch start(2);
    std::thread a(
        [&]
        {
            start.arrive_and_wait();
            drawnA = Draw(kPerThread);
        });
    std::thread b(
        [&]
        {
            start.arrive_and_wait();
            drawnB = Draw(kPerThread);
        });
    a.join();
    b.join();

    std::vector<int> drawn = drawnA;
    drawn.insert(drawn.end(), drawnB.begin(), drawnB.end());
    std::ranges::sort(drawn);
    std::ranges::sort(expected);
    EXPECT_TRUE(drawn == expected) << "a step was lost or taken twice";
}
}  // namespace
