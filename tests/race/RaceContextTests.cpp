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

// At a session's start a computer rider always takes its own file, any other rider only when
// its set-up was made for another class; the player's tuned set-up rides.
TEST_F(FieldFilesTest, ASessionsStartKeepsAFittingPlayerSetupAndGivesComputerRidersTheirOwn)
{
    struct Case
    {
        BikeClass bikeClass;
        const char* classText;
        float fitting;
        float notFitting;
    };
    constexpr float kTuned = 123.0f;
    constexpr float kStandard = 100.0f;
    constexpr float kOwn = 110.0f;
    const auto withCcm = [](float mass, float ccm)
    {
        BikeSetup setup = RideableSetup(mass);
        setup.displacementCcm = ccm;
        return setup;
    };
    for (const Case& c : {Case{BikeClass::Class125, "125", 125.0f, 160.0f},
                          Case{BikeClass::Class250, "250", 250.0f, 310.0f},
                          Case{BikeClass::Class500, "500", 500.0f, 340.0f}})
    {
        SCOPED_TRACE(c.classText);
        const std::string dir = std::string("Raddaten/") + c.classText;
        directory_.WriteFile(dir + "Std.rdf", AsString(EncodeBikeSetup(RideableSetup(kStandard))));
        directory_.WriteFile(dir + "AB.rdf", AsString(EncodeBikeSetup(RideableSetup(kOwn))));
        context_->current.bikeClass = c.bikeClass;
        context_->current.gameMode = GameMode::Race;
        // rider: race status, its set-up's displacement, the mass it rides with.
        const struct
        {
            uint32_t status;
            float ccm;
            float expected;
        } riders[] = {
            {0, c.fitting, kTuned},   // the player in a race
            {1, c.fitting, kTuned},   // the player on a test ride
            {2, c.fitting, kTuned},   // a player of another machine
            {4, c.fitting, kTuned},   // status 4 is no computer rider's
            {0, c.notFitting, kOwn},  // another class's set-up
            {1, c.notFitting, kOwn},
            {3, c.fitting, kOwn},                                // a computer rider on a test ride
            {5, c.fitting, kOwn},                                // left out
            {6, c.fitting, kOwn},                                // in the weekend's field
            {9, c.fitting, kOwn},                                // racing
            {0, std::numeric_limits<float>::quiet_NaN(), kOwn},  // no class at all
        };
        for (size_t rider = 0; rider < std::size(riders); ++rider)
        {
            context_->riderProfiles[rider].setupFileChars = {'A', 'B'};
            context_->bikes[rider].raceStatus = riders[rider].status;
            context_->bikes[rider].setup = withCcm(kTuned, riders[rider].ccm);
        }
        // Without an own file the standard.
        context_->riderProfiles[20].setupFileChars = {'X', 'Y'};
        context_->bikes[20].raceStatus = 9;
        context_->bikes[21].raceStatus = 0;
        context_->bikes[21].setup = BikeSetup{};  // never loaded: not rideable

        ASSERT_TRUE(context_->LoadSessionBikeSetups(nullptr));
        for (size_t rider = 0; rider < std::size(riders); ++rider)
        {
            EXPECT_EQ(context_->bikes[rider].setup.mass, riders[rider].expected)
                << "status " << riders[rider].status << ", " << riders[rider].ccm << " ccm";
        }
        EXPECT_EQ(context_->bikes[20].setup.mass, kStandard);
        EXPECT_EQ(context_->bikes[21].setup.mass, kStandard) << "a set-up the bike cannot ride";

        // In a network race every machine rides the computer riders on the standard.
        context_->current.gameMode = GameMode::NetworkRace;
        context_->bikes[0].setup = withCcm(kTuned, c.fitting);
        context_->bikes[9].setup = withCcm(kTuned, c.fitting);
        ASSERT_TRUE(context_->LoadSessionBikeSetups(nullptr));
        EXPECT_EQ(context_->bikes[0].setup.mass, kTuned);
        EXPECT_EQ(context_->bikes[9].setup.mass, kStandard);
    }
}

TEST_F(FieldFilesTest, ASessionWithoutTheClassStandardChangesNoSetup)
{
    context_->current.bikeClass = BikeClass::Class500;
    context_->bikes[3].raceStatus = 9;
    context_->bikes[3].setup = RideableSetup(190);
    EXPECT_FALSE(context_->LoadSessionBikeSetups(nullptr));
    EXPECT_EQ(context_->bikes[3].setup.mass, 190.0f);
}

TEST_F(FieldFilesTest, DefaultSetupsAreTheRidersFirstCharacterAndZero)
{
    directory_.WriteFile("Raddaten/125Std.rdf", AsString(EncodeBikeSetup(RideableSetup(100))));
    directory_.WriteFile("Raddaten/125A0.rdf", AsString(EncodeBikeSetup(RideableSetup(105))));
    directory_.WriteFile("Raddaten/125AB.rdf", AsString(EncodeBikeSetup(RideableSetup(110))));
    context_->riderProfiles[0].setupFileChars = {'A', 'B'};
    context_->riderProfiles[1].setupFileChars = {'C', 'D'};
    context_->bikes[2].setup = RideableSetup(190);  // no characters: the standard
    ASSERT_TRUE(context_->LoadDefaultBikeSetups(nullptr, BikeClass::Class125));
    EXPECT_EQ(context_->bikes[0].setup.mass, 105.0f);
    EXPECT_EQ(context_->bikes[1].setup.mass, 100.0f);
    EXPECT_EQ(context_->bikes[2].setup.mass, 100.0f);
    EXPECT_FALSE(context_->LoadDefaultBikeSetups(nullptr, BikeClass::Class250));
    EXPECT_EQ(context_->bikes[0].setup.mass, 105.0f);
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
