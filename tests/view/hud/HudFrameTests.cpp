// Golden frames of the head-up display through the game's render library: the demo
// installation's sheets and pictures, over a fixed striped background.

#include <cstdio>
#include <string>

#include "app/device/RenderDevice.h"
#include "tests/view/hud/HudScreen.h"
#include "view/hud/NetPlayerNames.h"

namespace
{
// The viewed rider third, on lap 2 at 180 km/h in fourth, near the limit.
void RidingThird(HudScene& scene)
{
    scene.frame.viewedRider = 2;
    scene.frame.playerRider = 2;
    BikeRecord& bike = scene.bikes[2];
    bike.speed = 50.0f;
    bike.gear = 4;
    bike.lapsStarted = 2;
    bike.engineRpm = 11000.0f;
    bike.aiLapStartMs = 61000;
    bike.autoGearbox = 1;
    scene.frame.ticksDone = 2500;  // 100 s
    scene.frame.raceTime = 100.0f;
}

class HudGolden : public HudScreen
{
protected:
    void Finish(uint32_t rider, int32_t place, float seconds, const char* timeText)
    {
        scene_.bikes[rider].raceStatus = 10;
        scene_.bikes[rider].timedLap = 6;
        scene_.standings.gridOrder[rider] = place;
        scene_.standings.sessionTimes[rider] = seconds;
        scene_.standings.podiumRider[place - 1] = rider;
        std::snprintf(scene_.standings.podiumTimeText[place - 1].data(), 16, "%s", timeText);
    }
};

TEST_F(HudGolden, RacePanelsInBothLanguages)
{
    RidingThird(scene_);
    scene_.frame.curveNodeFlags = 0x03;  // a right bend, severity 1
    scene_.frame.language = Language::German;
    Present([&] { hud_.DrawPanels(scene_.frame, *canvas_, hooks_); });
    ExpectGolden("race-panels", 0, 0, 640, 480, 0xFC58F09C74346045);

    // Stopped the wrong way: the message in the language.
    scene_.bikes[2].speed = 1.0f;
    scene_.bikes[2].wrongWayDistance = 100;
    for (Language language : {Language::German, Language::English})
    {
        scene_.frame.language = language;
        Present([&] { hud_.DrawPanels(scene_.frame, *canvas_, hooks_); });
        ExpectGolden(language == Language::German ? "wrong-way-de" : "wrong-way-en", 120, 200, 400,
                     80, language == Language::German ? 0x95B26AFBCFE3295D : 0x88605A5A3B3AB521);
    }
}

TEST_F(HudGolden, EachStartLightState)
{
    scene_.frame.tvMode = true;  // the lights alone
    const uint64_t hashes[10] = {0x9B9A57C71D02A5D4, 0xA65B450304F27E3A, 0x7F19484C05209FC2,
                                 0xE3892717D2D912F2, 0xF036ECFDFA73AFDD, 0x4FD53B8ECCB0327B,
                                 0x94757A35B6590664, 0x4109E3705CAF78B4, 0x26C5F4AB4E2F09C9,
                                 0x10472E6176676995};
    for (int32_t state = 0; state < 10; ++state)
    {
        scene_.frame.startLightState = state;
        Present([&] { hud_.DrawPanels(scene_.frame, *canvas_, hooks_); });
        ExpectGolden("start-lights-" + std::to_string(state), 480, 40, 160, 170, hashes[state]);
    }
}

TEST_F(HudGolden, RaceOverPanelForTheWinnerAndTheSecond)
{
    Finish(0, 1, 100.0f, "01:40:000");
    Finish(5, 2, 101.5f, "01:41:500");
    Finish(9, 3, 103.25f, "01:43:250");
    std::snprintf(scene_.standings.fastestLapText.data(), 128, "Best Lap First5 Last5");
    std::snprintf(scene_.standings.fastestLapTimeText.data(), 12, "00:48:120");
    scene_.frame.language = Language::English;
    Present([&] { hud_.DrawMessages(scene_.frame, *canvas_, hooks_); });
    ExpectGolden("race-over-winner-en", 0, 240, 640, 240, 0x36E4B793E2B8E345);

    scene_.frame.viewedRider = 5;
    scene_.frame.language = Language::German;
    std::snprintf(scene_.standings.fastestLapText.data(), 128, "Schnellste Runde First5 Last5");
    Present([&] { hud_.DrawMessages(scene_.frame, *canvas_, hooks_); });
    ExpectGolden("race-over-second-de", 0, 240, 640, 240, 0xC96440AE3E451C81);
}

TEST_F(HudGolden, PausedScreen)
{
    RidingThird(scene_);
    Present(
        [&]
        {
            hud_.DrawPanels(scene_.frame, *canvas_, hooks_);
            hud_.DrawPaused(scene_.frame, *canvas_);
        });
    ExpectGolden("paused", 0, 0, 640, 480, 0x49042A47D4A32626);
}

TEST_F(HudGolden, ObservationPanelInBothLanguages)
{
    scene_.frame.observationMode = true;
    scene_.frame.viewedRider = 4;
    scene_.frame.gameMode = GameMode::GrandPrix;
    scene_.standings.sessionEndTime = 725.0f;
    scene_.frame.raceTime = 100.0f;
    scene_.standings.fastestLapMs = 93210;
    scene_.standings.fastestLapRider = 1;
    scene_.standings.splitMs[4][RaceStandings::kLapRow][0] = 94500;
    for (Language language : {Language::German, Language::English})
    {
        scene_.frame.language = language;
        Present([&] { hud_.DrawPanels(scene_.frame, *canvas_, hooks_); });
        ExpectGolden(language == Language::German ? "observation-de" : "observation-en", 0, 0, 640,
                     480, language == Language::German ? 0x0352981A30460420 : 0xFA7BAF8D8FB0874B);
    }
}

TEST_F(HudGolden, StartingGridAndFinalStanding)
{
    scene_.frame.circuit = CircuitId::Drenthe;
    scene_.frame.circuitListText = "(Assen) TT";
    scene_.frame.realFrameMs = 40;
    std::array<std::array<char, 16>, 26> gridTexts{};
    for (uint32_t rider = 0; rider < 26; ++rider)
    {
        std::snprintf(gridTexts[rider].data(), 16, "1:%02u.%03u", 30 + rider, 120 + 7 * rider);
    }
    scene_.frame.gridTexts = gridTexts;
    RaceTitles& titles = hud_.Titles();
    titles.SetGridPageActive(true);
    hud_.ResetForRace(scene_.frame, hooks_);
    for (int frame = 0; frame < 80; ++frame)  // into the second row, open
    {
        Present([&] { hud_.DrawRaceScreens(scene_.frame, *canvas_, hooks_); });
    }
    ExpectGolden("starting-grid", 0, 0, 640, 480, 0xA4815706979A28EA);

    for (uint32_t rider = 0; rider < 12; ++rider)
    {
        scene_.bikes[rider].timedLap = 6;
        scene_.bikes[rider].aiLapStartMs = 100000 + 750 * static_cast<int32_t>(rider);
        scene_.standings.sessionTimes[rider] = 100.0f + 0.75f * static_cast<float>(rider);
    }
    scene_.frame.circuitName = "Assen";
    titles.BuildEventTitle(scene_.frame);
    for (int frame = 0; frame < 40; ++frame)  // revealed
    {
        Present([&] { hud_.DrawRaceScreens(scene_.frame, *canvas_, hooks_); });
    }
    ExpectGolden("final-standing", 0, 0, 640, 480, 0xC3782981558D9D77);
}

TEST_F(HudGolden, TvNameBandWithPortraitAndLogo)
{
    scene_.frame.tvMode = true;
    scene_.frame.startClock = 10.0f;
    scene_.frame.cameraTimerExpired = true;
    scene_.frame.realFrameMs = 100;
    for (uint32_t rider = 0; rider < 26; ++rider)  // nobody near anybody: the name band
    {
        scene_.bikes[rider].positionX = 100.0f * static_cast<float>(rider);
    }
    hud_.ResetForRace(scene_.frame, hooks_);
    hud_.Titles().SetGridPageActive(false);
    for (int frame = 0; frame < 15; ++frame)  // the band fully in
    {
        Present([&] { hud_.DrawRaceScreens(scene_.frame, *canvas_, hooks_); });
        scene_.frame.viewedRider = static_cast<uint32_t>(std::max(hooks_.viewedRider, 0));
    }
    ExpectGolden("tv-name-band", 0, 0, 640, 480, 0x86DCB85094E02A1E);
}
TEST_F(HudGolden, NetPlayerNamesOverTheirBikes)
{
    scene_.frame.playerRider = 0;
    std::array<Vector3, 26> views{};
    views[1] = {-2.0f, 0.0f, 8.0f};
    views[2] = {3.0f, 0.5f, 30.0f};
    views[3] = {0.0f, 0.0f, 250.0f};  // beyond reading
    const ProjectionValues projection{640, 480, 320.0f, 240.0f, 400.0f, 400.0f};
    Present([&] { DrawNetPlayerNames(scene_.frame, 0b1111, views, projection, *canvas_); });
    ExpectGolden("net-player-names", 0, 0, 640, 480, 0xB94E7AE5FE37BD72);
}
}  // namespace
