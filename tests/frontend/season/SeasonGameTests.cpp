// The sessions the main menu starts, through the real main routine on the demo installation in
// virtual time: a championship chosen in the menu comes to the pit box's calendar; the session
// picked there comes to its pre-race screen with the sessions before it run in simulation, a
// timed session is ridden out of the pit lane against its time and none follows one the game was
// quit in, its race left early through the pit box is scored, its results and points are shown
// and the next round's calendar comes, the calendar's abort and the pre-race screen's back button
// return to the menu; a save picked in the load-game requester goes on with its championship.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "app/settings/MenuState.h"
#include "frontend/season/ChampionshipTable.h"
#include "frontend/season/WeekendSessions.h"
#include "frontend/toolkit/FileRequester.h"
#include "kit/race/ClassSetups.h"
#include "kit/season/ChampionshipSaveWriter.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameApp.h"
#include "program/GameWindow.h"
#include "race/RaceContext.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/TestDirectory.h"

namespace
{
// The demo's intro movie shows this many pictures before the menu's first frame.
constexpr uint32_t kIntroPictures = 50;
constexpr uint32_t kBackstopMs = 120000;
// The pit box's calendar: a day's second session, Saturday's and Sunday's column.
constexpr int kSecondRowY = 290;
constexpr int kSaturdayX = 320;
constexpr int kRaceX = 500;
// Inside the pre-race screen's back button, left of the pit box's abort button.
constexpr int kBackX = 10;
constexpr int kBackY = 470;

class SeasonGameTest : public testing::Test
{
protected:
    SeasonGameTest() : installed_(platform_)
    {
        std::string error;
        EXPECT_TRUE(CopyDemoInstallation(directory_.path(), error)) << error;
        platform_.AtTime(kBackstopMs, {.kind = PlatformEvent::Kind::Quit});
        platform_.LimitCapturedFrames(2);
    }

    // frame counts the menu's frames.
    void ClickAt(uint32_t frame, int x, int y)
    {
        const uint32_t at = kIntroPictures + frame;
        platform_.AtFrame(at, {.kind = PlatformEvent::Kind::MouseMove, .x = x, .y = y});
        platform_.AtFrame(at,
                          {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = true});
        platform_.AtFrame(
            at + 1, {.kind = PlatformEvent::Kind::MouseButton, .button = 1, .pressed = false});
    }

    // The main menu's championship up to the pit box's calendar of its first round.
    void OpenChampionshipCalendar()
    {
        ClickAt(3, 100, 115);   // mode
        ClickAt(8, 350, 206);   // "Meisterschaft"
        ClickAt(14, 600, 460);  // go
    }

    // Saturday's qualifying picked on the calendar and started from its pre-race screen.
    void StartSaturdaysQualifying()
    {
        OpenChampionshipCalendar();
        ClickAt(30, kSaturdayX, kSecondRowY);
        ClickAt(230, 600, 460);
    }

    void PressEscapeAt(uint32_t frame)
    {
        platform_.AtFrame(kIntroPictures + frame,
                          {.kind = PlatformEvent::Kind::KeyDown, .virtualKey = vk::Escape});
    }

    static uint32_t RunGame()
    {
        GameApp app;
        return app.InitInstance();
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_;
};
}  // namespace

TEST_F(SeasonGameTest, AChampionshipFromTheMenuReachesItsPreRaceScreenAndBackLeavesIt)
{
    OpenChampionshipCalendar();
    ClickAt(30, kRaceX, kSecondRowY);  // the pit box's calendar: Sunday's race
    ClickAt(230, kBackX, kBackY);      // the pre-race screen's back button
    PressEscapeAt(270);                // the main menu again: the game ends
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    EXPECT_EQ(g_menuState.U32At(MenuState::kGameModeOffset), 3u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 0u);
    // Training to warm-up were simulated before the race's pre-race screen.
    for (uint32_t session = 0; session < kTimedSessions; ++session)
    {
        EXPECT_GT(SessionTimesAt(g_menuState, session, 0).lapMs, 0) << session;
    }
    // The first round has not been raced.
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        EXPECT_EQ(ChampionshipPlace(g_menuState, rider, 0), kNotRaced) << rider;
    }
}

TEST_F(SeasonGameTest, TheSessionPickedInThePitBoxIsRiddenAfterTheOnesBeforeIt)
{
    OpenChampionshipCalendar();
    ClickAt(30, kSaturdayX, kSecondRowY);  // Saturday's qualifying
    ClickAt(230, kBackX, kBackY);          // its pre-race screen: back
    PressEscapeAt(270);
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    for (uint32_t session = 0; session < 3; ++session)
    {
        EXPECT_GT(SessionTimesAt(g_menuState, session, 0).lapMs, 0) << session;
    }
    for (uint32_t session = 3; session < kTimedSessions; ++session)
    {
        EXPECT_LE(SessionTimesAt(g_menuState, session, 0).lapMs, 0) << session;
    }
}

TEST_F(SeasonGameTest, AQualifyingIsRiddenFromThePitLaneAgainstItsTimeAndTheWarmUpFollows)
{
    StartSaturdaysQualifying();
    PressEscapeAt(400);      // the pit box over the session
    ClickAt(440, 40, 460);   // its leave button
    ClickAt(520, 600, 460);  // the session's results: continue
    ClickAt(560, 600, 460);
    platform_.AtFrame(kIntroPictures + 900, {.kind = PlatformEvent::Kind::Quit});
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    const StandingsSession& session = g_standings.Session();
    EXPECT_FALSE(session.isRace);
    EXPECT_TRUE(session.isQualifying);
    EXPECT_TRUE(session.lapLimit);
    EXPECT_EQ(session.riderCount, g_riderCount);
    EXPECT_EQ(g_standings.sessionEndTime, 1800.0f);
    EXPECT_EQ(g_race.totalLaps, 33);
    // The qualifying is scored for the field, and the weekend goes on to its warm-up.
    EXPECT_GT(SessionTimesAt(g_menuState, 3, 0).lapMs, 0);
    EXPECT_EQ(g_menuState.U32At(MenuState::kSessionOffset), 4u);
}

TEST_F(SeasonGameTest, AGameQuitInASessionEndsWithoutGoingOnToTheNext)
{
    StartSaturdaysQualifying();
    platform_.AtFrame(kIntroPictures + 400, {.kind = PlatformEvent::Kind::Quit});
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    EXPECT_TRUE(g_standings.Session().isQualifying) << "the qualifying was ridden";
    EXPECT_EQ(g_menuState.U32At(MenuState::kSessionOffset), 3u) << "no session after it";
}

TEST_F(SeasonGameTest, TheCalendarNamesThePlayerAndItsAbortEndsTheWeekendBeforeAnySession)
{
    OpenChampionshipCalendar();
    ClickAt(30, 40, 460);   // the calendar's abort
    ClickAt(60, 540, 256);  // confirmed
    PressEscapeAt(160);     // the main menu again: the game ends
    g_riderProfiles.fill(RiderProfile{});
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    EXPECT_EQ(g_menuState.U32At(MenuState::kSessionOffset), 0u);
    EXPECT_LE(SessionTimesAt(g_menuState, 0, 0).lapMs, 0) << "no session was simulated";
    EXPECT_FALSE(g_riderProfiles[g_playerRider.load()].ShownName().empty())
        << "the calendar named the player's rider";
}

TEST_F(SeasonGameTest, ARaceLeftEarlyIsScoredAndTheChampionshipGoesOnToItsNextRound)
{
    OpenChampionshipCalendar();
    ClickAt(30, kRaceX, kSecondRowY);  // the pit box's calendar: Sunday's race
    ClickAt(230, 600, 460);            // the pre-race screen's start button
    PressEscapeAt(590);                // before the start: the countdown starts again
    // From the start on the loop's Esc opens the pit box over the race and the click on the
    // pre-race screen's back button after it lands on the pit box's leave button; then the
    // race's results and the points, each left with its continue button.
    ClickAt(800, 600, 460);
    ClickAt(820, 600, 460);
    // However long the race takes to end and be scored: the next round's race in the pit box,
    // back on its pre-race screen, and Esc once the main menu is there again ends the game.
    // Each click lands on nothing in the other screens.
    for (uint32_t frame = 690; frame < 3400; frame += 40)
    {
        ClickAt(frame, kRaceX, kSecondRowY);
        ClickAt(frame + 13, kBackX, kBackY);
        PressEscapeAt(frame + 26);
    }
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), 1u);
    // Every rider of the field has a place or none at the first circuit; the places are
    // 0, 1, 2 ... without a gap, each once.
    std::array<int, MenuState::kRiders> placeCount{};
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        const uint8_t place = ChampionshipPlace(g_menuState, rider, 0);
        EXPECT_NE(place, kNotRaced) << rider;
        if (place < MenuState::kRiders)
        {
            ++placeCount[place];
        }
    }
    const auto placed = static_cast<size_t>(std::ranges::find(placeCount, 0) - placeCount.begin());
    EXPECT_GT(placed, 4u);
    for (size_t place = 0; place < MenuState::kRiders; ++place)
    {
        EXPECT_EQ(placeCount[place], place < placed ? 1 : 0) << place;
    }
}

TEST_F(SeasonGameTest, ASavePickedInTheMenuGoesOnWithItsChampionship)
{
    constexpr uint32_t kSavedRider = 7;
    constexpr uint32_t kSavedCircuit = 5;
    MenuState saved;
    saved.SetU32At(MenuState::kGameModeOffset, 3);
    saved.SetU32At(MenuState::kBikeClassOffset, 1);
    saved.SetU32At(MenuState::kPlayerRiderOffset, kSavedRider);
    saved.SetU32At(MenuState::kCircuitOffset, kSavedCircuit);
    saved.SetU32At(MenuState::kSessionOffset, 0);
    saved.SetU32At(MenuState::kFieldMaskOffset, 0xFFFF);
    ClearChampionship(saved);
    for (uint32_t rider = 0; rider < 16; ++rider)
    {
        for (uint32_t circuit = 0; circuit < kSavedCircuit; ++circuit)
        {
            SetChampionshipPlace(saved, rider, circuit,
                                 static_cast<uint8_t>((rider + circuit) % 16));
        }
    }
    std::string error;
    ASSERT_TRUE(kit::WriteChampionshipSave(directory_.path() + "/save/wm/Saison", saved,
                                           kit::ClassStandardSetup(BikeClass::Class250),
                                           kit::SaveForm::Current, error))
        << error;

    ClickAt(5, 60, 260);                                                         // load game
    ClickAt(14, FileRequester::kDefaultX + 200, FileRequester::kDefaultY + 50);  // the save
    ClickAt(18, FileRequester::kDefaultX + 36, FileRequester::kDefaultY + 275);  // OK
    ClickAt(60, kRaceX, kSecondRowY);  // the saved round's calendar: Sunday's race
    ClickAt(260, kBackX, kBackY);      // its pre-race screen: back
    PressEscapeAt(300);                // the main menu again: the game ends
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);
    EXPECT_LT(platform_.NowMs(), kBackstopMs);

    EXPECT_EQ(g_menuState.U32At(MenuState::kGameModeOffset), 3u);
    EXPECT_EQ(g_menuState.U32At(MenuState::kCircuitOffset), kSavedCircuit);
    EXPECT_EQ(g_menuState.U32At(MenuState::kPlayerRiderOffset), kSavedRider);
    EXPECT_EQ(g_menuState.U32At(MenuState::kFieldMaskOffset), 0xFFFFu) << "the season's field";
    for (uint32_t rider = 0; rider < MenuState::kRiders; ++rider)
    {
        for (uint32_t circuit = 0; circuit < kSavedCircuit; ++circuit)
        {
            EXPECT_EQ(ChampionshipPlace(g_menuState, rider, circuit),
                      ChampionshipPlace(saved, rider, circuit));
        }
    }
    // The saved round's timed sessions were run for the field.
    EXPECT_GT(SessionTimesAt(g_menuState, 1, 0).lapMs, 0);
}

TEST_F(SeasonGameTest, TheSetupTunedOnTheSessionsPreRaceScreenIsTheOneTheSessionRides)
{
    StartSaturdaysQualifying();
    platform_.AtFrame(kIntroPictures + 400, {.kind = PlatformEvent::Kind::Quit});
    constexpr float kTunedOpening = 0.3f;
    float riddenOpening = -1.0f;
    // As the set-up screen leaves it on the player's bike, then a while into the session.
    platform_.SetTimeGate(
        [&](uint64_t)
        {
            BikeSetup& setup = g_bikes[g_playerRider.load() % kRiderCount].setup;
            const uint32_t frame = platform_.PresentCount();
            if (frame == kIntroPictures + 200)
            {
                setup.coolingOpening = kTunedOpening;
            }
            else if (frame == kIntroPictures + 390)
            {
                riddenOpening = setup.coolingOpening;
            }
        });
    EXPECT_EQ(RunGame(), GameWindow::kRunEnded);

    EXPECT_TRUE(g_standings.Session().isQualifying) << "the session was ridden";
    EXPECT_EQ(riddenOpening, kTunedOpening);
}
