// Each way the start-up can fail: the player is told exactly why, everything started so far is
// taken down again, "config.dat" is left as it was, and the game ends with the start-up's
// failure.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/config/ConfigBlock.h"
#include "app/device/RenderBindings.h"
#include "core/util/SineTable.h"
#include "kit/ConfigWriter.h"
#include "kit/settings/MenuStateWriter.h"
#include "program/GameWindow.h"
#include "tests/program/StartupFixture.h"
#include "tests/support/CaseNames.h"

namespace
{
const std::string kRenderLibraryFailure =
    "\nDas Programm oder das System sind m\xF6glicherweise falsch konfiguriert.\n"
    "Bitte schauen sie nach, ob ihre 3D-Grafikkarte richtig installiert ist oder der Treiber\n"
    "aktualisiert werden mu\xDF.";

std::string RenderLibraryFailure(const std::string& library)
{
    return "Fehler in " + library + kRenderLibraryFailure;
}

class StartupFailureTest : public StartupTest
{
protected:
    void NameRenderLibrary(const std::string& name)
    {
        ConfigBlock config = kit::DemoConfig();
        config.SetRenderLibraryName(name);
        std::string error;
        ASSERT_TRUE(kit::WriteConfig("config.dat", config, error)) << error;
    }

    void Remove(const std::string& relativePath)
    {
        ASSERT_TRUE(std::filesystem::remove(directory_.path() + "/" + relativePath));
    }

    // Runs the game, which must fail to start and show exactly the messages, leaving
    // "config.dat" as it was and nothing running.
    void ExpectFailedStart(const std::vector<std::string>& messages)
    {
        const ino_t configFile = FileIdentity("config.dat");
        const std::string config = directory_.ReadFile("config.dat");

        EXPECT_EQ(RunGame(), GameWindow::kStartUpFailed);

        EXPECT_EQ(platform_.MessageBoxes(), messages);
        EXPECT_EQ(FileIdentity("config.dat"), configFile);  // not written, not created
        EXPECT_EQ(directory_.ReadFile("config.dat"), config);
        EXPECT_TRUE(platform_.WindowChanges().empty());
        EXPECT_EQ(platform_.PresentCount(), 0u);
        EXPECT_FALSE(IsRenderDllLoaded());
        for (const CprArchive* archive :
             {g_archiveMenu, g_archiveData, g_archivePatch, g_archiveObjects, g_archiveTextures})
        {
            EXPECT_EQ(archive, nullptr);
        }
        EXPECT_EQ(g_sinTable, nullptr);
        EXPECT_TRUE(platform_.IsScreenSaverEnabled());
        EXPECT_FALSE(platform_.IsMouseCaptured());
    }
};

TEST_F(StartupFailureTest, WithoutConfigDatAsksForTheSetUp)
{
    Remove("config.dat");
    ExpectFailedStart(
        {"Die 3D-Setupinformationen konnten nicht geladen werden.\n"
         "Bitte starten sie zuerst das Setup"});
}

TEST_F(StartupFailureTest, AConfigDatOfAnotherSizeIsNotTaken)
{
    directory_.WriteFile("config.dat", std::string(2087, '\0'));
    ExpectFailedStart(
        {"Die 3D-Setupinformationen konnten nicht geladen werden.\n"
         "Bitte starten sie zuerst das Setup"});
}

TEST_F(StartupFailureTest, SpeaksTheLanguageOfTheSettings)
{
    MenuState settings;
    settings.SetU32At(MenuState::kLanguageOffset, 1);
    std::string error;
    ASSERT_TRUE(kit::WriteMenuState("menustate.dat", settings, error)) << error;
    Remove("config.dat");
    ExpectFailedStart({"The 3D-Setupinformations could not be loaded.\nPlease run Setup first."});
}

TEST_F(StartupFailureTest, ARenderLibraryThatCannotBeLoadedIsNamed)
{
    NameRenderLibrary("ZarvoGlide2Missing.so");
    ExpectFailedStart({RenderLibraryFailure("ZarvoGlide2Missing.so")});
}

TEST_F(StartupFailureTest, AMissingEntryPointIsNamed)
{
    NameRenderLibrary("ZarvoGlide2Incomplete.so");
    ExpectFailedStart({"Missing Dll Entry: vecdll_resetrenderstate",
                       RenderLibraryFailure("ZarvoGlide2Incomplete.so")});
}

TEST_F(StartupFailureTest, AMachineWithoutA3DBoardIsTold)
{
    NameRenderLibrary("ZarvoGlide2NoBoard.so");
    ExpectFailedStart({"Init Hardware failed - No 3dfx card present or glide2.x not installed",
                       RenderLibraryFailure("ZarvoGlide2NoBoard.so")});
}

struct MissingArchive
{
    const char* archive;
    const char* message;
};

class MissingArchiveTest : public StartupFailureTest,
                           public testing::WithParamInterface<MissingArchive>
{
};

TEST_P(MissingArchiveTest, IsNamed)
{
    Remove(GetParam().archive);
    ExpectFailedStart({GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    EachArchive, MissingArchiveTest,
    testing::Values(MissingArchive{"archives/deutsch/menu.cpr",
                                   "Kann archives/deutsch/menu.cpr.cpr nicht \xF6"
                                   "ffnen"},
                    MissingArchive{"archives/data.cpr",
                                   "Kann data.cpr nicht \xF6"
                                   "ffnen"},
                    MissingArchive{"archives/patch.cpr",
                                   "Kann patch.cpr nicht \xF6"
                                   "ffnen"},
                    MissingArchive{"archives/objects.cpr",
                                   "Unable to find Zarvo - CD\narchives/objects.cpr"},
                    MissingArchive{"archives/textures.cpr",
                                   "Unable to find Zarvo - CD\narchives/textures.cpr"}),
    [](const testing::TestParamInfo<MissingArchive>& info)
    { return case_names::Words(info.param.archive); });
}  // namespace
