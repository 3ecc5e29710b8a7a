#pragma once

// The decoder layer under the movie player: a movie file read as a sequence of pictures,
// already scaled to the size the player shows them at in 16-bit 565 pixels, and sound, already
// converted to 16-bit stereo at the player's rate, each with its time from the movie's start.
// One FFmpeg backend plays real files; tests script their own.
//
// Threads: one thread at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct MovieTarget
{
    int width = 640;
    int height = 480;
    uint32_t audioRate = 44100;
};

struct MoviePicture
{
    uint32_t timeMs = 0;
    std::vector<uint16_t> pixels;  // width x height of the target, rows top down
};

struct MovieSound
{
    uint32_t timeMs = 0;
    std::vector<int16_t> samples;  // left, right per frame
};

class MovieDecoder
{
public:
    enum class Item
    {
        Picture,
        Sound,
        End,    // the whole movie was read
        Error,  // the file cannot be read further
    };

    virtual ~MovieDecoder() = default;

    // False for a file that cannot be opened or holds nothing the decoder can show.
    virtual bool Open(const std::string& path, const MovieTarget& target) = 0;
    // The next item in time order (roughly: sound may run a little ahead), into picture or
    // sound. End and Error repeat once reached.
    virtual Item Next(MoviePicture& picture, MovieSound& sound) = 0;
};

using MovieDecoderFactory = std::function<std::unique_ptr<MovieDecoder>()>;

// The decoder over FFmpeg's libraries (MPEG-1 and whatever else they read).
std::unique_ptr<MovieDecoder> CreateFfmpegMovieDecoder();
