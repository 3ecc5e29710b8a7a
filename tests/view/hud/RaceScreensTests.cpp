// The race loop's per-frame entry to the title pages and the TV director.

#include <gtest/gtest.h>

#include "tests/view/hud/HudTestSupport.h"
#include "view/hud/RaceHud.h"

namespace
{
int NoRoll()
{
    return 0;
}

class HudRaceScreens : public testing::Test
{
protected:
    HudRaceScreens()
    {
        scene.frame.realFrameMs = 40;
        scene.frame.startClock = 10.0f;
    }

    HudScene scene{8};
    RecordingCanvas canvas;
    RecordingHooks hooks;
    RaceHud hud{NoRoll};
};

TEST_F(HudRaceScreens, GridFirstThenThePlayersFinishBringsTheFinalStanding)
{
    hud.Titles().SetGridPageActive(true);
    hud.ResetForRace(scene.frame, hooks);
    EXPECT_TRUE(hooks.Called("schedule 0.857143 250"));  // 8 riders: two rows, 10 s
    int frames = 0;
    while (hud.Titles().State() == TitleState::StartingGrid && frames < 1000)
    {
        EXPECT_EQ(hud.DrawRaceScreens(scene.frame, canvas, hooks), 1);
        ++frames;
    }
    EXPECT_EQ(frames, 2 * 63);
    EXPECT_TRUE(canvas.Lines("picture Logo").empty());  // no logo outside TV mode

    canvas.log.clear();
    EXPECT_EQ(hud.DrawRaceScreens(scene.frame, canvas, hooks), 1);
    EXPECT_TRUE(canvas.log.empty());  // racing: nothing over the view

    scene.bikes[0].timedLap = 6;  // the player has finished, the others not yet
    EXPECT_EQ(hud.DrawRaceScreens(scene.frame, canvas, hooks), 1);
    EXPECT_EQ(hud.Titles().State(), TitleState::FinalStanding);
    EXPECT_STREQ(hud.Titles().Title(), "Dutch Grand Prix");

    scene.frame.realFrameMs = 100;
    int standing = 0;
    while (hud.DrawRaceScreens(scene.frame, canvas, hooks) == 1 && standing < 1000)
    {
        ++standing;
    }
    EXPECT_EQ(standing, 1000);  // it waits for the other riders, who never finish

    for (uint32_t rider = 1; rider < 8; ++rider)
    {
        scene.bikes[rider].timedLap = 6;
    }
    standing = 0;
    while (hud.DrawRaceScreens(scene.frame, canvas, hooks) == 1 && standing < 1000)
    {
        ++standing;
    }
    EXPECT_LT(standing, 1000);  // 5 s after the last row the overlay ends
}

TEST_F(HudRaceScreens, TvModeWaitsForTheStartClockThenDirects)
{
    scene.frame.tvMode = true;
    scene.frame.startClock = 5.9f;
    scene.frame.cameraTimerExpired = true;
    hud.ResetForRace(scene.frame, hooks);
    hud.Titles().SetGridPageActive(false);
    EXPECT_EQ(hud.DrawRaceScreens(scene.frame, canvas, hooks), 1);
    EXPECT_TRUE(canvas.log.empty());

    scene.frame.startClock = 6.0f;
    hud.DrawRaceScreens(scene.frame, canvas, hooks);  // the grid that is not asked for ends
    EXPECT_TRUE(canvas.Has("picture Logo#0 0,0 -> 560,10 64x32"));
    hud.DrawRaceScreens(scene.frame, canvas, hooks);
    EXPECT_TRUE(hooks.Called("tv"));
    EXPECT_EQ(hud.Director().Page(), TvPage::None);  // everyone in one crowd: no name band
}
}  // namespace
