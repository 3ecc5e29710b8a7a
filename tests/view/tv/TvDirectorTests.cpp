// The director's decisions over a scripted race: a camera that does what it is told, riders
// placed where a battle or a crowd should be found, and a seeded or scripted random source.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/util/RuntimeRandom.h"
#include "tests/view/hud/HudTestSupport.h"
#include "view/tv/TvDirector.h"

namespace
{
std::deque<int> g_rolls;

int ScriptedRoll()
{
    const int roll = g_rolls.empty() ? 0 : g_rolls.front();
    if (!g_rolls.empty())
    {
        g_rolls.pop_front();
    }
    return roll;
}

// Follows the director's calls as the race camera would: the mode, the viewed rider and the
// shot clock of a TV camera.
class FollowingCamera : public RecordingHooks
{
public:
    explicit FollowingCamera(HudFrame& frame) : frame_(frame) {}
    void SetViewedRider(uint32_t rider) override
    {
        RecordingHooks::SetViewedRider(rider);
        frame_.viewedRider = rider;
    }
    void SetTvView() override
    {
        RecordingHooks::SetTvView();
        frame_.cameraMode = CameraMode::CameraTv;
        frame_.cameraShotClock = 0.0f;
    }
    void SetTrailView() override
    {
        RecordingHooks::SetTrailView();
        frame_.cameraMode = CameraMode::CameraTrail;
    }
    void SetCloseView() override
    {
        RecordingHooks::SetCloseView();
        frame_.cameraMode = CameraMode::CameraClose;
    }
    void SetOnBoardView() override
    {
        RecordingHooks::SetOnBoardView();
        frame_.cameraMode = CameraMode::CameraOnBoard;
    }

private:
    HudFrame& frame_;
};

// A TV race of riders spread across the circuit, all on lap 1.
struct DirectedRace
{
    explicit DirectedRace(uint32_t riders = 10, DirectorRandom random = RuntimeRand)
        : scene(riders), director(random)
    {
        scene.frame.tvMode = true;
        scene.frame.realFrameMs = 100;
        scene.frame.cameraTimerExpired = true;
        // Spread out along x, riding along z.
        for (uint32_t rider = 0; rider < riders; ++rider)
        {
            scene.bikes[rider].positionX = 100.0f * static_cast<float>(rider);
            scene.bikes[rider].velocity = {0.0f, 0.0f, 30.0f};
            scene.bikes[rider].timedLap = 1;
        }
        director.Reset(scene.frame.lapsOfRace);
    }

    // The rider ahead 12 m in front of the chaser: each alone within 10 m, the one in reach of
    // the chaser's point 10 m ahead.
    void PlaceBattle(uint32_t chaser, uint32_t ahead)
    {
        scene.bikes[ahead].positionX = scene.bikes[chaser].positionX;
        scene.bikes[ahead].positionZ = scene.bikes[chaser].positionZ + 12.0f;
    }

    // Everyone crosses the line, half a second apart in place order.
    void StartLap(uint16_t lap, int32_t leaderMs)
    {
        for (uint32_t place = 0; place < scene.frame.riderCount; ++place)
        {
            BikeRecord& bike = scene.bikes[scene.standings.positionTable[place]];
            bike.timedLap = lap;
            bike.aiLapStartMs = leaderMs + 500 * static_cast<int32_t>(place);
        }
    }

    // The page after each decision, with the calls it made, over the given real time.
    std::vector<std::string> Run(int32_t ms, const std::function<void(int32_t)>& onFrame = {})
    {
        std::vector<std::string> decisions;
        for (int32_t elapsed = 0; elapsed < ms; elapsed += scene.frame.realFrameMs)
        {
            if (onFrame)
            {
                onFrame(elapsed);
            }
            scene.frame.raceTime += 0.1f;
            scene.frame.cameraShotClock += 0.1f;
            const size_t before = camera.calls.size();
            const int32_t cutBefore = director.CutTimer();
            director.Direct(scene.frame, camera);
            if (director.CutTimer() > cutBefore)
            {
                std::string line = std::to_string(elapsed / 1000) + "s page " +
                                   std::to_string(static_cast<int>(director.Page()));
                for (size_t call = before; call < camera.calls.size(); ++call)
                {
                    line += " " + camera.calls[call];
                }
                decisions.push_back(line);
            }
            director.DrawPage(scene.frame, canvas);
            canvas.log.clear();
        }
        return decisions;
    }

    HudScene scene;
    TvDirector director;
    FollowingCamera camera{scene.frame};
    RecordingCanvas canvas;
};

// Ten riders, a battle between riders 3 and 4, the field on lap 2 from 70 s.
TEST(TvDirectorTest, SequenceForFixedSeeds)
{
    const struct
    {
        uint32_t seed;
        std::vector<std::string> decisions;  // when, the page, and the calls made
    } cases[] = {
        {1,
         {
             "0s page 1 view 3 tv",
             "15s page 3 view 3 onboard",
             "21s page 1 view 3 tv",
             "36s page 1 view 3 close",
             "51s page 2 view 3 onboard",
             "66s page 2 view 3 onboard",
             "81s page 6 tv",
             "97s page 0 autoswitch",
             "98s page 0 autoswitch",
             "99s page 0 autoswitch",
             "100s page 5",
             "107s page 3 view 3 onboard",
             "113s page 3 view 3 onboard",
             "119s page 1 view 3 tv",
             "134s page 1 view 3 close",
             "149s page 0 view 3 tv",
         }},
        {42,
         {
             "0s page 3 view 3 onboard",
             "6s page 1 view 3 tv",
             "21s page 0 autoswitch",
             "22s page 3 view 3 onboard",
             "28s page 1 view 4 tv",
             "43s page 1 view 3 close",
             "58s page 0 view 3 tv",
             "64s page 2 view 3 onboard",
             "79s page 6 tv",
             "95s page 0 autoswitch",
             "96s page 1 view 3 close",
             "112s page 5",
             "118s page 1 view 3 tv",
             "133s page 3 view 3 onboard",
             "139s page 3 view 3 onboard",
             "145s page 2 view 3 onboard",
         }},
        {7,
         {
             "0s page 1 view 3 tv",
             "15s page 2 view 3 onboard",
             "30s page 1 view 3 tv",
             "45s page 0 autoswitch",
             "46s page 3 view 3 onboard",
             "52s page 3 view 3 onboard",
             "58s page 1 view 3 close",
             "73s page 6 tv",
             "89s page 5",
             "95s page 0 autoswitch",
             "96s page 2 view 3 onboard",
             "112s page 2 view 3 onboard",
             "127s page 1 view 3 close",
             "142s page 1 view 3 trail",
         }},
    };
    for (const auto& c : cases)
    {
        RuntimeSeed(c.seed);
        DirectedRace race;
        race.PlaceBattle(3, 4);
        const std::vector<std::string> decisions = race.Run(150000,
                                                            [&race](int32_t elapsed)
                                                            {
                                                                if (elapsed == 70000)
                                                                {
                                                                    race.StartLap(2, 70000);
                                                                }
                                                            });
        EXPECT_EQ(decisions, c.decisions) << "seed " << c.seed;
    }
}

TEST(TvDirectorTest, NoCloseShotsInTheRain)
{
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u})
    {
        RuntimeSeed(seed);
        DirectedRace race;
        race.scene.frame.weather = Weather::Rain;
        race.Run(300000);
        EXPECT_FALSE(race.camera.Called("close")) << seed;

        RuntimeSeed(seed);
        DirectedRace dry;
        dry.Run(300000);
        EXPECT_TRUE(dry.camera.Called("close")) << seed;  // the same rolls take one when dry
    }
}

TEST(TvDirectorTest, TvCameraCutsOnlyAfterTwoSecondsOfItsShot)
{
    g_rolls = {0, 0, 0, 0};  // busy-rider cuts: the TV camera switches itself
    DirectedRace race(10, ScriptedRoll);
    race.scene.frame.cameraMode = CameraMode::CameraTv;
    race.scene.frame.cameraShotClock = 1.9f;
    race.director.Direct(race.scene.frame, race.camera);
    EXPECT_TRUE(race.camera.calls.empty());

    race.scene.frame.cameraShotClock = 2.0f;
    race.director.Direct(race.scene.frame, race.camera);
    EXPECT_EQ(race.camera.calls, std::vector<std::string>{"autoswitch"});
    EXPECT_EQ(race.director.CutTimer(), 1000);

    race.scene.frame.cameraMode = CameraMode::CameraChase;  // other cameras wait for their timer
    race.scene.frame.cameraTimerExpired = false;
    race.scene.frame.realFrameMs = 2000;
    race.director.Direct(race.scene.frame, race.camera);
    EXPECT_EQ(race.camera.calls.size(), 1u);
}

TEST(TvDirectorTest, BattleEndsEarlyWhenTheRidersSplitOrTouchAfterFiveSeconds)
{
    const struct
    {
        float gap;
        bool cut;
    } cases[] = {{12.0f, false}, {31.0f, true}, {4.0f, true}};
    for (const auto& c : cases)
    {
        g_rolls = {2, 2};  // r & 3 = 2, r % 50 < 25: the battle page
        DirectedRace race(10, ScriptedRoll);
        race.PlaceBattle(3, 4);
        race.director.Direct(race.scene.frame, race.camera);
        ASSERT_EQ(race.director.Page(), TvPage::Battle);
        EXPECT_EQ(race.director.RiderA(), 3);
        EXPECT_EQ(race.director.RiderB(), 4);
        EXPECT_TRUE(race.camera.Called("onboard"));

        race.scene.bikes[4].positionZ = race.scene.bikes[3].positionZ + c.gap;
        for (int frame = 0; frame < 50; ++frame)  // 5 s on the page
        {
            race.director.DrawPage(race.scene.frame, race.canvas);
        }
        EXPECT_GT(race.director.CutTimer(), 0) << c.gap;
        race.director.DrawPage(race.scene.frame, race.canvas);
        EXPECT_EQ(race.director.CutTimer() < 0, c.cut) << c.gap;
    }
}

TEST(TvDirectorTest, LapChartWaitsForTheLastOfAFewRiders)
{
    g_rolls = {0, 0, 0, 0, 0, 0};
    DirectedRace race(4, ScriptedRoll);
    race.scene.frame.cameraMode = CameraMode::CameraChase;
    race.StartLap(2, 1000);
    race.scene.bikes[3].timedLap = 1;  // the last rider is still on lap 1
    race.director.Direct(race.scene.frame, race.camera);
    EXPECT_NE(race.director.Page(), TvPage::LapChart);

    race.scene.bikes[3].timedLap = 2;
    race.scene.frame.realFrameMs = 20000;
    race.scene.frame.cameraShotClock = 2.0f;
    race.director.Direct(race.scene.frame, race.camera);
    EXPECT_EQ(race.director.Page(), TvPage::LapChart);
    EXPECT_STREQ(race.director.Caption(), "Lap 2 of 5");
    EXPECT_TRUE(race.camera.Called("tv"));
}

TEST(TvDirectorTest, FinishedLeaderHandsOverToTheFinalStanding)
{
    DirectedRace race(6);
    race.scene.SetOrder({5, 0, 1, 2, 3, 4});
    race.scene.bikes[5].timedLap = 6;
    EXPECT_TRUE(race.director.Direct(race.scene.frame, race.camera));
    EXPECT_EQ(race.camera.calls, (std::vector<std::string>{"view 5", "tv"}));
}

TEST(TvDirectorTest, EmptyFieldPicksNobody)
{
    DirectedRace race(0);
    EXPECT_EQ(race.director.PickBusyRider(race.scene.frame), -1);
    EXPECT_EQ(race.director.PickRandomRider(race.scene.frame), -1);
    EXPECT_FALSE(race.director.Direct(race.scene.frame, race.camera));
    EXPECT_TRUE(race.camera.calls.empty());
}

TEST(TvDirectorTest, BusyRiderIsTheOneWithTheMostRidersNear)
{
    RuntimeSeed(3);
    DirectedRace race(10);
    for (uint32_t rider : {6u, 7u, 8u})  // a group round rider 7
    {
        race.scene.bikes[rider].positionX = 700.0f;
        race.scene.bikes[rider].positionZ = 5.0f * (static_cast<float>(rider) - 7.0f);
    }
    race.scene.standings.sessionRanks[7] = session_rank::kCrashedOut;
    race.director.Direct(race.scene.frame, race.camera);  // builds the table
    const int32_t busy = race.director.PickBusyRider(race.scene.frame);
    EXPECT_TRUE(busy == 6 || busy == 8) << busy;  // rider 7 is out
    EXPECT_EQ(race.director.CrowdCount(), 3);
}

TEST(TvDirectorTest, NameBandWipesInFromTheLeft)
{
    g_rolls = {0, 0};  // a TV view of the busy rider, with the name band
    DirectedRace race(10, ScriptedRoll);
    race.scene.frame.cameraMode = CameraMode::CameraChase;
    race.director.Direct(race.scene.frame, race.camera);
    ASSERT_EQ(race.director.Page(), TvPage::NameBand);
    race.canvas.portraits = {static_cast<int>(race.scene.frame.viewedRider)};
    race.scene.frame.realFrameMs = 250;
    std::vector<std::string> clips;
    for (int frame = 0; frame < 5; ++frame)
    {
        race.canvas.log.clear();
        race.director.DrawPage(race.scene.frame, race.canvas);
        clips.push_back(race.canvas.Lines("clip")[0]);
    }
    EXPECT_EQ(clips,
              (std::vector<std::string>{"clip 0,0 160,480", "clip 0,0 320,480", "clip 0,0 480,480",
                                        "clip 0,0 640,480", "clip 0,0 640,480"}));
    EXPECT_TRUE(race.canvas.Has("rect -1 0,380 640x100 uv 0,0 0,0 a120"));
    EXPECT_TRUE(race.canvas.Lines("picture Portrait").size() == 1);
    EXPECT_TRUE(race.canvas.Has("picture Logo#0 0,0 -> 560,10 64x32"));
}

TEST(TvDirectorTest, StandingsShowARowEveryHalfSecondTwelveAPage)
{
    g_rolls = {2};
    DirectedRace race(26, ScriptedRoll);
    race.scene.frame.realFrameMs = 61000;  // the standings timer has run out
    race.scene.frame.raceTime = 30.0f;
    race.director.Direct(race.scene.frame, race.camera);
    ASSERT_EQ(race.director.Page(), TvPage::Standings);
    EXPECT_STREQ(race.director.Caption(), "Lap 1 of 5");

    race.scene.frame.realFrameMs = 50;
    const auto namesShown = [&race]
    {
        race.canvas.log.clear();
        race.director.DrawPage(race.scene.frame, race.canvas);
        size_t names = 0;
        for (const std::string& line : race.canvas.Lines("text Tv "))
        {
            names += line.find(" Last") != std::string::npos ? 1 : 0;
        }
        return names;
    };
    std::vector<size_t> shown;
    std::vector<std::string> fullPage;
    for (int frame = 0; frame < 220; ++frame)  // 11 s
    {
        const size_t names = namesShown();
        if (shown.empty() || shown.back() != names)
        {
            shown.push_back(names);
        }
        if (names == 12)
        {
            fullPage = race.canvas.log;
        }
    }
    // Row by row to 12 from 0.5 s, held 3 s, then the next twelve.
    EXPECT_EQ(shown, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 1, 2}));
    race.canvas.log = fullPage;
    EXPECT_TRUE(race.canvas.Has("text Tv 284,376 L Last5"));  // second column, second row
    EXPECT_TRUE(race.canvas.Has("text Tv 497,428 L Last11"));
    EXPECT_GT(race.director.CutTimer(), 0);
}
}  // namespace
