#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/settings/MenuState.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/CdMusic.h"
#include "sound/SoundManager.h"
#include "tests/sound/MusicTestSupport.h"

namespace
{
class CdMusicTest : public testing::Test
{
protected:
    CdMusicTest()
    {
        g_soundEnabled = true;
        g_menuState = MenuState();
    }

    void Pass(uint32_t advanceMs)
    {
        clock_.Advance(advanceMs);
        music_.RunWorkerPass();
    }

    ScriptedPlatform platform_;
    ScopedPlatform scope_{platform_};
    SoundManager sound_;
    ManualMusicClock clock_;
    RecordingDrive drive_;
    CdMusic music_{drive_, sound_, clock_};
};

TEST_F(CdMusicTest, TheTrackTableTakesWholeSecondsOfTenTracksAtMost)
{
    drive_.trackCount = 12;
    music_.ReadTrackTable();
    EXPECT_EQ(music_.TrackCount(), 10);
    EXPECT_EQ(music_.TrackLengthMs(3), (3 * 60 + 3) * 1000u);  // frames dropped
    EXPECT_EQ(drive_.log.back(), "close");

    drive_.present = false;
    music_.ReadTrackTable();
    EXPECT_EQ(music_.TrackCount(), 0);
}

TEST_F(CdMusicTest, ARequestPlaysTheWholeTrackAndItRepeatsAfterItsLength)
{
    drive_.trackCount = 5;
    music_.ReadTrackTable();
    drive_.log.clear();
    music_.Request(3);
    Pass(0);
    EXPECT_EQ(music_.CurrentTrack(), 3);
    EXPECT_EQ(drive_.log, (std::vector<std::string>{"open", "stop", "format",
                                                    "play 3 0:00 to 3 3:03", "close"}));
    drive_.log.clear();

    Pass(183000);  // the length has not passed yet: nothing
    EXPECT_TRUE(drive_.log.empty());
    Pass(1);
    EXPECT_EQ(drive_.log, (std::vector<std::string>{"open", "stop", "close", "open", "stop",
                                                    "format", "play 3 0:00 to 3 3:03", "close"}));
    EXPECT_EQ(music_.CurrentTrack(), 3);
}

TEST_F(CdMusicTest, RequestsAboveTheTrackCountAreNeverPlayed)
{
    drive_.trackCount = 5;
    music_.ReadTrackTable();
    drive_.log.clear();
    for (const int32_t track : {6, 7})
    {
        music_.Request(track);
        Pass(100);
        EXPECT_EQ(music_.CurrentTrack(), CdMusic::kNoTrack);
    }
    EXPECT_TRUE(drive_.log.empty());
}

TEST_F(CdMusicTest, AFailedPlayDropsOnlyTheRequestItActedOn)
{
    drive_.trackCount = 5;
    music_.ReadTrackTable();
    drive_.playFails = true;
    music_.Request(4);
    Pass(100);
    EXPECT_EQ(music_.CurrentTrack(), CdMusic::kNoTrack);
    EXPECT_EQ(music_.RequestedTrack(), CdMusic::kNoTrack);  // not tried again

    // A new request while the drive fails the old one survives it.
    drive_.onPlay = [&] { music_.Request(5); };
    music_.Request(4);
    Pass(100);
    EXPECT_EQ(music_.RequestedTrack(), 5);
}

TEST_F(CdMusicTest, SituationsPickTheirTracks)
{
    struct Case
    {
        MusicSituation situation;
        uint32_t randomWord;
        int32_t track;
    };
    for (const Case& c : {Case{MusicSituation::Intro, 7, 2}, Case{MusicSituation::Menu, 6, 5},
                          Case{MusicSituation::RaceMenu, 3, 7},
                          Case{MusicSituation::Telemetry, 4, 5}, Case{MusicSituation::Race, 3, 6}})
    {
        music_.SelectTrack(c.situation, c.randomWord);
        EXPECT_EQ(music_.RequestedTrack(), c.track) << static_cast<int>(c.situation);
    }
    g_menuState.SetU8At(MenuState::kRaceMusicOffOffset, 1);
    music_.SelectTrack(MusicSituation::Race, 0);
    EXPECT_EQ(music_.RequestedTrack(), CdMusic::kNoTrack);
    g_menuState.SetU8At(MenuState::kMenuMusicOffOffset, 1);
    music_.SelectTrack(MusicSituation::Menu, 0);
    EXPECT_EQ(music_.RequestedTrack(), CdMusic::kNoTrack);
}

TEST_F(CdMusicTest, WithoutAWorkerAStopReturnsAtOnce)
{
    music_.StopTrack();
    g_soundEnabled = false;
    music_.Start();
    EXPECT_FALSE(music_.IsWorkerRunning());
    music_.StopWorker();
}
}  // namespace
