#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/scripted/ScriptedPlatform.h"
#include "sound/CdMusic.h"
#include "sound/SoundManager.h"
#include "tests/sound/MusicTestSupport.h"

namespace
{
// The worker on its own thread: only the clock is virtual.
class CdMusicThreadTest : public testing::Test
{
protected:
    CdMusicThreadTest()
    {
        g_soundEnabled = true;
        drive_.trackCount = 7;
    }

    void WaitFor(const std::function<bool()>& done)
    {
        for (int i = 0; i < 20000 && !done(); ++i)
        {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        ASSERT_TRUE(done());
    }

    ScriptedPlatform platform_;
    ScopedPlatform scope_{platform_};
    SoundManager sound_;
    ManualMusicClock clock_;
    RecordingDrive drive_;
    CdMusic music_{drive_, sound_, clock_};
};

TEST_F(CdMusicThreadTest, AStopWaitsUntilTheWorkerHasStoppedTheTrack)
{
    music_.Start();
    music_.Request(4);
    WaitFor([&] { return music_.CurrentTrack() == 4; });
    music_.StopTrack();
    EXPECT_EQ(music_.CurrentTrack(), CdMusic::kNoTrack);
    const std::vector<std::string> commands = drive_.Commands();
    EXPECT_EQ(commands[commands.size() - 2], "stop");
    music_.StopWorker();
    EXPECT_FALSE(music_.IsWorkerRunning());
}

TEST_F(CdMusicThreadTest, RequestsFromTheMainThreadWhileTheWorkerPlays)
{
    music_.Start();
    for (int i = 0; i < 3000; ++i)
    {
        music_.Request(i % 9 - 1);  // -1 .. 7
        if (i % 50 == 0)
        {
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }
    music_.StopWorker();
    EXPECT_EQ(music_.CurrentTrack(), CdMusic::kNoTrack);
    EXPECT_FALSE(music_.IsWorkerRunning());
}
}  // namespace
