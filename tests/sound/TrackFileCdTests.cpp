#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "kit/sound/DemoMusic.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/TrackFileCd.h"
#include "tests/support/TestDirectory.h"

namespace
{
std::string AsString(const std::vector<uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& wave, size_t count)
{
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
    {
        samples[i] = static_cast<int16_t>(LoadLe16(wave.data() + 44 + 2 * i));
    }
    return samples;
}

class TrackFileCdTest : public testing::Test
{
protected:
    TrackFileCdTest()
    {
        directory_.WriteFile("cdaudio/track02.wav", AsString(track2_));
        std::vector<uint8_t> cut = kit::DemoTrack(3, 2);
        cut.resize(44 + 4 * 1000);  // the data chunk claims two seconds
        directory_.WriteFile("cdaudio/Track03.WAV", AsString(cut));
        directory_.WriteFile("cdaudio/track04.wav", "RIFF????WAVEjunk");
        directory_.WriteFile("cdaudio/track06.wav", AsString(kit::DemoTrack(6, 1)));
    }

    bool PlaySeconds(uint32_t track, uint32_t seconds)
    {
        return drive_.Open() && drive_.SetTrackTimeFormat() &&
               drive_.Play({track, 0, 0, 0}, {track, 0, seconds, 0});
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform scope_{platform_};
    TrackFileCd drive_{"CDAudio"};
    const std::vector<uint8_t> track2_ = kit::DemoTrack(2, 2);
};

TEST_F(TrackFileCdTest, TheDiscEndsAtTheFirstMissingTrack)
{
    ASSERT_TRUE(drive_.Open());
    EXPECT_EQ(drive_.TrackCount(), 4u);  // the data track, then 2 to 4
    const std::optional<DiscLength> length = drive_.TrackLength(2);
    ASSERT_TRUE(length);
    EXPECT_EQ(length->seconds, 2u);
    EXPECT_FALSE(drive_.TrackLength(4));  // damaged

    TrackFileCd noDisc("nothing");
    EXPECT_FALSE(noDisc.Open());
    EXPECT_FALSE(noDisc.TrackCount());
}

TEST_F(TrackFileCdTest, ATrackPlaysToItsEndPositionThenSilence)
{
    ASSERT_TRUE(PlaySeconds(2, 1));
    drive_.Close();  // the disc plays on
    platform_.SleepMs(1500);
    const std::vector<int16_t> heard = platform_.StreamCaptures().Samples(0);
    ASSERT_EQ(heard.size(), 1500u * 44100 / 1000 * 2);
    const std::vector<int16_t> expected = Samples(track2_, 44100 * 2);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), heard.begin()));
    EXPECT_TRUE(std::all_of(heard.begin() + 44100 * 2, heard.end(), [](int16_t s) { return !s; }));
    EXPECT_FALSE(drive_.IsPlaying());
}

TEST_F(TrackFileCdTest, MissingAndDamagedTracksAreSkipped)
{
    EXPECT_FALSE(PlaySeconds(1, 1));  // the data track
    EXPECT_FALSE(PlaySeconds(4, 1));  // damaged header
    EXPECT_FALSE(PlaySeconds(5, 1));  // missing
    EXPECT_EQ(platform_.StreamCaptures().Count(), 0u);

    ASSERT_TRUE(PlaySeconds(3, 2));  // cut short: plays what there is
    platform_.SleepMs(100);
    EXPECT_FALSE(drive_.IsPlaying());
    EXPECT_TRUE(drive_.Stop());
    EXPECT_FALSE(platform_.StreamCaptures().IsOpen(0));
}
}  // namespace
