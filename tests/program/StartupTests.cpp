#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/config/ConfigBlock.h"
#include "app/config/RaceScreenMode.h"
#include "app/device/RenderBindings.h"
#include "app/game/CurrentRace.h"
#include "app/game/RiderLiveries.h"
#include "app/settings/MenuState.h"
#include "app/window/FrameTime.h"
#include "app/window/KeyListeners.h"
#include "app/window/OutputWindow.h"
#include "core/files/FileSystem.h"
#include "core/util/SineTable.h"
#include "kit/ArchiveTool.h"
#include "kit/startup/StartScreen.h"
#include "net/NetSession.h"
#include "program/GameWindow.h"
#include "tests/program/StartupFixture.h"
#include "tests/support/FileSizeLimit.h"

namespace
{
int Red(uint16_t pixel)
{
    return (pixel >> 11) << 3;
}

int Blue(uint16_t pixel)
{
    return (pixel & 0x1F) << 3;
}

bool IsBlack(const CapturedFrame& frame)
{
    return std::ranges::all_of(frame.pixels, [](uint16_t pixel) { return pixel == 0; });
}

TEST_F(StartupTest, ShowsTheStartScreenAndEndsOnEscape)
{
    const std::string config = directory_.ReadFile("config.dat");
    const ino_t configFile = FileIdentity("config.dat");
    PressEscapeAtFrame(6);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    EXPECT_TRUE(EndedByScript());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    ASSERT_GE(platform_.PresentCount(), 6u);
    // The picture is drawn once into each of the two video buffers, which then take turns.
    ASSERT_EQ(platform_.Frames().size(), 2u);
    for (const CapturedFrame& frame : platform_.Frames())
    {
        ASSERT_EQ(frame.width, 640);
        ASSERT_EQ(frame.height, 480);
        EXPECT_FALSE(IsBlack(frame));
        // The start screen's evening sky is blue at the top, orange towards the horizon.
        const uint16_t top = frame.pixels[320];
        const uint16_t horizon = frame.pixels[190 * 640 + 20];
        EXPECT_GT(Blue(top), Red(top));
        EXPECT_GT(Red(horizon), Blue(horizon));
    }

    // Written back as a new file with the same bytes.
    EXPECT_NE(FileIdentity("config.dat"), configFile);
    EXPECT_EQ(directory_.ReadFile("config.dat"), config);
    EXPECT_TRUE(std::filesystem::exists(directory_.path() + "/tempdaten/Debug.Log"));
    EXPECT_EQ(directory_.ReadFile("tempdaten/Debug.Log"), "");
}

// The machine's state while the game runs, as seen when the player presses a key.
struct MachineWhileRunning
{
    bool screenSaverEnabled = true;
    bool cursorVisible = true;
    bool mouseCaptured = false;
};

ScriptedPlatform* g_machine = nullptr;
MachineWhileRunning g_whileRunning;

int32_t NoteMachine(uint32_t /*kind*/, uint32_t /*virtualKey*/)
{
    g_whileRunning = {g_machine->IsScreenSaverEnabled(), g_machine->IsCursorVisible(),
                      g_machine->IsMouseCaptured()};
    return 0;
}

// The set-up file's display mode becomes the race screen's, while the menus keep 640 x 480.
TEST_F(StartupTest, TakesTheRaceScreenModeFromTheSetUpFile)
{
    ConfigBlock config;
    const std::string bytes = directory_.ReadFile("config.dat");
    std::copy(bytes.begin(), bytes.end(), config.Bytes().begin());
    config.SetDisplayMode({.width = 800, .height = 600, .bitsPerPixel = 16, .refreshHz = 75});
    directory_.WriteFile("config.dat", std::string(config.Bytes().begin(), config.Bytes().end()));
    PressEscapeAtFrame(3);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    EXPECT_EQ(g_raceScreenMode.width, 800);
    EXPECT_EQ(g_raceScreenMode.height, 600);
    EXPECT_EQ(g_raceScreenMode.refreshRateHz, 75);
    EXPECT_EQ(platform_.Frames().back().width, 640);
}

// A demo left over from before does not run on; the window is known while the game runs only.
TEST_F(StartupTest, StartsWithoutADemoAndHandsItsWindowAround)
{
    g_demoRace = true;
    g_demoEnded = true;
    PressEscapeAtFrame(3);
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_FALSE(g_demoRace);
    EXPECT_FALSE(g_demoEnded);
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(g_net.Window(), nullptr);

    {
        GameWindow window;
        EXPECT_EQ(g_net.Window(), &window);
    }
    EXPECT_EQ(g_net.Window(), nullptr);
}

TEST_F(StartupTest, AStartScreenThatCannotBeLoadedEndsTheGameInFailure)
{
    // The menu archive again, without its start screen.
    const std::string menuArchive = "archives/deutsch/menu.cpr";
    std::string error;
    ASSERT_TRUE(kit::ExtractArchive(menuArchive, "unpacked", error)) << error;
    ASSERT_TRUE(files::Remove(std::string("unpacked/") + kit::kStartScreenName));
    ASSERT_TRUE(kit::PackDirectory("unpacked", menuArchive, error)) << error;

    EXPECT_EQ(RunGame(), GameWindow::kRunFailed);

    EXPECT_EQ(platform_.MessageBoxes(),
              std::vector<std::string>{"Unable to load MainMenu/startscreen.jpg."});
    EXPECT_EQ(platform_.PresentCount(), kIntroPictures) << "nothing after the intro";
    EXPECT_FALSE(IsRenderDllLoaded());
}

TEST_F(StartupTest, ARunWhoseSetUpCannotBeSavedEndsInFailureWithTheOldFileKept)
{
    const std::string config = directory_.ReadFile("config.dat");
    PressEscapeAtFrame(2);
    uint32_t result = 0;
    testing::internal::CaptureStderr();
    {
        const FileSizeLimit fullDisk(1000);
        result = RunGame();
    }
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_EQ(result, GameWindow::kRunFailed);
    EXPECT_TRUE(EndedByScript());
    EXPECT_NE(report.find("Zarvo: cannot save config.dat: File too large"), std::string::npos)
        << report;
    EXPECT_EQ(directory_.ReadFile("config.dat"), config);
}

TEST_F(StartupTest, OpensAFullScreenWindowAndTakesItDownAgain)
{
    g_machine = &platform_;
    AddKeyListener(NoteMachine);
    PressEscapeAtFrame(1);
    ASSERT_EQ(RunGame(), GameWindow::kRunEnded);
    RemoveKeyListener(NoteMachine);

    EXPECT_FALSE(g_whileRunning.screenSaverEnabled);
    EXPECT_FALSE(g_whileRunning.cursorVisible);
    EXPECT_TRUE(g_whileRunning.mouseCaptured);
    EXPECT_TRUE(platform_.IsScreenSaverEnabled());

    const std::vector<WindowChange>& changes = platform_.WindowChanges();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].kind, WindowChange::Kind::Created);
    EXPECT_EQ(changes[0].title, "Zarvo");
    EXPECT_EQ(changes[0].width, 640);
    EXPECT_EQ(changes[0].height, 480);
    EXPECT_EQ(changes[1].kind, WindowChange::Kind::FullScreen);
    EXPECT_EQ(changes[2].kind, WindowChange::Kind::Destroyed);
    EXPECT_FALSE(platform_.IsMouseCaptured());

    // Everything the run started is down again.
    EXPECT_FALSE(IsRenderDllLoaded());
    EXPECT_EQ(g_archiveMenu, nullptr);
    EXPECT_EQ(g_archiveTextures, nullptr);
    EXPECT_EQ(g_sinTable, nullptr);
}

TEST_F(StartupTest, EndsWhenTheWindowIsClosed)
{
    platform_.AtFrame(kIntroPictures + 2, {.kind = PlatformEvent::Kind::Close});
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_TRUE(EndedByScript());
}

TEST_F(StartupTest, RestoresTheScreenSaverAsItWas)
{
    for (const bool enabled : {true, false})
    {
        platform_.SetScreenSaverEnabled(enabled);
        PressEscapeAtFrame(platform_.PresentCount() + 1 - kIntroPictures);
        ASSERT_EQ(RunGame(), GameWindow::kRunEnded);
        EXPECT_EQ(platform_.IsScreenSaverEnabled(), enabled);
    }
}

TEST_F(StartupTest, TheIntroMovieComesFirstUnlessTheSettingsSkipIt)
{
    PressEscapeAtFrame(1);
    ASSERT_EQ(RunGame(), GameWindow::kRunEnded);
    // Five seconds at least, then the menu, whose music has started meanwhile.
    EXPECT_GE(platform_.NowMs(), 5000u);
    EXPECT_EQ(platform_.PresentCount(), kIntroPictures + 1);
    EXPECT_EQ(platform_.AudioCaptures().size(), 3u);  // the game's output, the movie's, again

    MenuState skipping;
    skipping.SetU8At(MenuState::kIntroOffset, 1);
    directory_.WriteFile("menustate.dat",
                         std::string(skipping.Bytes().begin(), skipping.Bytes().end()));
    const uint32_t before = platform_.PresentCount();
    platform_.AtFrame(before + 1, {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    ASSERT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_EQ(platform_.PresentCount(), before + 1);
}

TEST_F(StartupTest, TheMainMenuRunsInTheTimersTime)
{
    // The menus count on the 2 ms tick: their frame step is the timer's time between frames.
    PressEscapeAtFrame(10);
    ASSERT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_GE(g_timerMs.load(), 10 * ScriptedPlatform::kDefaultFrameQuantumMs);
    EXPECT_EQ(g_realFrameMs, ScriptedPlatform::kDefaultFrameQuantumMs);
}

TEST(SineTableTest, HoldsSinesAtFourThousandNinetySixStepsATurnAndCosinesAQuarterIn)
{
    {
        const SineTable table;
        ASSERT_NE(g_sinTable, nullptr);
        EXPECT_EQ(g_cosTable, g_sinTable + 1024);
        EXPECT_EQ(g_sinTable[0], 0.0f);
        EXPECT_NEAR(g_sinTable[1024], 1.0f, 1e-6f);
        EXPECT_NEAR(g_sinTable[2048], 0.0f, 1e-5f);
        EXPECT_NEAR(g_cosTable[0], 1.0f, 1e-6f);
        EXPECT_NEAR(g_cosTable[4095], std::cos(2.0 * M_PI * 4095 / 4096), 1e-5);
        // The angle is summed in single precision: entry 1 is the sine of the step itself.
        EXPECT_EQ(g_sinTable[1], static_cast<float>(std::sin(double{0.0015339808f})));
    }
    EXPECT_EQ(g_sinTable, nullptr);
    EXPECT_EQ(g_cosTable, nullptr);
}

TEST(RiderLiveriesTest, DefaultsGiveEveryRiderAStartNumberAMachineAndTheDefaultName)
{
    FillDefaultLiveries();
    struct Row
    {
        size_t bikeClass;
        size_t row;
        RiderLivery expected;
    };
    const Row rows[] = {
        {0, 0, {"Hanno Wummelbach", 1, 0, 1, 3}},   {0, 25, {"Hanno Wummelbach", 26, 0, 1, 0}},
        {1, 8, {"Hanno Wummelbach", 9, 2, 4, 19}},  {2, 13, {"Hanno Wummelbach", 14, 2, 6, 9}},
        {2, 25, {"Hanno Wummelbach", 26, 0, 1, 0}},
    };
    for (const Row& row : rows)
    {
        const RiderLivery& livery = g_riderLiveries[row.bikeClass][row.row];
        EXPECT_EQ(livery.riderName, row.expected.riderName);
        EXPECT_EQ(livery.startNumber, row.expected.startNumber);
        EXPECT_EQ(livery.bikeModel, row.expected.bikeModel);
        EXPECT_EQ(livery.wheelDesign, row.expected.wheelDesign);
        EXPECT_EQ(livery.paintDesign, row.expected.paintDesign) << row.bikeClass << "/" << row.row;
    }
}
}  // namespace
