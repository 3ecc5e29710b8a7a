#pragma once

// Settings of the software board that a real board fixes in hardware, for tests of the code
// above it: whether a board is found, the texture-memory range and the frame-buffer stride.

#include <cstdint>

struct GlideOptions
{
    int boardCount = 1;       // what grSstQueryBoards and grSstQueryHardware report
    bool queryFails = false;  // both queries fail
    // Texture-memory byte range [min, max). The minimum is not 0, so that 0 is never the
    // address of a texture.
    uint32_t textureMemoryMin = 0x100;
    uint32_t textureMemoryMax = 32u << 20;
    // Bytes from one row of a colour buffer to the next; 0 = 2 x width. A padded stride
    // catches code that assumes rows are packed. Rounded up to whole pixels.
    uint32_t colourStrideBytes = 0;
    // Threads that draw, the caller's included; 0 = one per processor the process may use. Pictures
    // are the same for every count.
    int threads = 0;
};

// Takes effect at the next grSstWinOpen (stride) or grGlideInit (everything else); the
// queries read it at once. Survives grGlideInit and grGlideShutdown.
void SetGlideOptions(const GlideOptions& options);
