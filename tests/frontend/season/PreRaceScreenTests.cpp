// The pre-race screen drawn through the game's render library on the scripted platform with the
// demo installation's menu files: its page in both languages as frozen frames, the buttons'
// results, the set-up editor in its place and back, and the network countdown ending it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/archive/ArchiveSet.h"
#include "app/clock/RaceClock.h"
#include "app/device/RenderDevice.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "app/window/OutputWindow.h"
#include "core/archive/CprArchive.h"
#include "core/util/RuntimeRandom.h"
#include "frontend/SessionChoices.h"
#include "frontend/season/PreRaceScreen.h"
#include "frontend/toolkit/CircuitInfoScreen.h"
#include "frontend/toolkit/MenuBackground.h"
#include "frontend/toolkit/MenuClip.h"
#include "frontend/toolkit/MenuFonts.h"
#include "frontend/toolkit/MenuTexts.h"
#include "kit/DemoInstallation.h"
#include "kit/font/DemoFonts.h"
#include "kit/menu/DemoMenu.h"
#include "kit/race/ClassSetups.h"
#include "kit/season/PreRacePictures.h"
#include "kit/setup/DemoTelemetry.h"
#include "kit/setup/SetupPictures.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

namespace
{
constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::unique_ptr<CprArchive> Mount(TestDirectory& directory, const char* name,
                                  const kit::CprWriter& writer)
{
    const std::vector<uint8_t> bytes = writer.Build();
    directory.WriteFile(name, std::string(bytes.begin(), bytes.end()));
    auto archive = std::make_unique<CprArchive>();
    EXPECT_TRUE(archive->Open(name, true));
    return archive;
}

class PreRaceScreenTest : public testing::Test
{
protected:
    void SetUp() override
    {
        kit::DemoArchives archives;
        std::string error;
        ASSERT_TRUE(kit::AddDemoFonts(archives, error)) << error;
        ASSERT_TRUE(kit::AddDemoMenu(archives, error)) << error;
        ASSERT_TRUE(kit::AddSetupPictures(archives, error)) << error;
        ASSERT_TRUE(kit::AddDemoTelemetry(archives, error)) << error;
        ASSERT_TRUE(kit::AddPreRacePictures(archives.menu, error)) << error;
        menuArchive_ = Mount(directory_, "menu.cpr", archives.menu);
        dataArchive_ = Mount(directory_, "data.cpr", archives.data);
        g_archiveMenu = menuArchive_.get();
        g_archiveData = dataArchive_.get();
        ASSERT_TRUE(window_.Create(kWidth, kHeight));
        ASSERT_TRUE(g_renderDevice.InitHardware(ZARVO_RENDER_LIBRARY));
        const ScreenMode mode{kWidth, kHeight, 16, 60, 0};
        ASSERT_EQ(g_renderDevice.InitScreen(window_.RenderTarget(), 0, "", &mode), 1);
        ReadMenuTexts();
        LoadMenuFonts();
        LoadRaceFonts();
        g_menuState = MenuState();
        g_menuState.SetU32At(MenuState::kCircuitOffset, 2);
        RuntimeSeed(1);
        RollWeatherConditions(g_menuState);
        g_gameMode = GameMode::GrandPrix;
        g_menuDelayMs = 0;
        bike_->setup = kit::ClassStandardSetup(BikeClass::Class250);
        race_.bikeClass = BikeClass::Class250;
    }

    void TearDown() override
    {
        screen_.reset();
        FreeMenuFonts();
        FreeRaceFonts();
        FreeMenuTexts();
        FreeMenuBackground();
        SetActiveRectList(nullptr);
        g_renderDevice.CleanUp();
        g_renderDevice.ShotDown();
        g_archiveMenu = nullptr;
        g_archiveData = nullptr;
        g_language = Language::German;
    }

    void Open()
    {
        SetupScreenContext context;
        context.player = bike_.get();
        context.race = &race_;
        context.language = g_language;
        context.riderName = "Karl Brenner";
        context.riderTeam = "Team Zarvo";
        screen_ = std::make_unique<PreRaceScreen>(std::make_unique<SetupScreen>(context));
        screen_->Enter();
    }

    int32_t StepFrame()
    {
        window_.PumpMessages();
        return screen_->Step(0.04f);
    }

    FrameView565 LastFrame() const
    {
        const CapturedFrame& frame = platform_.Frames().back();
        return {frame.pixels.data(), frame.width, frame.height, frame.width * 2};
    }

    void MoveMouse(int x, int y)
    {
        platform_.Push({.kind = PlatformEvent::Kind::MouseMove, .x = x, .y = y});
    }

    // A press and release over the button, a frame each.
    int32_t Click(const Gadget& button)
    {
        MoveMouse(button.screenX + button.width / 2, button.screenY + button.height / 2);
        platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
        const int32_t pressed = StepFrame();
        platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
        const int32_t released = StepFrame();
        return pressed != PreRaceScreen::kStay ? pressed : released;
    }

    const Gadget& Button(PreRaceScreen::Button button) const
    {
        return screen_->ButtonGadget(button);
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_{platform_};
    OutputWindow window_;
    std::unique_ptr<CprArchive> menuArchive_;
    std::unique_ptr<CprArchive> dataArchive_;
    std::unique_ptr<BikeRecord> bike_ = std::make_unique<BikeRecord>();
    CurrentRace race_;
    std::unique_ptr<PreRaceScreen> screen_;
};

struct PageShot
{
    const char* name;
    Language language;
    uint64_t hash;
};

class PreRacePageTest : public PreRaceScreenTest, public testing::WithParamInterface<PageShot>
{
};

TEST_P(PreRacePageTest, ThePageMatchesItsFrozenFrame)
{
    g_language = GetParam().language;
    Open();
    // The pointer rests over the start button, which is lit.
    MoveMouse(600, 460);
    StepFrame();
    StepFrame();
    const std::string name = GetParam().name;
    const std::string reference = std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp";
    EXPECT_TRUE(MatchesGolden(name, LastFrame(), GetParam().hash, reference));
}

INSTANTIATE_TEST_SUITE_P(
    BothLanguages, PreRacePageTest,
    testing::Values(PageShot{"prerace_german", Language::German, 0x2461A66269F219F0},
                    PageShot{"prerace_english", Language::English, 0xCF9B2FE20FDBBDC8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreRaceScreenTest, BackAndStartLeaveWithTheirResults)
{
    Open();
    EXPECT_FALSE(CircuitInfoScreen::OkGadget().visible);
    EXPECT_EQ(StepFrame(), PreRaceScreen::kStay);
    EXPECT_EQ(Click(Button(PreRaceScreen::kBack)), PreRaceScreen::kBackToMenus);
    screen_->Leave();
    Open();
    EXPECT_EQ(Click(Button(PreRaceScreen::kStart)), PreRaceScreen::kStartSession);
}

TEST_F(PreRaceScreenTest, TheSetupEditorTakesThePageAndGivesItBack)
{
    Open();
    const std::string page = g_menuBackground.Name();
    EXPECT_EQ(Click(Button(PreRaceScreen::kSetup)), PreRaceScreen::kStay);
    EXPECT_TRUE(screen_->IsSetupOpen());
    StepFrame();
    EXPECT_TRUE(screen_->IsSetupOpen());
    // The editor's leave button sits at the bottom left of its page, where the pre-race
    // screen's back button is: a click there leaves the editor, not the screen.
    bool closed = false;
    for (int frame = 0; frame < 10 && !closed; ++frame)
    {
        MoveMouse(28, 456);
        platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
        StepFrame();
        platform_.Push({.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
        StepFrame();
        closed = !screen_->IsSetupOpen();
    }
    ASSERT_TRUE(closed);
    EXPECT_EQ(g_menuBackground.Name(), page);
    EXPECT_EQ(StepFrame(), PreRaceScreen::kStay);
    EXPECT_EQ(StepFrame(), PreRaceScreen::kStay);
}

TEST_F(PreRaceScreenTest, TheNetworkCountdownStartsTheSessionEvenWithTheEditorOpen)
{
    g_gameMode = GameMode::NetworkRace;
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, 1);
    g_menuState.SetU32At(MenuState::kNetworkRaceIndexOffset, 0);
    g_menuState.SetU8At(MenuState::kNetworkCircuitsOffset, 15);
    g_menuDelayMs = 5000;
    Open();
    Click(Button(PreRaceScreen::kSetup));
    ASSERT_TRUE(screen_->IsSetupOpen());
    EXPECT_EQ(StepFrame(), PreRaceScreen::kStay);
    g_menuDelayMs = 0;
    EXPECT_EQ(StepFrame(), PreRaceScreen::kStartSession);
}

TEST_F(PreRaceScreenTest, OutsideANetworkRaceNoCountdownEndsTheScreen)
{
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, 1);
    g_menuDelayMs = 0;
    Open();
    EXPECT_EQ(StepFrame(), PreRaceScreen::kStay);
}
}  // namespace
