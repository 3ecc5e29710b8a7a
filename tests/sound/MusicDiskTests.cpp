#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/util/LittleEndian.h"
#include "kit/sound/DemoMusic.h"
#include "platform/sdl/SdlPlatform.h"
#include "sound/TrackFileCd.h"
#include "tests/support/TestDirectory.h"

namespace
{
// A track played through SDL's disk driver, which writes what the device plays to a file.
TEST(MusicOnTheDiskDriver, ATrackIsHeard)
{
    TestDirectory directory;
    const std::vector<uint8_t> track = kit::DemoTrack(2, 2);
    directory.WriteFile("cdaudio/track02.wav", std::string(track.begin(), track.end()));
    const std::string heardFile = directory.path() + "/heard.raw";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", heardFile.c_str(), 1);
    {
        SdlPlatform platform;
        const ScopedPlatform scope(platform);
        TrackFileCd drive("cdaudio");
        ASSERT_TRUE(drive.Open());
        ASSERT_TRUE(drive.SetTrackTimeFormat());
        ASSERT_TRUE(drive.Play({2, 0, 0, 0}, {2, 0, 1, 0}));
        drive.Close();
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        drive.Stop();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    const std::string heard = directory.ReadFile("heard.raw");
    // The track's first notes, frame for frame, in what the device played (a slow machine's
    // device may start with a buffer of silence).
    const std::string expected(track.begin() + 44, track.begin() + 44 + 4 * 4096);
    EXPECT_NE(heard.find(expected), std::string::npos);
}
}  // namespace
