// A race from the main menu, end to end on the demo installation: Go starts a race of the
// field the settings ask for, the player rides it with the keyboard, Esc opens the pit box over
// the race, its continue button races on, its leave button ends the race, the result page after
// it goes back to the menu and Esc there ends the game; two runs give the same race. Resuming
// ends the player's fall, and race again races the session again from its grid. A fall takes
// the player's body off his machine, and its end puts him back on it on the racing line. Riding
// off the track throws the player off only while the settings' accidents are active.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/clock/RaceClock.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuState.h"
#include "content/RaceContent.h"
#include "core/world/WorldObject.h"
#include "kit/settings/MenuStateWriter.h"
#include "race/RaceContext.h"
#include "race/collision/CollisionManager.h"
#include "tests/program/GameRun.h"
#include "view/race/InRaceMenu.h"

namespace
{
struct RaceOutcome
{
    uint32_t result = 0;
    bool endedByScript = false;
    std::vector<uint32_t> checksums;
    float playerThrottle = 0.0f;
    float playerSpeed = 0.0f;
    float slowestComputerRider = 0.0f;
    uint32_t ridersInRace = 0;
    uint32_t opponentsChosen = 0;
    std::vector<uint64_t> frameHashes;
    size_t messageBoxes = 0;
    GameMode menuModeAfterRace = GameMode::NetworkRace;
    bool stoodStillUnderTheMenu = false;
    bool racedOnAfterTheMenu = false;
};

// How the script ends the game: through the pit box and the menu, or the window closed while
// the grid is still shown.
enum class Ending
{
    LeaveThroughThePitBox,
    QuitInTheRace,
};

// Where the pit box's leave and continue buttons lie.
constexpr int32_t kLeaveX = 40;
constexpr int32_t kLeaveY = 460;
constexpr int32_t kContinueX = 580;
constexpr int32_t kContinueY = 460;

RaceOutcome RaceOnce(Ending ending = Ending::LeaveThroughThePitBox)
{
    GameRun run;
    RaceOutcome outcome;
    uint32_t menuClockMs = 0;  // the race's clock under the menu
    run.ChooseSingleRace();
    // Full throttle as the lights go out.
    run.AtRace(0, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('A')});
    if (ending == Ending::QuitInTheRace)
    {
        run.AtRace(8000, {.kind = GameRun::Kind::Quit});
    }
    else
    {
        // Esc 4 s after the start opens the pit box over the race, under which a single race
        // stands still; continue races on.
        run.KeyAtRace(4000, vk::Escape);
        run.CallAtRace(5200,
                       [&](GameWindow&)
                       {
                           menuClockMs = g_raceClockMs.load();
                           outcome.stoodStillUnderTheMenu = !g_raceClockOn.load();
                       });
        run.ExpectFrameAtRace(5600, "race_pitbox", 0xC8D1F7486CFEC7E1ull);
        run.CallAtRace(5600, [&](GameWindow&)
                       { outcome.stoodStillUnderTheMenu &= g_raceClockMs.load() == menuClockMs; });
        run.ClickAtRace(6000, kContinueX, kContinueY);
        // The menu took the keys: full throttle again.
        run.AtRace(7600, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('A')});
        run.CallAtRace(9000,
                       [&](GameWindow&)
                       {
                           outcome.racedOnAfterTheMenu =
                               g_raceClockOn.load() && g_raceClockMs.load() > menuClockMs + 1000;
                       });
        // Esc again, and leaving ends the race; leaving the result page goes back to the menu,
        // and Esc there ends the game.
        run.KeyAtRace(9600, vk::Escape);
        run.ClickAtRace(10800, kLeaveX, kLeaveY);
        run.ExpectFrameAtRace(13800, "race_results", 0xFF756C54F02DF412ull);
        run.ClickAtRace(14400, kLeaveX, kLeaveY);
        run.KeyAtRace(19000, vk::Escape);
    }

    outcome.result = run.Run();
    outcome.endedByScript = run.EndedByScript();
    ScriptedPlatform& platform = run.Platform();
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        outcome.checksums.push_back(g_bikes[rider].StateChecksum());
    }
    const uint32_t player = g_playerRider.load() % kRiderCount;
    outcome.playerThrottle = g_bikes[player].throttle;
    outcome.playerSpeed = g_bikes[player].speed;
    outcome.slowestComputerRider = 1000.0f;
    for (uint32_t rider = 0; rider < kRiderCount; ++rider)
    {
        if (g_race.inRace[rider] == 0)
        {
            continue;
        }
        ++outcome.ridersInRace;
        if (rider != player)
        {
            outcome.slowestComputerRider =
                std::min(outcome.slowestComputerRider, g_bikes[rider].speed);
        }
    }
    outcome.opponentsChosen = g_menuState.U32At(MenuState::kOpponentsOffset);
    for (const CapturedFrame& frame : platform.Frames())
    {
        outcome.frameHashes.push_back(
            HashFrame({frame.pixels.data(), frame.width, frame.height, frame.width * 2}));
    }
    outcome.messageBoxes = platform.MessageBoxes().size();
    outcome.menuModeAfterRace = g_gameMode;
    return outcome;
}

TEST(RaceSessionTest, GoRacesTheFieldAndThePitBoxLeavesForTheMenuTheSameTwice)
{
    const RaceOutcome first = RaceOnce();
    EXPECT_EQ(first.result, GameWindow::kRunEnded);
    EXPECT_TRUE(first.endedByScript);
    EXPECT_EQ(first.messageBoxes, 0u);
    EXPECT_TRUE(first.stoodStillUnderTheMenu);
    EXPECT_TRUE(first.racedOnAfterTheMenu);
    // The keyboard's throttle reached the player's machine through the input step.
    EXPECT_EQ(first.playerThrottle, 1.0f);
    // The field is the player and the chosen opponents; four seconds after the lights it
    // rides: the player's machine under full throttle, every computer rider with it (the back
    // of the grid still waiting for room in front).
    EXPECT_EQ(first.ridersInRace, first.opponentsChosen + 1);
    EXPECT_GT(first.playerSpeed, 10.0f);
    EXPECT_GT(first.slowestComputerRider, 0.5f);
    ASSERT_FALSE(first.frameHashes.empty());
    // The menu the race returned to offers a race again.
    EXPECT_EQ(first.menuModeAfterRace, GameMode::Race);

    // A game closed in mid-race leaves the riders' records as they were; the next race must
    // not start from them.
    const RaceOutcome closed = RaceOnce(Ending::QuitInTheRace);
    EXPECT_EQ(closed.result, GameWindow::kRunEnded);

    const RaceOutcome second = RaceOnce();
    EXPECT_EQ(second.checksums, first.checksums);
    EXPECT_EQ(second.frameHashes, first.frameHashes);
}

// The pause menu as the player would use it: the first time the player's rider lies in a fall
// (his machine's rear wheel hidden by it) and the player resumes; the second time the player
// asks for the race again; the third time the player leaves the race and the game.
class ScriptedRaceMenu : public InRaceMenu
{
public:
    struct Visit
    {
        uint32_t ticksDone = 0;
        uint32_t playerFlags = 0;
        bool wheelHidden = false;
    };

    bool Open() override
    {
        const BikeRecord& bike = PlayerBike();
        visits.push_back({g_ticksDone.load(), bike.flags,
                          (bike.links.bike->flags & object_flags::kNoOwnPolygons) != 0});
        return true;
    }
    uint32_t Frame(float /*realSeconds*/) override
    {
        switch (visits.size())
        {
            case 1:
            {
                BikeRecord& bike = PlayerBike();
                bike.flags |= bike_flags::kDown | bike_flags::kFalling;
                bike.links.bike->flags |= object_flags::kNoOwnPolygons;
                return kResume;
            }
            case 2:
                return kRaceAgain;
            default:
                MainWindow()->RequestQuit();
                return kLeaveRace;
        }
    }

    std::vector<Visit> visits;

private:
    static BikeRecord& PlayerBike() { return g_bikes[g_playerRider.load() % kRiderCount]; }
};

TEST(RaceSessionTest, ResumingEndsTheFallAndRaceAgainRacesFromTheGridOnce)
{
    GameRun run;
    run.ChooseSingleRace();
    // Esc every 2 s once the first race is under way: it opens the pause menu whenever the
    // race runs (and restarts the next race's countdown once).
    for (uint32_t ms = 4000; GameRun::kLightsOutMs + ms < GameRun::kBackstopMs; ms += 2000)
    {
        run.KeyAtRace(ms, vk::Escape);
    }
    ScriptedRaceMenu menu;
    EXPECT_EQ(run.Run(&menu), GameWindow::kRunEnded);
    EXPECT_TRUE(run.EndedByScript());
    EXPECT_EQ(run.Platform().MessageBoxes().size(), 0u);

    ASSERT_EQ(menu.visits.size(), 3u);
    // Back from the pause menu the fall was over: the rider up, his machine shown again.
    EXPECT_EQ(menu.visits[1].playerFlags & (bike_flags::kDown | bike_flags::kFalling), 0u);
    EXPECT_FALSE(menu.visits[1].wheelHidden);
    // The race again started from its grid, and the request was used up by it.
    EXPECT_LT(menu.visits[2].ticksDone, menu.visits[1].ticksDone);
    EXPECT_GT(menu.visits[2].ticksDone, 0u);
    EXPECT_FALSE(g_raceAgain);
}

struct PlayerFall
{
    bool started = false;
    bool bodyOffTheBike = false;
    bool bodyByTheBike = false;
    bool fallOver = false;
    bool bodyOnTheSeat = false;
    float distanceToLine = -1.0f;
    float headingOffLine = -1.0f;
};

TEST(RaceSessionTest, AFallTakesThePlayerOffHisMachineAndItsEndPutsHimBackOnTheLine)
{
    GameRun run;
    run.ChooseSingleRace();
    // Away from the grid, a stop short of the line node ahead, and off the machine there.
    run.AtRace(0, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('A')});
    run.AtRace(1200, {.kind = GameRun::Kind::KeyUp, .virtualKey = vk::Letter('A')});
    run.AtRace(1200, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('Y')});
    run.AtRace(2800, {.kind = GameRun::Kind::KeyUp, .virtualKey = vk::Letter('Y')});
    PlayerFall fall;
    const auto player = []() -> BikeRecord& { return g_bikes[g_playerRider.load() % kRiderCount]; };
    run.CallAtRace(3000,
                   [&](GameWindow& window)
                   {
                       fall.started = window.Race().Collisions().StartFall(
                           g_playerRider.load() % kRiderCount, fall_type::kOffTrack);
                   });
    run.CallAtRace(4200,
                   [&](GameWindow&)
                   {
                       const BikeRecord& bike = player();
                       const WorldObject* hip = bike.links.hip.get();
                       fall.bodyOffTheBike =
                           hip->parent.get() == g_raceContent.Scene().crewStage.sharedFigure;
                       // The shared figure stands at the origin: the hip's place is the world's.
                       fall.bodyByTheBike = std::hypot(hip->placement.x - bike.positionX,
                                                       hip->placement.z - bike.positionZ) < 3.0f;
                   });
    // The rider stands beside his machine, stepping away from it.
    run.ExpectFrameAtRace(4200, "race_player_off_his_bike", 0x537030D269E7D3B7ull);
    // Long after the clip and the time down: on the seat again, the machine standing on the
    // line node it was put on, along the line.
    run.CallAtRace(20000,
                   [&](GameWindow&)
                   {
                       const BikeRecord& bike = player();
                       fall.fallOver = (bike.flags & bike_flags::kFalling) == 0;
                       fall.bodyOnTheSeat = bike.links.hip->parent == bike.links.seat;
                       const RacingLineNode& node = g_race.nodes[bike.aiTargetNode];
                       fall.distanceToLine =
                           std::hypot(node.x - bike.positionX, node.z - bike.positionZ);
                       fall.headingOffLine = std::fabs(node.heading - bike.heading);
                   });
    run.ExpectFrameAtRace(20000, "race_player_back_on_his_bike", 0x00237CF2457B67E4ull);
    run.AtRace(20400, {.kind = GameRun::Kind::Quit});
    EXPECT_EQ(run.Run(), GameWindow::kRunEnded);

    EXPECT_TRUE(fall.started);
    EXPECT_TRUE(fall.bodyOffTheBike);
    EXPECT_TRUE(fall.bodyByTheBike);
    EXPECT_TRUE(fall.fallOver);
    EXPECT_TRUE(fall.bodyOnTheSeat);
    EXPECT_GE(fall.distanceToLine, 0.0f);
    EXPECT_LT(fall.distanceToLine, 0.01f);
    EXPECT_GE(fall.headingOffLine, 0.0f);
    EXPECT_LT(fall.headingOffLine, 1e-6f);
}

// Whether the player's rider, at full throttle from the lights and steering hard right from the
// second second on, ever lies in a fall within 16 s.
bool PlayerFallsRidingOffTheTrack(uint8_t accidentsInactive)
{
    GameRun run;
    MenuState settings;
    settings.SetU8At(MenuState::kAccidentsInactiveOffset, accidentsInactive);
    std::string error;
    EXPECT_TRUE(kit::WriteMenuState("menustate.dat", settings, error)) << error;
    run.ChooseSingleRace();
    run.AtRace(0, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Letter('A')});
    run.AtRace(2000, {.kind = GameRun::Kind::KeyDown, .virtualKey = vk::Right});
    bool fell = false;
    for (uint32_t ms = 2000; ms <= 16000; ms += GameRun::kRaceFrameMs)
    {
        run.CallAtRace(ms,
                       [&](GameWindow&)
                       {
                           const BikeRecord& bike = g_bikes[g_playerRider.load() % kRiderCount];
                           fell |= (bike.flags & (bike_flags::kDown | bike_flags::kFalling)) != 0;
                       });
    }
    run.AtRace(16400, {.kind = GameRun::Kind::Quit});
    EXPECT_EQ(run.Run(), GameWindow::kRunEnded);
    return fell;
}

TEST(RaceSessionTest, RidingOffTheTrackThrowsThePlayerOffOnlyWhileAccidentsAreActive)
{
    EXPECT_TRUE(PlayerFallsRidingOffTheTrack(1)) << "accidents inactive: off";
    EXPECT_FALSE(PlayerFallsRidingOffTheTrack(0)) << "accidents inactive: on";
}
}  // namespace

// A set-up tuned on the pre-race screen, as its set-up screen leaves it on the player's bike,
// is the one the race is ridden with.
TEST(RaceSessionTest, TheSetupTunedBeforeTheRaceIsTheOneTheRaceRides)
{
    GameRun run;
    run.ChooseSingleRace();
    constexpr float kTunedOpening = 0.3f;
    // Between Go on the rider page and the pre-race screen's start.
    run.CallAt(8000,
               [&](GameWindow&)
               {
                   BikeRecord& player = g_bikes[g_playerRider.load() % kRiderCount];
                   player.setup.coolingOpening = kTunedOpening;
               });
    float racedOpening = -1.0f;
    run.CallAtRace(
        0, [&](GameWindow&)
        { racedOpening = g_bikes[g_playerRider.load() % kRiderCount].setup.coolingOpening; });
    run.AtRace(800, {.kind = GameRun::Kind::Quit});
    run.Run();

    EXPECT_EQ(racedOpening, kTunedOpening);
}
