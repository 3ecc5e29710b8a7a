// The demo ghost against a lap the race records for a player on the same circuit: its machine
// stands on the ground and pitches about the same axle, so it rides where a recorded ghost does.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "kit/laps/DemoGhost.h"
#include "race/laps/GhostPose.h"
#include "tests/race/support/HeadlessRace.h"

namespace
{
// The player's machine and rider as nodes of the 3D region, for the race to pose and record.
class RiggedRider
{
public:
    explicit RiggedRider(BikeRecord& bike) : bike_(bike)
    {
        EXPECT_TRUE(region::Reserve());
        for (size_t slot = 0; slot < kBikeNodeSlots; ++slot)
        {
            const uint32_t offset = region::Allocate(sizeof(WorldObject));
            std::memset(region::Address(offset), 0, sizeof(WorldObject));
            BikeLink(bike_.links, slot) = RiderObjectLinks::Link::FromOffset(offset);
        }
    }
    ~RiggedRider()
    {
        for (size_t slot = 0; slot < kBikeNodeSlots; ++slot)
        {
            region::Free(region::OffsetOf(BikeNode(bike_, slot)));
            BikeLink(bike_.links, slot) = {};
        }
    }
    RiggedRider(const RiggedRider&) = delete;
    RiggedRider& operator=(const RiggedRider&) = delete;

private:
    BikeRecord& bike_;
};

constexpr size_t kMachinePitchChannel = 3;

// The channel's mean over the samples where the machine is level: a machine that pitches up
// turns about its rear axle.
float LevelMean(const std::vector<LapSample>& samples, size_t channel)
{
    float sum = 0.0f;
    size_t count = 0;
    for (const LapSample& sample : samples)
    {
        if (sample.pose[kMachinePitchChannel] == 0.0f)
        {
            sum += sample.pose[channel];
            ++count;
        }
    }
    EXPECT_GT(count, samples.size() / 2);
    return sum / static_cast<float>(count);
}

TEST(DemoGhostPoseTest, StandsOnTheGroundAndPitchesAboutTheAxleAsARecordedLap)
{
    HeadlessRaceOptions options;
    options.riders = 2;
    options.bikeClass = BikeClass::Class125;
    options.player = HeadlessPlayer{};
    HeadlessRace race(options);
    const RiggedRider rigged(race.Race().bikes[0]);
    while (race.Sim().TicksDone() < HeadlessRace::kStartLightSteps + 25 * 20)
    {
        race.Step();
    }
    const LapRecord& lap = race.Race().lapRecord;
    ASSERT_GT(lap.sampleCount, 100);
    std::vector<LapSample> recorded;
    for (int32_t i = 0; i < lap.sampleCount; ++i)
    {
        recorded.push_back(lap.Sample(i));
    }

    kit::LapFileContent ghost;
    std::string error;
    ASSERT_TRUE(kit::MakeDemoGhost(ghost, error)) << error;

    struct Channel
    {
        size_t index;
        const char* name;
    };
    for (const Channel channel :
         {Channel{kHeightChannel, "root height"}, Channel{4, "axle across"},
          Channel{5, "axle height"}, Channel{6, "axle along"}, Channel{15, "swing arm pivot"}})
    {
        SCOPED_TRACE(channel.name);
        EXPECT_NEAR(LevelMean(ghost.samples, channel.index), LevelMean(recorded, channel.index),
                    0.01f);
    }
}
}  // namespace
