#include "tests/render/RenderTestSupport.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "core/files/FileSystem.h"
#include "glide/GlideOptions.h"

RenderTest::RenderTest()
{
    window_.user = this;
    window_.present = [](const uint16_t* pixels, int width, int height, int pitchBytes, void* user)
    {
        static_cast<RenderTest*>(user)->platform_.Present({pixels, width, height, pitchBytes});
    };
    window_.hasFocus = [](void* user) { return static_cast<RenderTest*>(user)->focused_; };
    window_.showMessage = [](const char* text, void* user)
    { static_cast<RenderTest*>(user)->platform_.ShowMessageBox(text); };
}

RenderTest::~RenderTest()
{
    rdll_Free();
    rdll_ShotDown();
    rdll_SetArchive(nullptr);
    SetGlideOptions(GlideOptions{});
}

bool RenderTest::OpenScreen(int32_t width, int32_t height, int32_t refreshHz)
{
    const ScreenMode mode{width, height, 16, refreshHz, 0};
    return rdll_InitHardware() == 1 && rdll_InitScreen(&window_, 0, "", &mode) == 1;
}

void RenderTest::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    directory_.WriteFile(name, std::string(bytes.begin(), bytes.end()));
}

kit::RgbaPicture TestPicture(int width, int height)
{
    kit::RgbaPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            picture.rgba.push_back(static_cast<uint8_t>(x * 37 + y * 11));
            picture.rgba.push_back(static_cast<uint8_t>(y * 53 + x * 7 + 90));
            picture.rgba.push_back(static_cast<uint8_t>((x ^ y) * 29 + 200));
            picture.rgba.push_back(static_cast<uint8_t>(x * 16 + y * 64 + 15));
        }
    }
    return picture;
}

kit::IndexedPicture TestIndexedPicture(int width, int height)
{
    kit::IndexedPicture picture{width, height, {}, {}};
    for (uint32_t entry = 0; entry < picture.palette.size(); ++entry)
    {
        picture.palette[entry] = entry * 0x010101u;
    }
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            picture.indices.push_back(static_cast<uint8_t>(x * 13 + y * 71));
        }
    }
    return picture;
}

uint16_t To565(const uint8_t* rgba)
{
    return static_cast<uint16_t>((rgba[0] >> 3) << 11 | (rgba[1] >> 2) << 5 | rgba[2] >> 3);
}

uint16_t To4444(const uint8_t* rgba)
{
    return static_cast<uint16_t>((rgba[3] >> 4) << 12 | (rgba[0] >> 4) << 8 | (rgba[1] >> 4) << 4 |
                                 rgba[2] >> 4);
}

uint16_t TexelAt(const Texture& texture, int x, int y)
{
    uint16_t texel = 0;
    std::memcpy(&texel, texture.pixels + static_cast<size_t>(texture.stride) * y + 2 * x, 2);
    return texel;
}

std::vector<uint8_t> ReadTestData(const std::string& name)
{
    std::ifstream in(std::string(ZARVO_RENDER_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << "missing test data " << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
