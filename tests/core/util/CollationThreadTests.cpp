#include "core/util/Collation.h"

#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <thread>
#include <vector>

namespace
{

// Each test runs in a process of its own, so the threads meet an unbuilt table.
TEST(CollationThreadTest, FirstUseFromManyThreadsAtOnce)
{
    constexpr int kThreads = 8;
    std::latch start(kThreads);
    std::vector<int> results(kThreads, -2);
    std::vector<std::string> names(kThreads, "\xC4RGER.BMP");
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
    {
        threads.emplace_back(
            [&, i]
            {
                start.arrive_and_wait();
                if (i % 2 == 0)
                {
                    results[i] = CompareNamesFromEnd("\xE4rger.bmp", "\xC4RGER.BMP");
                }
                else
                {
                    LowerCaseInPlace(names[i].data());
                    results[i] = names[i] == "\xE4rger.bmp" ? 0 : 1;
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    for (int result : results)
    {
        EXPECT_EQ(result, 0);
    }
}

}  // namespace
