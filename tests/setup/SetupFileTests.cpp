#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "kit/settings/SetupWriter.h"
#include "race/RaceContext.h"
#include "setup/PlayerSetupFile.h"
#include "setup/SetupFiles.h"
#include "setup/SetupStream.h"
#include "tests/support/TestDirectory.h"

namespace
{
BikeSetup SetupWithIgnition(float ignition, uint8_t tyre)
{
    BikeSetup setup{};
    setup.ignitionA = ignition;
    setup.ignitionB = 1.0f;
    setup.ignitionC = 1.0f;
    setup.coolingOpening = 0.5f;
    setup.frontCompression = setup.frontRebound = 10.0f;
    setup.rearCompression = setup.rearRebound = 10.0f;
    setup.brakeValueA = 0.5f;
    setup.brakeValueB = 1.0f;
    setup.frontTyre = setup.rearTyre = tyre;
    setup.frontSpringRate = 21000.0f;  // not streamed
    return setup;
}

std::string StreamString(const BikeSetup& setup)
{
    const SetupStream stream = StoreSetupStream(setup);
    return {stream.begin(), stream.end()};
}

bool SameBytes(const BikeSetup& a, const BikeSetup& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class SetupFileTest : public ::testing::Test
{
protected:
    TestDirectory directory;
};

TEST(SetupFilePathTest, NamedSetUpsLieInTheFolderOfTheirClass)
{
    EXPECT_EQ(SetupClassDirectory(BikeClass::Class500), "save/setup/Klasse2");
    EXPECT_EQ(SetupFilePath(BikeClass::Class125, "Regen Assen"), "save/setup/Klasse0/Regen Assen");
    EXPECT_EQ(SetupFilePath(BikeClass::Class250, std::string(31, 'n')),
              "save/setup/Klasse1/" + std::string(31, 'n'));
    EXPECT_EQ(SetupFilePath(BikeClass::Class250, "Tr\xE4ge"), "save/setup/Klasse1/Tr\xE4ge");
}

TEST(SetupFilePathTest, NamesThatAreNoneOrLeaveTheFolderGiveNoPath)
{
    using namespace std::string_literals;
    for (const std::string& name :
         {""s, "."s, ".."s, "../menustate.dat"s, "a/b"s, "a\\b"s, std::string(32, 'n')})
    {
        SCOPED_TRACE(name);
        EXPECT_EQ(SetupFilePath(BikeClass::Class250, name), std::nullopt);
    }
}

TEST_F(SetupFileTest, SetUpSavedIsLoadedBackAndReplacesAnOlderFile)
{
    std::filesystem::create_directories("save/setup/Klasse1");
    const std::string path = *SetupFilePath(BikeClass::Class250, "Mugello");
    directory.WriteFile(path, std::string(500, 'o'));
    const BikeSetup saved = SetupWithIgnition(1.03f, 9);
    ASSERT_TRUE(WriteSetupFile(path, saved));
    EXPECT_EQ(directory.ReadFile(path), StreamString(saved));

    BikeSetup loaded = SetupWithIgnition(0.96f, 2);
    loaded.frontSpringRate = 18000.0f;
    ASSERT_TRUE(ReadSetupFile(path, loaded));
    EXPECT_EQ(loaded.ignitionA, 1.03f);
    EXPECT_EQ(loaded.frontTyre, 9);
    EXPECT_EQ(loaded.frontSpringRate, 18000.0f);
}

TEST_F(SetupFileTest, MissingOrShortFileLeavesTheSetUpAlone)
{
    const BikeSetup original = SetupWithIgnition(0.99f, 3);
    directory.WriteFile("short", StreamString(SetupWithIgnition(1.01f, 4)).substr(0, 66));
    std::filesystem::create_directory("folder");
    for (const char* path : {"missing", "short", "folder"})
    {
        SCOPED_TRACE(path);
        BikeSetup setup = original;
        EXPECT_FALSE(ReadSetupFile(path, setup));
        EXPECT_TRUE(SameBytes(setup, original));
    }
}

TEST_F(SetupFileTest, SetUpThatCannotBeWrittenLeavesNoFile)
{
    EXPECT_FALSE(WriteSetupFile("save/setup/Klasse0/Jerez", SetupWithIgnition(1.0f, 1)));
    EXPECT_FALSE(std::filesystem::exists("save/setup/Klasse0/Jerez"));
}

TEST_F(SetupFileTest, KitWritesSetUpFilesTheGameReads)
{
    std::string error;
    const BikeSetup saved = SetupWithIgnition(1.04f, 5);
    ASSERT_TRUE(
        kit::WritePlayerSetupFile(directory.path(), BikeClass::Class500, "Suzuka", saved, error))
        << error;
    EXPECT_FALSE(
        kit::WritePlayerSetupFile(directory.path(), BikeClass::Class500, "../x", saved, error));
    BikeSetup loaded = SetupWithIgnition(1.0f, 0);
    ASSERT_TRUE(ReadSetupFile("save/setup/Klasse2/Suzuka", loaded));
    EXPECT_EQ(StreamString(loaded), StreamString(saved));
}

class LastSetupTest : public SetupFileTest
{
protected:
    LastSetupTest()
    {
        g_bikes = {};
        g_playerRider = 3;
    }
};

TEST_F(LastSetupTest, PlayersSetUpIsStoredAndLoadedBack)
{
    g_bikes[3].setup = SetupWithIgnition(1.02f, 6);
    ASSERT_TRUE(SerializeBikeSetup(true));
    EXPECT_EQ(directory.ReadFile("setup.tmp"), StreamString(g_bikes[3].setup));

    g_bikes[3].setup = SetupWithIgnition(0.98f, 1);
    ASSERT_TRUE(SerializeBikeSetup(false));
    EXPECT_EQ(g_bikes[3].setup.ignitionA, 1.02f);
    EXPECT_EQ(g_bikes[3].setup.rearTyre, 6);
}

TEST_F(LastSetupTest, LoadingMakesTheRiderThePlayersAndLoadsItsBike)
{
    std::string error;
    ASSERT_TRUE(kit::WriteSetupStream("setup.tmp", SetupWithIgnition(0.96f, 8), error)) << error;
    ASSERT_TRUE(LoadPlayerBikeSetup(11));
    EXPECT_EQ(g_playerRider, 11u);
    EXPECT_EQ(g_bikes[11].setup.ignitionA, 0.96f);
    EXPECT_EQ(g_bikes[3].setup.ignitionA, 0.0f);
}

TEST_F(LastSetupTest, WithoutAFileOrAPlayerNothingChanges)
{
    g_bikes[3].setup = SetupWithIgnition(1.01f, 2);
    const BikeSetup original = g_bikes[3].setup;
    EXPECT_FALSE(SerializeBikeSetup(false));
    EXPECT_TRUE(SameBytes(g_bikes[3].setup, original));

    g_playerRider = 26;
    EXPECT_FALSE(SerializeBikeSetup(true));
    EXPECT_FALSE(std::filesystem::exists("setup.tmp"));
}
}  // namespace
