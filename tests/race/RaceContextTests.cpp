// The race context: races side by side, the game's names for its own race, and the field's
// data files (rider profiles and class set-ups).

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "race/BikeSetupImage.h"
#include "race/RaceContext.h"
#include "race/RiderProfileFile.h"
#include "tests/support/TestDirectory.h"

namespace
{
template <typename Bytes>
std::string AsString(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

BikeSetup RideableSetup(float mass)
{
    BikeSetup setup{};
    setup.mass = mass;
    setup.frontLoadArm = setup.rearLoadArm = 0.5f;
    setup.rpmScale = 12000.0f;
    setup.frontSpringRate = setup.rearSpringRate = 20000.0f;
    setup.frontTravel = setup.rearTravel = 0.12f;
    setup.frontTyreRadius = setup.rearTyreRadius = 0.3f;
    return setup;
}

TEST(RaceContextTest, TheGameNamesAreItsOwnRace)
{
    EXPECT_EQ(&g_bikes, &g_raceContext.bikes);
    EXPECT_EQ(&g_playerRider, &g_raceContext.playerRider);
    EXPECT_EQ(&g_riderCount, &g_raceContext.current.riderCount);
    EXPECT_EQ(&g_race, &g_raceContext.race);
    EXPECT_EQ(&g_riderProfiles, &g_raceContext.riderProfiles);
    EXPECT_EQ(&g_randomTable, &g_raceContext.randomTable);
}

TEST(RaceContextTest, TwoRacesSideBySideShareNothing)
{
    TestDirectory directory;
    const auto first = std::make_unique<RaceContext>("first.cpr");
    const auto second = std::make_unique<RaceContext>("second.cpr");
    first->bikes[3].setup = RideableSetup(250.0f);
    first->current.engineConditions = 1;
    first->bikes[3].InitPhysics(3, first->current);
    first->race.nodeCount = 40;
    first->riderProfiles[2].paceBase = 0.93f;
    first->randomTable.words[7] = 1234;
    EXPECT_EQ(second->bikes[3].setup.mass, 0.0f);
    EXPECT_EQ(second->bikes[3].speed, 0.0f);
    EXPECT_EQ(second->race.nodeCount, 0);
    EXPECT_EQ(second->riderProfiles[2].paceBase, 1.0f);
    EXPECT_EQ(second->randomTable.words[7], 0u);
    EXPECT_EQ(second->current.engineConditions, 0u);
}

class FieldFilesTest : public ::testing::Test
{
protected:
    TestDirectory directory_;
    std::unique_ptr<RaceContext> context_ = std::make_unique<RaceContext>("records.cpr");
};

TEST_F(FieldFilesTest, ProfilesComeFromTheClassFile)
{
    std::array<RiderProfile, 2> riders;
    riders[1].rangeBase = 2.0f;
    riders[1].firstName = {'A', 'n', 'a'};
    directory_.WriteFile("bikedaten/fahrerdaten2.tst", AsString(EncodeRiderProfiles(riders)));
    context_->current.bikeClass = BikeClass::Class500;
    ASSERT_TRUE(context_->LoadRiderProfiles());
    EXPECT_EQ(context_->race.riderCount, 2);
    EXPECT_EQ(context_->riderProfiles[1].activeRange, 2.0f);
    EXPECT_EQ(context_->riderProfiles[1].ShownName(), "Ana ");

    context_->current.bikeClass = BikeClass::Class125;
    EXPECT_FALSE(context_->LoadRiderProfiles()) << "no file for the class";
    std::vector<uint8_t> tooMany = EncodeRiderProfiles(std::vector<RiderProfile>(27));
    directory_.WriteFile("Bikedaten/Fahrerdaten0.tst", AsString(tooMany));
    EXPECT_FALSE(context_->LoadRiderProfiles());
    EXPECT_EQ(context_->race.riderCount, 2);
}

TEST_F(FieldFilesTest, EveryBikeGetsTheStandardOrItsRidersOwnSetup)
{
    directory_.WriteFile("Raddaten/250Std.rdf", AsString(EncodeBikeSetup(RideableSetup(200))));
    directory_.WriteFile("Raddaten/250AB.rdf", AsString(EncodeBikeSetup(RideableSetup(210))));
    directory_.WriteFile("Raddaten/250CD.rdf", AsString(EncodeBikeSetup(RideableSetup(0))));
    context_->riderProfiles[4].setupFileChars = {'A', 'B'};
    context_->riderProfiles[5].setupFileChars = {'C', 'D'};  // not rideable
    context_->riderProfiles[6].setupFileChars = {'E', 'F'};  // missing
    ASSERT_TRUE(context_->LoadClassBikeSetups(nullptr, BikeClass::Class250));
    EXPECT_EQ(context_->bikes[4].setup.mass, 210.0f);
    for (const size_t rider : {0, 5, 6, 25})
    {
        EXPECT_EQ(context_->bikes[rider].setup.mass, 200.0f) << "rider " << rider;
    }
    EXPECT_EQ(context_->classStandard.mass, 200.0f);
}

TEST_F(FieldFilesTest, WithoutARideableStandardNothingChanges)
{
    context_->bikes[0].setup = RideableSetup(190);
    EXPECT_FALSE(context_->LoadClassBikeSetups(nullptr, BikeClass::Class125));
    directory_.WriteFile("Raddaten/125Std.rdf", std::string(1091, '\0'));
    EXPECT_FALSE(context_->LoadClassBikeSetups(nullptr, BikeClass::Class125));
    EXPECT_FALSE(context_->LoadClassBikeSetups(nullptr, static_cast<BikeClass>(3)));
    EXPECT_EQ(context_->bikes[0].setup.mass, 190.0f);
}

TEST(BikeSetupImageTest, TheImageIsTheBlockInItsLayout)
{
    BikeSetup setup = RideableSetup(205.5f);
    setup.baseEngineCurve[199] = -3.0f;
    setup.rearTyre = 100;
    setup.reserved3 = {std::byte{1}, std::byte{2}, std::byte{3}};
    const BikeSetupImage image = EncodeBikeSetup(setup);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&image[8])), 205.5f);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(&image[52 + 4 * 199])), -3.0f);
    EXPECT_EQ(image[1083], 100);
    EXPECT_EQ(image[1091], 3);
    const std::optional<BikeSetup> read = DecodeBikeSetup(image);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(EncodeBikeSetup(*read), image);
    EXPECT_FALSE(DecodeBikeSetup(std::span(image).first(1091)).has_value());
    EXPECT_TRUE(IsRideableSetup(setup));
    setup.frontBrakeDrag = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(IsRideableSetup(setup));
}
}  // namespace
