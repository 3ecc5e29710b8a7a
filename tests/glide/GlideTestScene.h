#pragma once

// A board opened at 512 x 384 with a padded colour stride, in the render state the render
// library sets when it opens the screen, for tests that draw and look at the pixels.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "glide/Glide.h"
#include "glide/GlideOptions.h"
#include "glide/GlidePresent.h"
#include "tests/support/GoldenFrame.h"

constexpr int kScreenWidth = 512;
constexpr int kScreenHeight = 384;
constexpr uint32_t kPaddedStrideBytes = 2048;

// An ABGR colour word from 8-bit channels.
constexpr GrColor Abgr(int r, int g, int b, int a = 255)
{
    return static_cast<GrColor>(r) | (static_cast<GrColor>(g) << 8) |
           (static_cast<GrColor>(b) << 16) | (static_cast<GrColor>(a) << 24);
}

constexpr uint16_t Rgb565(int r, int g, int b)
{
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// A vertex at pixel (x, y), depth W, colour (r, g, b) 0-255 with alpha a, texture coordinates
// (s, t) in the 0..256 texture space, perspective through 1/W.
GrVertex Vertex(float x, float y, float w = 1.0f, GrColor colour = Abgr(255, 255, 255),
                float s = 0.0f, float t = 0.0f);

// Four vertices of an axis-aligned rectangle, clockwise from the top left, with the texture
// coordinates (s0, t0) .. (s1, t1) over it.
std::vector<GrVertex> Rectangle(float x0, float y0, float x1, float y1, float w = 1.0f,
                                GrColor colour = Abgr(255, 255, 255), float s0 = 0.0f,
                                float t0 = 0.0f, float s1 = 0.0f, float t1 = 0.0f);

void Draw(const std::vector<GrVertex>& polygon);

// Colour from the constant colour alone, or from the iterated vertex colour alone; alpha
// from the constant colour.
void UseConstantColour(GrColor colour);
void UseIteratedColour();
// Texel x iterated colour, texel alpha x constant alpha (the library's 2D and 3D default).
void UseTextureTimesIterated();

// Copies texels into texture memory at address and selects them.
void LoadTexture(uint32_t address, GrLod lod, GrAspectRatio aspect, GrTextureFormat format,
                 const void* texels);

class GlideScene : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The back buffer as it stands (read through the frame-buffer lock).
    FrameView565 BackBuffer();
    void Clear(GrColor colour);

    // Checks the top-left width x height pixels against the golden hash; the reference
    // picture is tests/glide/golden/<name>.bmp.
    void ExpectGolden(const std::string& name, int width, int height, uint64_t hash);
    // Every pixel outside the top-left width x height is still the clear colour.
    void ExpectUntouchedOutside(int width, int height, uint16_t clearPixel);

    // Frames handed to the present callback, copied with their pixels packed.
    struct PresentedFrame
    {
        int width = 0;
        int height = 0;
        int pitchBytes = 0;
        float gamma = 0.0f;
        std::vector<uint16_t> pixels;
    };
    std::vector<PresentedFrame> presented_;
    GlideSpanRoutines spanRoutines_ = GlideSpanRoutines::Fastest;  // set before SetUp
};

// The span routines as test-name suffixes.
std::string SpanRoutinesName(const ::testing::TestParamInfo<GlideSpanRoutines>& info);
