#pragma once

// Movie files as the game's movie player reads them: an MPEG-1 program stream with MPEG-1
// video and MPEG-1 layer II sound, made with FFmpeg's own encoders from a test pattern (colour
// bars that move, a frame counter in the corner strip) and a plain tone.

#include <cstdint>
#include <string>
#include <vector>

namespace kit
{
struct MovieSpec
{
    int width = 320;
    int height = 240;
    int framesPerSecond = 25;
    uint32_t frames = 50;
    double toneHz = 440.0;
    bool withSound = true;
};

// Empty, with the reason in error, when the encoders are missing.
std::vector<uint8_t> BuildMovie(const MovieSpec& spec, std::string& error);
}  // namespace kit
