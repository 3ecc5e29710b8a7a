#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/OutputWindow.h"
#include "kit/sound/MovieWriter.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "sound/MoviePlayer.h"
#include "tests/support/TestDirectory.h"

namespace
{
// After the movie the window's messages are pumped once, which yields a frame quantum.
constexpr uint32_t kPumpMs = ScriptedPlatform::kDefaultFrameQuantumMs;
constexpr uint32_t kFiveSecondsAndAPump = 5000 + kPumpMs;

// A movie of pictures every 40 ms, each with 40 ms of sound, that ends or breaks after them.
class ScriptedMovieDecoder final : public MovieDecoder
{
public:
    ScriptedMovieDecoder(uint32_t pictures, bool breaks) : pictures_(pictures), breaks_(breaks) {}

    bool Open(const std::string& /*path*/, const MovieTarget& target) override
    {
        target_ = target;
        return true;
    }

    Item Next(MoviePicture& picture, MovieSound& sound) override
    {
        if (next_ >= 2 * pictures_)
        {
            return breaks_ ? Item::Error : Item::End;
        }
        const uint32_t index = next_ / 2;
        const uint32_t timeMs = index * 40;
        if (next_++ % 2 == 0)
        {
            sound = {timeMs, std::vector<int16_t>(target_.audioRate / 25 * 2, 1000)};
            return Item::Sound;
        }
        picture = {timeMs, std::vector<uint16_t>(size_t(target_.width) * target_.height,
                                                 static_cast<uint16_t>(index))};
        return Item::Picture;
    }

private:
    uint32_t pictures_;
    bool breaks_;
    uint32_t next_ = 0;
    MovieTarget target_;
};

MovieDecoderFactory Scripted(uint32_t pictures, bool breaks = false)
{
    return [=] { return std::make_unique<ScriptedMovieDecoder>(pictures, breaks); };
}

class MovieTest : public testing::Test
{
protected:
    MovieTest()
    {
        platform_.LimitCapturedFrames(2);
        directory_.WriteFile("Movies/Intro.mpg", "a movie only the scripted decoder reads");
    }

    void Play(const MovieDecoderFactory& decoders, const char* name = "Movies/Intro.mpg")
    {
        PlayMovie(name, window_, true, decoders);
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform scope_{platform_};
    OutputWindow window_;
};

TEST_F(MovieTest, AShortMovieShowsEveryPictureAndEndsAfterFiveSeconds)
{
    Play(Scripted(50));
    EXPECT_EQ(platform_.PresentCount(), 50u);
    EXPECT_EQ(platform_.NowMs(), kFiveSecondsAndAPump);
    EXPECT_EQ(platform_.Frames().back().pixels[0], 49);
    // Its sound went to a device of its own, 2 s of it, queued ahead.
    ASSERT_EQ(platform_.AudioCaptures().size(), 1u);
    EXPECT_EQ(platform_.AudioCaptures()[0].buffers.size(), 50u);
    EXPECT_FALSE(platform_.AudioCaptures()[0].open);
}

TEST_F(MovieTest, ALongMovieReturnsWithinAPollOfItsEnd)
{
    Play(Scripted(200));  // the last picture at 7960 ms
    EXPECT_EQ(platform_.PresentCount(), 200u);
    EXPECT_GE(platform_.NowMs(), 7960u);
    EXPECT_LE(platform_.NowMs(), 8060u);
}

TEST_F(MovieTest, EscEndsItButOnlyAfterTheFirstFiveSeconds)
{
    platform_.HoldKey(vk::Escape, 1000, 5500);
    Play(Scripted(1000));
    EXPECT_EQ(platform_.NowMs(), kFiveSecondsAndAPump);
    EXPECT_EQ(platform_.PresentCount(), 126u);  // pictures 0 .. 5000 ms

    const uint32_t shown = platform_.PresentCount();
    platform_.HoldKey(vk::Escape, 12000, 60000);  // well after the next movie's five seconds
    Play(Scripted(1000));
    EXPECT_GE(platform_.NowMs(), 12000u);
    EXPECT_LE(platform_.NowMs(), 12100u);
    EXPECT_GT(platform_.PresentCount(), shown + 125);
}

TEST_F(MovieTest, AMovieThatBreaksOffReturns)
{
    Play(Scripted(10, true));
    EXPECT_EQ(platform_.PresentCount(), 10u);
    EXPECT_EQ(platform_.NowMs(), kFiveSecondsAndAPump);
}

TEST_F(MovieTest, AMissingMovieIsSkippedSilently)
{
    Play(Scripted(10), "Movies/wm_won.mpg");
    EXPECT_EQ(platform_.PresentCount(), 0u);
    EXPECT_EQ(platform_.NowMs(), 0u);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

// The game's decoder on movies the kit makes.
class FfmpegMovieTest : public MovieTest
{
protected:
    void WriteMovie(const kit::MovieSpec& spec, size_t keepBytes = SIZE_MAX)
    {
        std::string error;
        std::vector<uint8_t> movie = kit::BuildMovie(spec, error);
        ASSERT_FALSE(movie.empty()) << error;
        movie.resize(std::min(movie.size(), keepBytes));
        directory_.WriteFile("Movies/Intro.mpg", std::string(movie.begin(), movie.end()));
    }
};

TEST_F(FfmpegMovieTest, DecodesEveryPictureHeadless)
{
    WriteMovie({.frames = 50});
    Play(CreateFfmpegMovieDecoder);
    EXPECT_EQ(platform_.PresentCount(), 50u);
    EXPECT_EQ(platform_.NowMs(), kFiveSecondsAndAPump);
    ASSERT_FALSE(platform_.Frames().empty());
    EXPECT_EQ(platform_.Frames().back().width, 640);
    // The first bar of the last picture: the bars have slid by 49 x 4 pixels to magenta.
    const uint16_t pixel = platform_.Frames().back().pixels[640 * 100 + 10];
    EXPECT_GT(pixel >> 11, 20);          // red
    EXPECT_LT((pixel >> 5) & 0x3F, 20);  // little green
    size_t soundFrames = 0;
    for (const std::vector<int16_t>& buffer : platform_.AudioCaptures().at(0).buffers)
    {
        soundFrames += buffer.size() / 2;
    }
    EXPECT_NEAR(static_cast<double>(soundFrames), 2.0 * 44100, 44100 * 0.1);
}

TEST_F(FfmpegMovieTest, ATruncatedMovieShowsWhatItHolds)
{
    WriteMovie({.frames = 50}, 30000);
    Play(CreateFfmpegMovieDecoder);
    EXPECT_GT(platform_.PresentCount(), 0u);
    EXPECT_LT(platform_.PresentCount(), 50u);
    EXPECT_EQ(platform_.NowMs(), kFiveSecondsAndAPump);
}

TEST_F(FfmpegMovieTest, AFileThatIsNoMovieIsReportedAndReturnsAtOnce)
{
    Play(CreateFfmpegMovieDecoder);
    EXPECT_EQ(platform_.PresentCount(), 0u);
    EXPECT_EQ(platform_.NowMs(), kPumpMs);
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0], "Sorry, I do not know how to play this file.");
}
}  // namespace
