#pragma once

// The render library opened on a 640 x 480 screen whose back buffer rows are padded (so that
// code ignoring the stride shows), with the window's frames and message boxes going to a
// scripted platform; afterwards the library is put back as it was loaded. Also pictures made
// from kit pictures, and the back buffer for golden frames.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "kit/CprWriter.h"
#include "kit/picture/Picture.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "render/RenderApi.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 480;

class LibraryScreen : public ::testing::Test
{
protected:
    LibraryScreen();
    void SetUp() override;
    void TearDown() override;

    // The back buffer through the frame-buffer lock.
    FrameView565 BackBuffer();
    void ClearScreen(uint32_t colour);
    // The width x height of the back buffer from (x, y) against the hash; the reference
    // picture is <name>.bmp in the golden folder beside the test.
    void ExpectGolden(const std::string& name, int x, int y, int width, int height, uint64_t hash)
    {
        ExpectGoldenIn(ZARVO_GOLDEN_DIR, name, x, y, width, height, hash);
    }
    void ExpectGoldenIn(const std::string& goldenDir, const std::string& name, int x, int y,
                        int width, int height, uint64_t hash);

    const std::vector<std::string>& Messages() const { return platform_.MessageBoxes(); }

    ScriptedPlatform platform_;
    ScopedPlatform scopedPlatform_{platform_};
    RenderWindow window_;
};

// An archive the kit wrote, mounted from a fresh folder and handed to the library.
class LibraryArchive
{
public:
    explicit LibraryArchive(const kit::CprWriter& writer);
    ~LibraryArchive();
    LibraryArchive(const LibraryArchive&) = delete;
    LibraryArchive& operator=(const LibraryArchive&) = delete;

private:
    TestDirectory directory_;
    CprArchive archive_;
};

// A 16-bit picture in no list, with the kit picture's pixels as RGB 5-6-5 (alpha dropped) or
// ARGB 4-4-4-4. Freed with FreePicture.
Texture* PictureFrom(const kit::RgbaPicture& picture, bool withAlpha = false);
void FreePicture(Texture* picture);

// 5-6-5 of an 8-bit colour, as the library converts pictures.
constexpr uint16_t Rgb565(int red, int green, int blue)
{
    return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}
