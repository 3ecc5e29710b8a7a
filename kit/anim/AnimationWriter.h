#pragma once

// Animation files as the render library plays them: a header, the packed size of every frame,
// then the frames as LZ blocks. Frame 0 is the picture itself, every later frame the difference
// from the frame before it (earlier minus later, little-endian 32-bit words, modulo 2^32), so
// that the player gets each picture by subtracting.

#include <cstdint>
#include <string>
#include <vector>

namespace kit
{

struct AnimationFrames
{
    int width = 0;   // pixels
    int height = 0;  // rows
    int stride = 0;  // bytes from one row to the next, at least 2 x width
    // Each frame's picture: height x stride bytes of little-endian RGB 5-6-5 pixels.
    std::vector<std::vector<uint8_t>> pictures;
};

// False, with the reason, for no frames, a stride narrower than the width, frames of another
// size than height x stride, or a picture size that is not a multiple of 16 bytes.
bool WriteAnimation(const AnimationFrames& frames, std::vector<uint8_t>& file, std::string& error);

}  // namespace kit
