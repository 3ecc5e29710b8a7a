#pragma once

// What the render library's tests share: a scripted platform and a fresh working folder per
// test, the window the game would hand over (frames and message boxes reach the platform), a
// library put back into its unloaded state afterwards, and pictures made by the kit.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/picture/Picture.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "render/RenderApi.h"
#include "tests/support/TestDirectory.h"

class RenderTest : public ::testing::Test
{
protected:
    RenderTest();
    ~RenderTest() override;

    // InitHardware and InitScreen in the mode with the test's window; true when both succeed.
    bool OpenScreen(int32_t width = 640, int32_t height = 480, int32_t refreshHz = 60);

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const;

    ScriptedPlatform platform_;
    ScopedPlatform scopedPlatform_{platform_};
    TestDirectory directory_;
    bool focused_ = true;
    RenderWindow window_;
};

// A picture whose every pixel differs from its neighbours; alpha varies as well.
kit::RgbaPicture TestPicture(int width, int height);
// The same picture as 8-bit indices into a palette of 256 greys.
kit::IndexedPicture TestIndexedPicture(int width, int height);

// 5-6-5 of an RGBA pixel as the library's conversion makes it.
uint16_t To565(const uint8_t* rgba);
uint16_t To4444(const uint8_t* rgba);
// The 16-bit pixel (x, y) of a texture.
uint16_t TexelAt(const Texture& texture, int x, int y);

// A picture file of the test data made by ImageMagick.
std::vector<uint8_t> ReadTestData(const std::string& name);
