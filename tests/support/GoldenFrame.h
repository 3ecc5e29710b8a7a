#pragma once

// Golden frames: a rendered 16-bit RGB 5-6-5 picture is checked against the hash it is known to
// have (FNV-1a 64 over its pixels, row by row, two bytes each low byte first, padding left out).
//
// On a mismatch the actual frame is written as a 24-bit BMP, and when a reference BMP of the
// expected picture exists, a difference picture beside it, into golden-failures/ beside the
// test program's folder (build/<dir>/golden-failures); the failure names the files.
// With ZARVO_RECORD_GOLDEN=1 in the environment nothing fails: the new hash is printed and the
// frame is written as the reference BMP, for review before the hash goes into the test.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct FrameView565
{
    const uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchBytes = 0;

    const uint16_t* Address(int x, int y) const
    {
        return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pixels) +
                                                 static_cast<size_t>(y) * pitchBytes +
                                                 static_cast<size_t>(x) * 2);
    }
    uint16_t At(int x, int y) const { return *Address(x, y); }
    // The part of the frame from (x, y), width x height pixels, sharing its pitch.
    FrameView565 Region(int x, int y, int regionWidth, int regionHeight) const;
};

uint64_t HashFrame(const FrameView565& frame);

// golden-failures/ beside the folder that holds the running test program: where mismatches
// are written.
std::filesystem::path GoldenFailureFolder();

// A 24-bit bottom-up BMP, channels widened by shifting (as screenshots are written).
bool WriteFrameBmp(const std::string& path, const FrameView565& frame);

// The 5-6-5 pixels of a BMP written by WriteFrameBmp (packed rows); nothing when it cannot be read.
struct Frame565
{
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
};
std::optional<Frame565> ReadFrameBmp(const std::string& path);

// referenceBmp: where the expected picture is kept (may be empty).
::testing::AssertionResult MatchesGolden(const std::string& name, const FrameView565& frame,
                                         uint64_t expectedHash,
                                         const std::string& referenceBmp = {});
