#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/config/ConfigFile.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/core/archive/TestData.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestDirectory.h"

namespace
{
const std::string kGermanMessage =
    "Die 3D-Setupinformationen konnten nicht geladen werden.\nBitte starten sie zuerst das Setup";
const std::string kEnglishMessage =
    "The 3D-Setupinformations could not be loaded.\nPlease run Setup first.";

class ConfigFileTest : public ::testing::Test
{
protected:
    TestDirectory directory;
    ScriptedPlatform platform;
    ScopedPlatform installed{platform};
};

std::string StringOf(std::span<const uint8_t> bytes)
{
    return {bytes.begin(), bytes.end()};
}

TEST(ConfigBlockTest, DefaultsAreThoseOfAFreshSetUp)
{
    const ConfigBlock config;
    EXPECT_EQ(config.RenderLibraryName(), "");
    EXPECT_EQ(config.DisplayText(), "");
    EXPECT_EQ(config.DisplayMode().width, 0);
    EXPECT_EQ(config.I32At(ConfigBlock::kSoundRateIndexOffset), 1);
    EXPECT_EQ(config.I32At(ConfigBlock::kSoundBufferIndexOffset), 2);
    EXPECT_EQ(config.I32At(ConfigBlock::kEngineVoiceIndexOffset), 0);
    EXPECT_EQ(config.I32At(2080), 16);
    EXPECT_EQ(config.U8At(ConfigBlock::kDisplayOptionOffset), 1);
    EXPECT_EQ(config.U8At(ConfigBlock::kSampleOptionOffset), 0);
    EXPECT_EQ(config.U8At(ConfigBlock::kSoundOffOffset), 0);
}

TEST(ConfigBlockTest, FieldsLieAtTheirOffsetsLittleEndian)
{
    ConfigBlock config;
    config.SetDisplayMode({640, 480, 16, 60, -2});
    config.SetRenderLibraryName("ZarvoGlide2.so");
    config.SetDisplayText("Voodoo");
    const auto bytes = config.Bytes();
    EXPECT_EQ(StringOf(bytes.subspan(0, 15)), std::string("ZarvoGlide2.so\0", 15));
    EXPECT_EQ(StringOf(bytes.subspan(1024, 7)), std::string("Voodoo\0", 7));
    EXPECT_EQ(StringOf(bytes.subspan(2048, 20)),
              std::string("\x80\x02\0\0\xE0\x01\0\0\x10\0\0\0\x3C\0\0\0\xFE\xFF\xFF\xFF", 20));
    const DisplayModeRecord mode = config.DisplayMode();
    EXPECT_EQ(mode.height, 480);
    EXPECT_EQ(mode.reserved, -2);
}

// A text without its terminator ends with its field.
TEST(ConfigBlockTest, TextsNeverReachBeyondTheirField)
{
    ConfigBlock config;
    std::fill_n(config.Bytes().begin(), 2 * ConfigBlock::kTextSize, uint8_t{'x'});
    EXPECT_EQ(config.RenderLibraryName().size(), ConfigBlock::kTextSize);
    EXPECT_EQ(config.DisplayText().size(), ConfigBlock::kTextSize);

    config.SetRenderLibraryName(std::string(5000, 'y'));
    EXPECT_EQ(config.RenderLibraryName(), std::string(ConfigBlock::kTextSize - 1, 'y'));
    EXPECT_EQ(config.DisplayText().size(), ConfigBlock::kTextSize);
}

TEST_F(ConfigFileTest, RecordIsReadChangedAndWrittenBackByteForByte)
{
    const std::vector<uint8_t> original = RandomBytes(ConfigBlock::kSize, 11);
    directory.WriteFile("config.dat", StringOf(original));
    ASSERT_TRUE(LoadConfig(0));
    EXPECT_EQ(StringOf(g_config.Bytes()), StringOf(original));

    ASSERT_TRUE(SaveConfig());
    EXPECT_EQ(directory.ReadFile("config.dat"), StringOf(original));

    g_config.SetDisplayMode({800, 600, 16, 75, 0});
    ASSERT_TRUE(SaveConfig());
    std::string changed = StringOf(original);
    changed.replace(2048, 20,
                    std::string("\x20\x03\0\0\x58\x02\0\0\x10\0\0\0\x4B\0\0\0\0\0\0\0", 20));
    EXPECT_EQ(directory.ReadFile("config.dat"), changed);
    EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST_F(ConfigFileTest, FileOfAnyOtherLengthIsRefusedWithTheDefaultsKept)
{
    struct Case
    {
        std::string content;
        bool present;
        int language;
        std::string message;
    };
    const Case cases[] = {
        {std::string(ConfigBlock::kSize - 1, 'x'), true, 0, kGermanMessage},
        {std::string(ConfigBlock::kSize + 1, 'x'), true, 1, kEnglishMessage},
        {"", false, 1, kEnglishMessage},
    };
    for (const Case& c : cases)
    {
        ScriptedPlatform messages;
        ScopedPlatform recording(messages);
        std::filesystem::remove("config.dat");
        if (c.present)
        {
            directory.WriteFile("config.dat", c.content);
        }
        g_config.SetRenderLibraryName("left over");
        EXPECT_FALSE(LoadConfig(c.language));
        EXPECT_EQ(messages.MessageBoxes(), std::vector<std::string>{c.message});
        EXPECT_TRUE(g_config == ConfigBlock());
    }
}

TEST_F(ConfigFileTest, SaveReplacesTheFileWholeOrLeavesItAsItWas)
{
    directory.WriteFile("config.dat", "an old file of the wrong length");
    g_config = ConfigBlock();
    g_config.SetRenderLibraryName("lib.so");
    ASSERT_TRUE(SaveConfig());
    EXPECT_EQ(directory.ReadFile("config.dat"), StringOf(g_config.Bytes()));
    ASSERT_TRUE(LoadConfig(1));
    EXPECT_EQ(g_config.RenderLibraryName(), "lib.so");

    const std::string saved = directory.ReadFile("config.dat");
    g_config.SetRenderLibraryName("other.so");
    testing::internal::CaptureStderr();
    {
        const FileSizeLimit fullDisk(ConfigBlock::kSize / 2);
        EXPECT_FALSE(SaveConfig());
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot save config.dat"),
              std::string::npos);
    EXPECT_EQ(directory.ReadFile("config.dat"), saved);
}
}  // namespace
