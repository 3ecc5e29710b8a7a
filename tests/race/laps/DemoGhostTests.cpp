#include "kit/laps/DemoGhost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "race/laps/LapFile.h"
#include "race/laps/LapRecord.h"
#include "tests/support/TestDirectory.h"

namespace
{

TEST(DemoGhostTest, IsAValidTimedLapOfTheDemoCircuitThatTheGhostListOffers)
{
    kit::LapFileContent lap;
    std::string error;
    ASSERT_TRUE(kit::MakeDemoGhost(lap, error)) << error;
    const std::vector<uint8_t> bytes = kit::LapFileBytes(lap);
    auto record = std::make_unique<LapRecord>();
    ASSERT_TRUE(LoadLapFile(bytes, *record));
    EXPECT_EQ(record->valid, 1u);
    EXPECT_GT(record->sampleCount, 32) << "long enough to fade out";
    EXPECT_LE(record->times[3], 216000);
    EXPECT_EQ(record->times[3], record->sampleCount * 40);
    for (size_t line = 0; line < 3; ++line)
    {
        EXPECT_GT(record->times[line], 0) << "line " << line;
    }
    EXPECT_EQ(record->times[0] + record->times[1] + record->times[2], record->times[3]);
    EXPECT_EQ(record->header[static_cast<size_t>(LapHeaderWord::BikeClass)], 0) << "125 ccm";

    const TestDirectory directory;
    ASSERT_TRUE(kit::AddDemoGhost(directory.path(), error)) << error;
    EXPECT_EQ(directory.ReadFile(kit::kDemoGhostPath), std::string(bytes.begin(), bytes.end()));
}

}  // namespace
