// The pause menu over a race, end to end on the demo installation: a menu that cannot be made
// leaves the race running; the player's rider stopping in its pit box opens the menu; watching
// the race under it, mouse clicks page through the riders and both buttons held bring the menu
// back; in a test ride Esc and the resume put the player's rider into its pit box.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "app/clock/RaceClock.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "race/RaceContext.h"
#include "race/ai/RiderStep.h"
#include "tests/program/GameRun.h"

namespace
{
uint32_t RaceClockMs()
{
    return g_raceClockMs.load();
}

bool RaceClockOn()
{
    return g_raceClockOn.load();
}

// A menu that cannot be made the first time; then one the player watches the race under.
class WatchedMenu : public InRaceMenu
{
public:
    bool Open() override { return ++opens > 1; }
    uint32_t Frame(float /*realSeconds*/) override { return kStillOpen; }
    bool IsHidden() const override { return hidden; }
    void ShowAgain() override
    {
        hidden = false;
        ++shownAgain;
    }

    int opens = 0;
    bool hidden = true;
    int shownAgain = 0;
};

TEST(RaceMenuTest, AFailedMenuLeavesTheRaceRunningAndTheOneThePitStopOpensIsWatched)
{
    GameRun run;
    WatchedMenu menu;
    run.ChooseSingleRace();
    run.AtRace(0, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('A')});
    run.KeyAtRace(3000, vk::Escape);
    uint32_t clockMs = 0;
    run.CallAtRace(4000, [&](GameWindow&) { clockMs = RaceClockMs(); });
    run.CallAtRace(5200,
                   [&](GameWindow&)
                   {
                       EXPECT_EQ(menu.opens, 1);
                       EXPECT_TRUE(RaceClockOn());
                       EXPECT_GT(RaceClockMs(), clockMs);
                       // Practice runs on under the menu, so that it can be watched.
                       g_gameMode = GameMode::GrandPrix;
                       g_menuState.SetU32At(MenuState::kSessionOffset, 0);
                   });
    // What the pit lane's step asks when the player's rider has stopped in its box.
    run.CallAtRace(6000, [](GameWindow& window) { window.Race().Services().RequestRaceMenu(); });
    uint32_t player = 0;
    uint32_t ahead = 0;
    run.CallAtRace(7400,
                   [&](GameWindow&)
                   {
                       EXPECT_EQ(menu.opens, 2);
                       player = g_viewedRider;
                   });
    // A single click each: the left views the rider ahead, the right the one behind.
    run.AtRace(7600, {.kind = GameRun::Kind::MouseButton, .button = 1, .pressed = true});
    run.AtRace(8000, {.kind = GameRun::Kind::MouseButton, .button = 1, .pressed = false});
    run.CallAtRace(8400, [&](GameWindow&) { ahead = g_viewedRider; });
    run.AtRace(8800, {.kind = GameRun::Kind::MouseButton, .button = 2, .pressed = true});
    run.AtRace(9200, {.kind = GameRun::Kind::MouseButton, .button = 2, .pressed = false});
    uint32_t behind = 0;
    run.CallAtRace(9600, [&](GameWindow&) { behind = g_viewedRider; });
    // Both held bring the menu back.
    run.AtRace(10000, {.kind = GameRun::Kind::MouseButton, .button = 1, .pressed = true});
    run.AtRace(10000, {.kind = GameRun::Kind::MouseButton, .button = 2, .pressed = true});
    run.AtRace(10800, {.kind = GameRun::Kind::MouseButton, .button = 1, .pressed = false});
    run.AtRace(10800, {.kind = GameRun::Kind::MouseButton, .button = 2, .pressed = false});
    run.CallAtRace(11400,
                   [&](GameWindow&)
                   {
                       g_gameMode = GameMode::Race;
                       g_menuState.SetU32At(MenuState::kSessionOffset, 0);
                   });
    run.AtRace(11600, {.kind = GameRun::Kind::Quit});
    EXPECT_EQ(run.Run(&menu), GameWindow::kRunEnded);
    EXPECT_TRUE(run.EndedByScript());
    // The player may lead the field the settings give it, with nobody ahead to view.
    EXPECT_TRUE(ahead != player || behind != player);
    EXPECT_NE(behind, ahead);
    EXPECT_EQ(menu.shownAgain, 1);
}

// Records where the player's rider is as the menu opens and as it closes; while open, the
// rider is handed back to the controls where it stands, so that only the resume places it.
class ResumingMenu : public InRaceMenu
{
public:
    struct Placement
    {
        uint32_t raceStatus = 0;
        int32_t pitRequest = 0;
        float z = 0.0f;
    };

    bool Open() override
    {
        opened = Now();
        return true;
    }
    uint32_t Frame(float /*realSeconds*/) override
    {
        BikeRecord& bike = g_bikes[g_playerRider.load()];
        bike.raceStatus = 0;
        bike.pitRequest = 0;
        return kResume;
    }
    void Close() override { closed = Now(); }

    Placement opened;
    Placement closed;

private:
    static Placement Now()
    {
        const BikeRecord& bike = g_bikes[g_playerRider.load()];
        return {bike.raceStatus, bike.pitRequest, bike.positionZ};
    }
};

TEST(RaceMenuTest, InATestRideEscAndResumePutThePlayersRiderIntoItsPitBox)
{
    // The settings and the riders outlive the run (a test ride leaves the riders it left out
    // marked so): the next game starts from them as they were.
    const MenuState settings = g_menuState;
    const GameMode mode = g_gameMode;
    std::array<uint32_t, kRiderCount> flags{};
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        flags[rider] = g_bikes[rider].flags;
    }
    GameRun run;
    ResumingMenu menu;
    run.ChooseTestRide();
    run.AtRace(0, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('A')});
    float riddenZ = 0.0f;
    run.CallAtRace(5600, [&](GameWindow&) { riddenZ = g_bikes[g_playerRider.load()].positionZ; });
    run.KeyAtRace(6000, vk::Escape);
    run.AtRace(7600, {.kind = GameRun::Kind::Quit});
    EXPECT_EQ(run.Run(&menu), GameWindow::kRunEnded);
    g_menuState = settings;
    g_gameMode = mode;
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        g_bikes[rider].flags = flags[rider];
    }
    EXPECT_TRUE(run.EndedByScript());
    // The box lies well behind where the rider had got to.
    EXPECT_NE(menu.opened.raceStatus, 0u) << "Esc took the rider from the controls";
    EXPECT_EQ(menu.opened.pitRequest, 1);
    EXPECT_LT(menu.opened.z, riddenZ - 50.0f);
    EXPECT_EQ(menu.closed.raceStatus, race_status::kFirstPitBox) << "the resume placed it";
    EXPECT_EQ(menu.closed.pitRequest, 1);
    EXPECT_LT(menu.closed.z, riddenZ - 50.0f);
}
}  // namespace
