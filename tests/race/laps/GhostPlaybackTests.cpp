#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "core/files/FileSystem.h"
#include "core/world/Region.h"
#include "core/world/WorldObject.h"
#include "kit/laps/DemoLaps.h"
#include "race/BikeRecord.h"
#include "race/ChannelList.h"
#include "race/RacingLine.h"
#include "race/laps/GhostPose.h"
#include "race/laps/LapFile.h"
#include "race/laps/LapRecord.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr LapHeader kHeader = {2, 1, 0, 20, 1, 1009, 18, 60};
constexpr LapTimes kTimes = {20000, 18000, 21000, 59000};

// A bike record with its 24 nodes in the 3D region.
struct RiggedBike
{
    RiggedBike()
    {
        EXPECT_TRUE(region::Reserve());
        bike = std::make_unique<BikeRecord>();
        RiderObjectLinks& links = bike->links;
        for (size_t slot = 0; slot < kBikeNodeSlots; ++slot)
        {
            const uint32_t offset = region::Allocate(sizeof(WorldObject));
            std::memset(region::Address(offset), 0, sizeof(WorldObject));
            BikeLink(links, slot) = RiderObjectLinks::Link::FromOffset(offset);
        }
    }
    ~RiggedBike()
    {
        for (size_t slot = 0; slot < kBikeNodeSlots; ++slot)
        {
            region::Free(region::OffsetOf(BikeNode(*bike, slot)));
        }
    }

    WorldObject& Node(size_t slot) const { return *BikeNode(*bike, slot); }

    std::unique_ptr<BikeRecord> bike;
};

// A closed line of nodes round an oval, 5 m apart.
std::vector<kit::LinePoint> Oval()
{
    std::vector<kit::LinePoint> points;
    for (uint16_t node = 0; node < 120; ++node)
    {
        const float angle = 6.2831853f * static_cast<float>(node) / 120.0f;
        points.push_back({node, 60.0f * std::cos(angle), 100.0f * std::sin(angle)});
    }
    return points;
}

std::unique_ptr<RacingLine> LineOf(const std::vector<kit::LinePoint>& points)
{
    auto line = std::make_unique<RacingLine>();
    line->nodeCount = static_cast<uint16_t>(points.size());
    line->pitLaneFirstNode = line->nodeCount;
    line->pitLaneEndNode = line->nodeCount;
    line->linkLimit = line->nodeCount;
    for (size_t node = 0; node < points.size(); ++node)
    {
        line->nodes[node].sideLink0 = RacingLine::kNoNode;
        line->nodes[node].sideLink1 = RacingLine::kNoNode;
    }
    return line;
}

void PutOnBike(const kit::RideState& state, RiggedBike& rigged)
{
    BikeRecord& bike = *rigged.bike;
    bike.aiTargetNode = state.node;
    bike.positionX = state.x;
    bike.positionZ = state.z;
    bike.heading = state.heading;
    bike.speed = state.speed;
    bike.acceleration = state.acceleration;
    bike.frontCompression = state.frontCompression;
    bike.rearCompression = state.rearCompression;
    bike.frontTyreHeat = bike.rearTyreHeat = state.tyreHeat;
    bike.frontGripWear = bike.rearGripWear = state.gripWear;
    bike.frontTyreHeatBase = bike.rearTyreHeatBase = state.tyreHeatBase;
    bike.frontHeatingFactor = bike.rearHeatingFactor = state.heatingFactor;
    bike.engineRpm = state.engineRpm;
    bike.engineCurve[static_cast<size_t>(state.engineRpm * 0.01f)] = state.enginePower;
    bike.engineTemperature = state.engineTemperature;
    bike.throttle = state.throttle;
    bike.brake = state.brake;
    bike.steer = state.steer;
    bike.gear = state.gear;
    for (size_t channel = 0; channel < LapSample::kPoseChannels; ++channel)
    {
        const PoseChannel& target = kPoseTargets[channel];
        PoseValue(rigged.Node(target.slot), target.field) = state.pose[channel];
    }
}

TEST(LapRoundTripTest, ARecordedLapIsTheKitsLapAndItsGhostRidesItAgain)
{
    const TestDirectory directory;
    ASSERT_TRUE(files::MakeDirectories("tempdaten"));
    const std::vector<kit::LinePoint> points = Oval();
    const auto line = LineOf(points);
    const std::vector<kit::RideState> ride = kit::RideLap(points, 12.0f, 22.0f);
    ASSERT_GT(ride.size(), 33u);

    // The game records the lap, step by step, and stores it at its end.
    RiggedBike player;
    auto recording = std::make_unique<LapRecord>();
    recording->InitRecording();
    for (const kit::RideState& state : ride)
    {
        PutOnBike(state, player);
        recording->AppendSample(*player.bike, state.raceTime);
    }
    recording->FinishLap(1, kHeader, kTimes, *line);
    EXPECT_EQ(recording->sampleCount, 0) << "the next lap starts from scratch";

    const std::vector<uint8_t> kitBytes = kit::LapFileBytes(kit::LapOfRide(ride, kHeader, kTimes));
    const auto written = files::ReadAll("Tempdaten/Daten_Runde1.fhr");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, kitBytes);
    EXPECT_EQ(CheckLapFile(1, nullptr), LapFileCheck::Usable);

    // Read back, it is the ghost; a player far away sees it solid.
    auto ghost = std::make_unique<LapRecord>();
    ASSERT_TRUE(ReadLapFile(SessionLapPath(1), *ghost));
    EXPECT_EQ(StoreLapFile(*ghost), kitBytes);
    EXPECT_EQ(CheckLapFile(1, ghost.get()), LapFileCheck::LoadedGhost);
    RiggedBike ghostBike;
    player.bike->positionX = 5000.0f;
    auto channels = std::make_unique<ChannelList>();
    ghost->RestartGhost(false);
    for (const kit::RideState& state : ride)
    {
        channels->Clear();
        ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
        ASSERT_EQ(ghostBike.bike->positionX, state.x);
        ASSERT_EQ(ghostBike.bike->positionZ, state.z);
        ASSERT_EQ(ghostBike.Node(0).placement.x, state.x);
        ASSERT_EQ(ghostBike.Node(0).placement.z, state.z);
        for (size_t channel = 0; channel < LapSample::kPoseChannels; ++channel)
        {
            const PoseChannel& target = kPoseTargets[channel];
            ASSERT_EQ(PoseValue(ghostBike.Node(target.slot), target.field), state.pose[channel]);
        }
        ASSERT_EQ(channels->Count(), 18u);
        ASSERT_EQ(ghostBike.bike->flags, bike_flags::kInactive | bike_flags::kDown)
            << "the ghost takes no part in the race";
    }
    // Then it waits at its first sample.
    ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
    EXPECT_EQ(ghostBike.bike->positionX, ride[0].x);
}

TEST(LapRoundTripTest, ALapOffTheMainLineIsStoredButNotValid)
{
    const TestDirectory directory;
    ASSERT_TRUE(files::MakeDirectories("tempdaten"));
    std::vector<kit::LinePoint> points = Oval();
    auto line = LineOf(points);
    line->pitLaneFirstNode = 60;  // the lap ends in the pit lane
    RiggedBike player;
    auto recording = std::make_unique<LapRecord>();
    recording->InitRecording();
    for (const kit::RideState& state : kit::RideLap(points, 0.0f, 30.0f))
    {
        PutOnBike(state, player);
        recording->AppendSample(*player.bike, state.raceTime);
    }
    recording->FinishLap(2, kHeader, kTimes, *line);
    EXPECT_EQ(CheckLapFile(2, nullptr), LapFileCheck::Unusable) << "written, not valid";
    EXPECT_EQ(recording->valid, 1u) << "the next lap may count again";

    // A lap of the same number again is not written a second time.
    ASSERT_TRUE(files::Remove(SessionLapPath(2)));
    recording->AppendSample(LapSample{}, false);
    recording->FinishLap(2, kHeader, kTimes, *line);
    EXPECT_FALSE(files::Exists(SessionLapPath(2)));
    recording->FinishLap(1, kHeader, kTimes, *line);
    EXPECT_FALSE(files::Exists(SessionLapPath(1))) << "nor an earlier one";
}

// A ghost of n samples, played with the player's bike far away: the fade step by step.
TEST(GhostFadeTest, FadesInThenOutOverItsLastSamplesThenWaitsAtItsStart)
{
    auto ghost = std::make_unique<LapRecord>();
    for (int32_t i = 0; i < 40; ++i)
    {
        LapSample sample;
        sample.groundX = static_cast<float>(i);
        ghost->AppendSample(sample, false);
    }
    ghost->SetGhostStart();
    ASSERT_EQ(ghost->ghostStart, 8);
    RiggedBike ghostBike;
    RiggedBike player;
    player.bike->positionZ = 1000.0f;
    auto channels = std::make_unique<ChannelList>();

    std::vector<int32_t> alphas;
    for (int step = 0; step < 44; ++step)
    {
        channels->Clear();
        ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
        alphas.push_back(ghost->alpha);
        const bool translucent = (ghostBike.Node(0).flags & object_flags::kConstantColour) != 0;
        EXPECT_EQ(translucent, ghost->alpha < 256) << "step " << step;
        if (translucent)
        {
            EXPECT_EQ(ghostBike.Node(23).colour >> 24, static_cast<uint32_t>(ghost->alpha));
        }
    }
    const std::vector<int32_t> expected = {4,   8,   12,  16,  20,  24,  28,  32,  // fading in
                                           256, 248, 240, 232, 224, 216, 208, 200, 192, 184,
                                           176, 168, 160, 152,  // then out
                                           144, 136, 128, 120, 112, 104, 96,  88,  80,  72,
                                           64,  56,  48,  40,  32,  24,  16,  8,  // the last sample
                                           11,  14,  17,  20};  // back at the start
    EXPECT_EQ(alphas, expected);
    EXPECT_EQ(ghostBike.bike->positionX, 0.0f);
}

TEST(GhostFadeTest, TheNearerThePlayerTheMoreTranslucent)
{
    auto ghost = std::make_unique<LapRecord>();
    LapSample sample;
    ghost->AppendSample(sample, false);
    ghost->fade = 256;
    ghost->playIndex = 5;  // past the lap: at sample 0, fully faded in
    RiggedBike ghostBike;
    RiggedBike player;
    auto channels = std::make_unique<ChannelList>();
    const struct
    {
        float distance;
        int32_t alpha;
    } kCases[] = {{0.0f, 80}, {1.0f, 93}, {2.0f, 134}, {4.0f, 256}, {3.0f, 201}};
    for (const auto& c : kCases)
    {
        player.bike->positionX = c.distance;
        ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
        EXPECT_EQ(ghost->alpha, c.alpha) << c.distance;
    }
}

TEST(GhostFadeTest, AGhostRestartedWithHoldWaitsAtItsStartUntilReleased)
{
    auto ghost = std::make_unique<LapRecord>();
    for (int32_t i = 0; i < 50; ++i)
    {
        LapSample sample;
        sample.groundZ = static_cast<float>(10 * i);
        ghost->AppendSample(sample, false);
    }
    RiggedBike ghostBike;
    RiggedBike player;
    auto channels = std::make_unique<ChannelList>();
    ghost->playIndex = 20;
    ghost->alpha = 200;
    ghost->RestartGhost(true);
    EXPECT_EQ(ghost->alpha, 0);
    for (int step = 0; step < 10; ++step)
    {
        ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
        EXPECT_EQ(ghostBike.bike->positionZ, 0.0f);
    }
    ghost->RestartGhost(false);
    ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
    ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
    EXPECT_EQ(ghostBike.bike->positionZ, 10.0f) << "riding its lap";
    EXPECT_EQ(ghostBike.bike->speed, 250.0f) << "10 m a step";
}

TEST(GhostFadeTest, AnEmptyGhostStaysInvisible)
{
    auto ghost = std::make_unique<LapRecord>();
    RiggedBike ghostBike;
    RiggedBike player;
    auto channels = std::make_unique<ChannelList>();
    ghostBike.bike->positionX = 7.0f;
    ghost->PlayGhost(*ghostBike.bike, *player.bike, *channels);
    EXPECT_EQ(ghost->alpha, 0);
    EXPECT_NE(ghostBike.Node(0).flags & object_flags::kConstantColour, 0);
    EXPECT_EQ(ghostBike.Node(0).colour >> 24, 0u);
    EXPECT_EQ(channels->Count(), 0u);
    EXPECT_EQ(ghostBike.bike->positionX, 7.0f);
}

}  // namespace
