#pragma once

// Settings of the software board that a real board fixes in hardware, for tests of the code
// above it: whether a board is found, the texture-memory range and the frame-buffer stride.

#include <cstdint>

// The routines that draw spans of the common state (texel x iterated colour). Every choice
// gives the same pixels; tests draw their golden frames with each.
enum class GlideSpanRoutines : uint8_t
{
    Fastest,    // the widest this build and processor run
    OnePixel,   // the portable one-pixel routines alone
    FourWide,   // four pixels at a time (SSE2)
    EightWide,  // eight pixels at a time (AVX2, where the processor has it)
};

// Whether this build on this processor has the routines (Fastest and OnePixel always).
bool SpanRoutinesAvailable(GlideSpanRoutines routines);

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
    // Unavailable routines fall back to the one-pixel ones.
    GlideSpanRoutines spanRoutines = GlideSpanRoutines::Fastest;
};

// Takes effect at the next grSstWinOpen (stride) or grGlideInit (everything else); the
// queries read it at once. Survives grGlideInit and grGlideShutdown.
void SetGlideOptions(const GlideOptions& options);
