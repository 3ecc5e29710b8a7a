// The panels of the rider's own view, read back from the canvas's call log.

#include <gtest/gtest.h>

#include <string>

#include "tests/view/hud/HudTestSupport.h"
#include "view/hud/HudClockTexts.h"
#include "view/hud/HudTexts.h"
#include "view/hud/MarshalFlags.h"
#include "view/hud/RaceHud.h"

namespace
{
int FixedRandom()
{
    return 0;
}

class HudPanels : public testing::Test
{
protected:
    HudScene scene;
    RecordingCanvas canvas;
    RecordingHooks hooks;
    RaceHud hud{FixedRandom};
    BikeRecord& Viewed() { return scene.bikes[scene.frame.viewedRider]; }
};

TEST(HudTextTest, OrdinalSuffixesKeepThForTheTeens)
{
    const struct
    {
        int place;
        char suffix;
    } cases[] = {{1, '!'},  {2, '"'},  {3, '#'},  {4, '$'},  {10, '$'}, {11, '$'},
                 {12, '$'}, {13, '$'}, {21, '!'}, {22, '"'}, {23, '#'}, {111, '$'}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(OrdinalSuffix(c.place), c.suffix) << c.place;
    }
}

TEST(HudTextTest, BothLanguagesWithGermanLettersAsSingleBytes)
{
    EXPECT_STREQ(GetHudText(HudText::WrongWay, Language::German), "Falsche Fahrtrichtung");
    EXPECT_STREQ(GetHudText(HudText::WrongWay, Language::English), "wrong way");
    EXPECT_STREQ(GetHudText(HudText::PersonalBest, Language::German), "Pers\xF6nliche Bestzeit");
    EXPECT_STREQ(GetHudText(HudText::Place, Language::English), "Position");
}

TEST(HudTextTest, ClockAndLapTextsStayInTheirBuffers)
{
    const struct
    {
        int32_t seconds;
        const char* text;
    } clocks[] = {{0, "00:00"},    {75, "01:15"},      {5999, "99:59"},
                  {6000, "99:59"}, {1000000, "99:59"}, {-5, "00:00"}};
    for (const auto& c : clocks)
    {
        EXPECT_STREQ(SessionClockText(c.seconds).data(), c.text) << c.seconds;
    }
    EXPECT_STREQ(PracticeLapText(3).data(), " 3/12");
    EXPECT_STREQ(PracticeLapText(12).data(), "12/12");
    EXPECT_STREQ(PracticeLapText(250).data(), "99/12");
}

TEST(HudTextTest, DeltaSignPicksTheFormatAndZeroIsPlus)
{
    EXPECT_STREQ(DeltaTimeText(0).data(), "+0:00:000");
    EXPECT_STREQ(DeltaTimeText(1234).data(), "+0:01:234");
    EXPECT_STREQ(DeltaTimeText(-61005).data(), "-1:01:005");
    EXPECT_STREQ(SectionTimeText(83456).data(), "1:23:456");
}

TEST(MarshalFlagTest, FirstBitInTheOrderDecides)
{
    const auto bits = [](std::initializer_list<int> list)
    {
        uint32_t value = 0;
        for (int bit : list)
        {
            value |= 1u << bit;
        }
        return value;
    };
    const struct
    {
        uint32_t flags;
        bool signalAid;
        uint16_t laps;
        float raceTime;
        int32_t flag;
    } cases[] = {
        {0, true, 0, 0.0f, kNoMarshalFlag},
        {bits({21, 16}), true, 0, 0.0f, 5},
        {bits({16, 17}), true, 0, 0.0f, 1},
        {bits({17, 19}), true, 0, 0.0f, 2},
        {bits({19, 18}), true, 0, 0.0f, 3},
        {bits({18, 15}), true, 0, 0.0f, 0},
        {bits({15, 20}), true, 0, 0.0f, 6},
        {bits({20}), true, 0, 0.0f, 4},
        {bits({21, 16}), false, 0, 0.0f, kNoMarshalFlag},  // without the aid only bit 18
        {bits({21, 18}), false, 0, 0.0f, 0},
        {bits({15}), true, 5, 0.5f, 6},                 // (4 & 7) <= 4: shown
        {bits({15}), true, 5, 0.625f, kNoMarshalFlag},  // 5: hidden
        {bits({15}), true, 1, 0.625f, 6},               // steady in its first laps
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(ChooseMarshalFlag(c.flags, c.signalAid, c.laps, c.raceTime), c.flag)
            << std::hex << c.flags << " aid " << c.signalAid << " laps " << c.laps;
    }
}

TEST_F(HudPanels, RaceTimingPanelShowsSpeedPositionLapAndRunningTime)
{
    scene.frame.viewedRider = 2;
    Viewed().speed = 50.0f;  // 180 km/h
    Viewed().gear = 4;
    Viewed().lapsStarted = 2;
    Viewed().aiLapStartMs = 1000;
    scene.frame.ticksDone = 2000;  // 80 s
    scene.standings.sessionRanks[7] = session_rank::kCrashedOut;
    hud.DrawPanels(scene.frame, canvas, hooks);

    EXPECT_TRUE(canvas.Has("text Digital 550,4 R 180"));
    EXPECT_TRUE(canvas.Has("text Digital 620,4 R 4"));
    EXPECT_TRUE(canvas.Has("text Digital 496,4 R KMH"));
    EXPECT_TRUE(canvas.Has("text Digital 10,4 L POS 3/25"));
    EXPECT_TRUE(canvas.Has("text Digital 10,26 L LAP 2/5"));
    EXPECT_TRUE(canvas.Has("text Digital 385,4 R 01:18:960"));  // 80000 - 1000 - 40
    EXPECT_TRUE(canvas.Lines("text Digital 385,26").empty());   // no best line in a race
}

TEST_F(HudPanels, SectionTimeStaysUpWhileTheGapTimerRuns)
{
    scene.standings.display.gapTimer = 0.05f;
    scene.standings.display.sectionMs = 41234;
    scene.standings.display.deltaMs = -321;
    scene.frame.frameDt = 0.04f;
    scene.frame.ticksDone = 1;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("text Digital 385,4 R 0:41:234"));
    EXPECT_TRUE(canvas.Has("text Digital 385,26 R -0:00:321"));

    canvas.log.clear();
    hud.DrawPanels(scene.frame, canvas, hooks);  // counted down below 0
    EXPECT_TRUE(canvas.Has("text Digital 385,4 R 00:00:000"));
    EXPECT_LT(scene.standings.display.gapTimer, 0.0f);
}

TEST_F(HudPanels, PracticeShowsClockBestLapAndLapOfTwelve)
{
    scene.frame.isRaceSession = false;
    scene.frame.gameMode = GameMode::GrandPrix;
    scene.frame.lapLimited = true;
    scene.frame.raceTime = 100.4f;
    scene.standings.sessionEndTime = 700.0f;
    scene.standings.splitMs[0][RaceStandings::kLapRow][0] = 95000;
    Viewed().lapsStarted = 3;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("text Digital 88,4 L 09:59"));
    EXPECT_TRUE(canvas.Has("text Digital 88,26 L  3/12"));
    EXPECT_TRUE(canvas.Has("text Digital 385,26 R 01:35:000"));
    EXPECT_TRUE(canvas.Lines("text Digital 10,4").empty());

    canvas.log.clear();
    scene.frame.isQualifying = true;
    scene.standings.fastestLapMs = 91000;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("text Digital 385,26 R 01:31:000"));
}

TEST_F(HudPanels, TopBarIsTexture1015ScaledToTheBar)
{
    scene.frame.topBar = true;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("rect 1015 0,0 640x44 uv 0,0 1,0.96875 a120"));
}

TEST_F(HudPanels, StartLightsDrawEveryPieceUpToTheState)
{
    scene.frame.tvMode = true;  // the lights alone
    for (int32_t state : {-1, 10, 99})
    {
        scene.frame.startLightState = state;
        hud.DrawPanels(scene.frame, canvas, hooks);
        EXPECT_TRUE(canvas.log.empty()) << state;
    }
    scene.frame.startLightState = 0;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_EQ(canvas.log, std::vector<std::string>{"picture StartLights#0 0,0 -> 492,42 103x160"});

    canvas.log.clear();
    scene.frame.startLightState = 9;
    hud.DrawPanels(scene.frame, canvas, hooks);
    ASSERT_EQ(canvas.log.size(), 10u);
    EXPECT_EQ(canvas.log[3], "picture StartLights#0 0,286 -> 496,70 96x69");
    EXPECT_EQ(canvas.log[9], "picture StartLights#0 0,853 -> 496,44 96x157");
}

TEST_F(HudPanels, CurveSignSideAndSeverityFromTheNodeFlags)
{
    const struct
    {
        int32_t flags;
        CameraMode camera;
        const char* expected;  // null: no sign
    } cases[] = {
        {0x10, CameraMode::CameraChase, "picture CurveSign#0 0,0 -> 10,200 64x64"},
        {0x05, CameraMode::CameraChase, "picture CurveSign#5 0,0 -> 566,200 64x64"},
        {0x07, CameraMode::CameraOnBoard, "picture CurveSign#7 0,0 -> 566,200 64x64"},
        {0x08, CameraMode::CameraChase, nullptr},
        {-1, CameraMode::CameraChase, nullptr},
        {0x02, CameraMode::CameraTv, nullptr},
    };
    for (const auto& c : cases)
    {
        canvas.log.clear();
        scene.frame.curveNodeFlags = c.flags;
        scene.frame.cameraMode = c.camera;
        hud.DrawCurveSign(scene.frame, canvas);
        EXPECT_EQ(canvas.Lines("picture CurveSign").size(), c.expected ? 1u : 0u) << c.flags;
        if (c.expected != nullptr)
        {
            EXPECT_TRUE(canvas.Has(c.expected)) << c.flags;
        }
    }
    canvas.log.clear();
    scene.frame.cameraMode = CameraMode::CameraChase;
    Viewed().furtherAid = 0;  // no signal aid, no sign
    hud.DrawCurveSign(scene.frame, canvas);
    EXPECT_TRUE(canvas.log.empty());
}

TEST_F(HudPanels, KeyLampsTakeTheLitRowForAidsThatAreOn)
{
    scene.bikes[0].autoGearbox = 1;
    scene.bikes[0].furtherAid = 0;
    scene.bikes[0].steeringAid = 0;
    scene.bikes[0].autoClutch = 1;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_EQ(canvas.Lines("picture KeyLamps"),
              (std::vector<std::string>{"picture KeyLamps#0 0,12 -> 16,455 13x12",
                                        "picture KeyLamps#0 13,0 -> 29,455 14x12",
                                        "picture KeyLamps#0 27,0 -> 43,455 14x12",
                                        "picture KeyLamps#0 41,12 -> 57,455 13x12"}));

    canvas.log.clear();
    scene.frame.gameMode = GameMode::NetworkRace;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Lines("picture KeyLamps").empty());
}

TEST_F(HudPanels, InstrumentTurnsRedAtTheEngineLimitAndPointsItsNeedles)
{
    Viewed().speed = 0.0f;
    Viewed().engineRpm = 11999.0f;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("picture InstrumentCalm#0 0,0 -> 424,338 216x142"));
    EXPECT_TRUE(canvas.Has("text InstrumentDigits 604,413 R 0"));
    // Speed 0: angle -4.078 rad from the centre (469, 430); radius 1 to 20.
    EXPECT_EQ(canvas.Lines("line")[0], "line 469,430 485,441 FFAAAAAA");

    canvas.log.clear();
    Viewed().engineRpm = 12000.0f;
    scene.frame.cameraMode = CameraMode::CameraTrail;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("picture InstrumentRedline#0 0,0 -> 424,338 216x142"));

    canvas.log.clear();
    scene.frame.cameraMode = CameraMode::CameraOnBoard;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Lines("picture Instrument").empty());
}

TEST_F(HudPanels, MarshalFlagGoesToTheFlagsAndNoneHidesThem)
{
    Viewed().aiFlags = 1u << 17;
    hud.DrawPanels(scene.frame, canvas, hooks);
    Viewed().aiFlags = 0;
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"flag 2", "flag none"}));
}

TEST_F(HudPanels, WrongWayBlinksAndDisqualifiesOnlyWhileHidden)
{
    const struct
    {
        int32_t counter;
        float raceTime;
        GameMode mode;
        bool shown;
        bool disqualified;
    } cases[] = {
        {15, 10.0f, GameMode::Race, false, false},         // not yet
        {150, 10.5f, GameMode::Race, true, false},         // steady below 200
        {300, 10.0f, GameMode::Race, true, false},         // 3 x 10.0 = 30: even
        {300, 10.4f, GameMode::Race, false, false},        // 31: hidden
        {400, 10.3f, GameMode::Race, false, false},        // 41: hidden, below the limit
        {600, 10.1f, GameMode::Race, true, false},         // 60: shown above the limit
        {600, 10.2f, GameMode::Race, false, true},         // 61: hidden above the limit
        {600, 10.2f, GameMode::NetworkRace, true, false},  // always shown, never fires
    };
    for (const auto& c : cases)
    {
        RaceHud fresh{FixedRandom};
        RecordingCanvas drawn;
        RecordingHooks told;
        Viewed().wrongWayDistance = c.counter;
        Viewed().speed = 1.0f;
        scene.frame.raceTime = c.raceTime;
        scene.frame.gameMode = c.mode;
        fresh.DrawMessages(scene.frame, drawn, told);
        EXPECT_EQ(drawn.Has("text Balmoral 320,240 C Falsche Fahrtrichtung"), c.shown)
            << c.counter << " at " << c.raceTime;
        EXPECT_EQ(told.Called("disqualify 0"), c.disqualified) << c.counter << " at " << c.raceTime;
    }
}

TEST_F(HudPanels, DisqualifiedRiderSeesItInTheRightLanguage)
{
    Viewed().aiFlags = ai_flags::kDisqualified;
    scene.frame.language = Language::English;
    hud.DrawMessages(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("text Balmoral 320,300 C Disqualification"));

    canvas.log.clear();
    scene.frame.isRaceSession = false;
    scene.standings.sessionEndTime = 100.0f;
    scene.frame.raceTime = 50.0f;  // the session still runs
    hud.DrawMessages(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Lines("text Balmoral 320,300").empty());
}

class RaceOverPanel : public HudPanels
{
protected:
    void Finish(uint32_t rider, int32_t place, float seconds)
    {
        scene.bikes[rider].raceStatus = 10;
        scene.standings.gridOrder[rider] = place;
        scene.standings.sessionTimes[rider] = seconds;
        if (place <= 3)
        {
            scene.standings.podiumRider[place - 1] = rider;
            std::snprintf(scene.standings.podiumTimeText[place - 1].data(), 16, "%s",
                          place == 1 ? "01:40:000" : "01:41:500");
        }
    }
};

TEST_F(RaceOverPanel, WinnerSeesWinnerWithHisNameAndTheOthersBelow)
{
    scene.frame.language = Language::English;
    Finish(0, 1, 100.0f);
    Finish(4, 2, 101.5f);  // third place still racing: its line stays out
    hud.DrawMessages(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("rect -1 0,270 640x210 uv 0,0 0,0 a120"));
    EXPECT_TRUE(canvas.Has("text Balmoral 320,275 C Race Over"));
    EXPECT_TRUE(canvas.Has("text Balmoral 120,310 L Winner First0 Last0"));
    EXPECT_TRUE(canvas.Has("text Balmoral 120,335 L Position 2 First4 Last4"));
    EXPECT_TRUE(canvas.Lines("text Balmoral 120,360").empty());
    // The time in columns of the width of "8", its leading zero blank.
    EXPECT_TRUE(canvas.Has("text Balmoral 420,310 L  "));
    EXPECT_TRUE(canvas.Has("text Balmoral 428,310 L 1"));
    EXPECT_TRUE(canvas.Has("text Balmoral 436,310 L :"));
}

TEST_F(RaceOverPanel, SecondPlaceSeesPositionAndNumberInGerman)
{
    Finish(3, 1, 100.0f);
    Finish(0, 2, 101.5f);
    hud.DrawMessages(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("text Balmoral 320,275 C Rennen beendet"));
    EXPECT_TRUE(canvas.Has("text Balmoral 120,310 L Platz 2"));
    EXPECT_TRUE(canvas.Has("text Balmoral 120,335 L Platz 1 First3 Last3"));
}

TEST_F(HudPanels, PausedDimsTheScreenAndSaysSo)
{
    hud.DrawPaused(scene.frame, canvas);
    EXPECT_EQ(canvas.log,
              (std::vector<std::string>{"clip 0,0 640,480", "rect -1 0,0 640x480 uv 0,0 0,0 a120",
                                        "text Tv3 590,10 R PAUSED"}));
}

TEST_F(HudPanels, ObservationModeDrawsOnlyItsPanel)
{
    scene.frame.observationMode = true;
    scene.frame.viewedRider = 3;
    scene.frame.gameMode = GameMode::GrandPrix;
    scene.frame.language = Language::English;
    scene.standings.sessionEndTime = 125.0f;
    scene.frame.raceTime = 0.5f;
    canvas.portraits = {3};
    hud.DrawPanels(scene.frame, canvas, hooks);
    EXPECT_TRUE(canvas.Has("text Balmoral 10,10 L Observation Mode"));
    EXPECT_TRUE(canvas.Has("text Digital 560,10 L 02:04"));
    EXPECT_TRUE(canvas.Has("text Balmoral 90,402 L First3 Last3"));
    EXPECT_TRUE(canvas.Has("picture Portrait#3 0,0 -> 496,380 104x83"));
    EXPECT_TRUE(canvas.Lines("text Digital 550,4").empty());
    EXPECT_TRUE(hooks.calls.empty());
}
}  // namespace
