// What the main menu shows in 3D, through the real main routine on the demo installation: the
// waving nation flag of the chosen circuit, the turning machine on the rider page, and the
// set-up screen behind the circuit page's button.

#include "tests/frontend/MainMenuScript.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/settings/MenuState.h"
#include "program/GameWindow.h"

namespace
{
// The flag's corner and the machine's rectangle.
constexpr int kFlagX = 485;
constexpr int kFlagWidth = 155;
constexpr int kFlagHeight = 88;
constexpr int kPreviewX = 450;
constexpr int kPreviewY = 141;
constexpr int kPreviewWidth = 190;
constexpr int kPreviewHeight = 117;

uint64_t FlagHash(const FrameView565& frame)
{
    return HashFrame(frame.Region(kFlagX, 0, kFlagWidth, kFlagHeight));
}
}  // namespace

TEST_F(MainMenuTest, TheFlagWavesAlikeInEveryVisitOfTheMenu)
{
    platform_.LimitCapturedFrames(20);
    PressEscapeAt(14);
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    const std::optional<FrameView565> first = MenuFrame(10);
    const std::optional<FrameView565> later = MenuFrame(12);
    ASSERT_TRUE(first && later);
    EXPECT_NE(FlagHash(*first), FlagHash(*later)) << "the flag waves";

    // The game again, in the same process: the flag starts its wave afresh.
    ScriptedPlatform again;
    const ScopedPlatform installed(again);
    again.AtTime(kBackstopMs, {.kind = PlatformEvent::Kind::Quit});
    again.AtFrame(kIntroPictures + 14,
                  {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    again.LimitCapturedFrames(20);
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    bool compared = false;
    for (const CapturedFrame& captured : again.Frames())
    {
        if (captured.frameNumber == kIntroPictures + 10)
        {
            const FrameView565 view{captured.pixels.data(), captured.width, captured.height,
                                    captured.width * 2};
            EXPECT_EQ(FlagHash(view), FlagHash(*first));
            compared = true;
        }
    }
    EXPECT_TRUE(compared);
}

// The circuit page with the next circuit's flag, and the rider page with its machine, in each
// language.
struct SceneShots
{
    uint32_t language;
    const char* suffix;
    uint64_t circuitCorner;
    uint64_t riderCorner;
};

TEST_F(MainMenuTest, TheCircuitsFlagAndTheRidersMachineMatchTheirFrozenFrames)
{
    const SceneShots languages[] = {
        {0, "", 0x592B489E7A1C8B29, 0x3466BFE59A4CE613},
        {1, "_english", 0x5CFCF87561F87544, 0xD6E955FCCE691AF5},
    };
    for (const SceneShots& shots : languages)
    {
        SCOPED_TRACE(shots.suffix);
        ScriptedPlatform platform;
        const ScopedPlatform installed(platform);
        MenuState settings;
        settings.SetU32At(MenuState::kLanguageOffset, shots.language);
        directory_.WriteFile("menustate.dat",
                             std::string(settings.Bytes().begin(), settings.Bytes().end()));
        const auto click = [&](uint32_t frame, int x, int y)
        {
            const uint32_t at = kIntroPictures + frame;
            platform.AtFrame(at, {.kind = PlatformEvent::Kind::MouseMove, .x = x, .y = y});
            platform.AtFrame(
                at, {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
            platform.AtFrame(
                at + 1, {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
        };
        platform.AtTime(kBackstopMs, {.kind = PlatformEvent::Kind::Quit});
        platform.LimitCapturedFrames(40);
        click(4, 100, 186);   // circuit page
        click(8, 360, 465);   // the next circuit: another nation
        click(12, 320, 460);  // accept
        click(16, 100, 162);  // rider page: the machine turns
        platform.AtFrame(kIntroPictures + 30,
                         {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});

        EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

        const auto frame = [&](uint32_t number) -> std::optional<FrameView565>
        {
            for (const CapturedFrame& captured : platform.Frames())
            {
                if (captured.frameNumber == kIntroPictures + number)
                {
                    return FrameView565{captured.pixels.data(), captured.width, captured.height,
                                        captured.width * 2};
                }
            }
            return std::nullopt;
        };
        const std::optional<FrameView565> start = frame(3);
        const std::optional<FrameView565> circuit = frame(11);
        const std::optional<FrameView565> rider = frame(24);
        const std::optional<FrameView565> riderLater = frame(28);
        ASSERT_TRUE(start && circuit && rider && riderLater);
        EXPECT_NE(HashFrame(start->Region(kFlagX + 30, 8, 100, 60)),
                  HashFrame(circuit->Region(kFlagX + 30, 8, 100, 60)))
            << "the next circuit's nation waves";
        EXPECT_NE(
            HashFrame(rider->Region(kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight)),
            HashFrame(riderLater->Region(kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight)))
            << "the machine turns";
        const std::string folder = std::string(ZARVO_GOLDEN_DIR) + "/";
        const std::string circuitName = std::string("mainmenu_flag") + shots.suffix;
        const std::string riderName = std::string("mainmenu_preview") + shots.suffix;
        EXPECT_TRUE(MatchesGolden(circuitName, circuit->Region(320, 0, 320, 260),
                                  shots.circuitCorner, folder + circuitName + ".bmp"));
        EXPECT_TRUE(MatchesGolden(riderName, rider->Region(320, 0, 320, 260), shots.riderCorner,
                                  folder + riderName + ".bmp"));
    }
}

TEST_F(MainMenuTest, TheSetupButtonOpensTheSetupScreenAndLeavingItKeepsTheSetup)
{
    platform_.LimitCapturedFrames(40);
    const std::filesystem::path kept = std::filesystem::path(directory_.path()) / "setup.tmp";
    std::filesystem::remove(kept);
    ClickAt(4, 100, 186);  // circuit page
    ClickAt(8, 500, 462);  // set-up
    ClickAt(20, 28, 456);  // the set-up screen's leave button
    PressEscapeAt(30);

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    // The set-up screen names the player's rider: the profiles were loaded for it. (Its values
    // are the bike's, which earlier games in this process leave as they like.)
    const std::optional<FrameView565> setup = MenuFrame(16);
    ASSERT_TRUE(setup.has_value());
    EXPECT_TRUE(MatchesGolden("mainmenu_setup", setup->Region(0, 0, 640, 100), 0xC9C8292A08646346,
                              std::string(ZARVO_GOLDEN_DIR) + "/mainmenu_setup.bmp"));
    EXPECT_TRUE(std::filesystem::exists(kept)) << "the set-up is kept on leaving";
    const std::optional<FrameView565> circuit = MenuFrame(6);
    const std::optional<FrameView565> back = MenuFrame(28);
    ASSERT_TRUE(circuit && back);
    EXPECT_EQ(HashFrame(circuit->Region(200, 300, 200, 140)),
              HashFrame(back->Region(200, 300, 200, 140)))
        << "the circuit page again";
}

TEST_F(MainMenuTest, TheFlagWavesOverTheCalendarOfAGrandPrix)
{
    platform_.LimitCapturedFrames(60);
    // The rider page reads the class's riders, whose names the calendar shows.
    ClickAt(3, 100, 162);
    ClickAt(6, 320, 460);   // accept
    ClickAt(9, 100, 115);   // mode
    ClickAt(14, 350, 182);  // "Grand Prix"
    ClickAt(18, 600, 460);  // go: the pit box's calendar
    platform_.AtFrame(kIntroPictures + 50, {.kind = PlatformEvent::Kind::Quit});

    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    ExpectGolden("mainmenu_calendar", 40, 0xD22F7ECC714AB2C2);
    const std::optional<FrameView565> calendar = MenuFrame(40);
    const std::optional<FrameView565> later = MenuFrame(44);
    ASSERT_TRUE(calendar && later);
    EXPECT_NE(FlagHash(*calendar), FlagHash(*later));
}
