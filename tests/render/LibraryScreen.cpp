#include "tests/render/LibraryScreen.h"

#include "glide/GlideOptions.h"
#include "render/TextureStore.h"

namespace
{

constexpr uint32_t kPaddedStrideBytes = 2048;

}  // namespace

LibraryScreen::LibraryScreen()
{
    window_.user = this;
    window_.showMessage = [](const char* text, void* user)
    { static_cast<LibraryScreen*>(user)->platform_.ShowMessageBox(text); };
}

void LibraryScreen::SetUp()
{
    GlideOptions options;
    options.colourStrideBytes = kPaddedStrideBytes;
    SetGlideOptions(options);
    const ScreenMode mode{kScreenWidth, kScreenHeight, 16, 60, 0};
    ASSERT_EQ(rdll_InitHardware(), 1);
    ASSERT_EQ(rdll_InitScreen(&window_, 0, "", &mode), 1);
    rdll_SetClipRect(0, 0, kScreenWidth, kScreenHeight);
}

void LibraryScreen::TearDown()
{
    rdll_CloseAnimation();
    rdll_SetDrawTextVars(nullptr, nullptr);
    rdll_SetClipRect(0, 0, kScreenWidth, kScreenHeight);
    rdll_DisableFog();
    rdll_Free();
    rdll_ShotDown();
    rdll_SetArchive(nullptr);
    SetGlideOptions(GlideOptions{});
}

FrameView565 LibraryScreen::BackBuffer()
{
    LfbInfo locked;
    EXPECT_EQ(rdll_LockLFB(&locked), 1);
    return {static_cast<const uint16_t*>(locked.address), kScreenWidth, kScreenHeight,
            locked.stride};
}

void LibraryScreen::ClearScreen(uint32_t colour)
{
    rdll_ClearBuffer(3, colour);
}

void LibraryScreen::ExpectGoldenIn(const std::string& goldenDir, const std::string& name, int x,
                                   int y, int width, int height, uint64_t hash)
{
    const std::string reference = goldenDir + "/" + name + ".bmp";
    EXPECT_TRUE(MatchesGolden(name, BackBuffer().Region(x, y, width, height), hash, reference));
}

LibraryArchive::LibraryArchive(const kit::CprWriter& writer)
{
    const std::vector<uint8_t> bytes = writer.Build();
    directory_.WriteFile("test.cpr", std::string(bytes.begin(), bytes.end()));
    EXPECT_TRUE(archive_.Open(directory_.path() + "/test.cpr", true));
    rdll_SetArchive(&archive_);
}

LibraryArchive::~LibraryArchive()
{
    rdll_SetArchive(nullptr);
}

Texture* PictureFrom(const kit::RgbaPicture& picture, bool withAlpha)
{
    std::vector<uint8_t> pixels;
    for (size_t at = 0; at < picture.rgba.size(); at += 4)
    {
        const uint8_t* rgba = &picture.rgba[at];
        const uint16_t pixel =
            withAlpha ? static_cast<uint16_t>((rgba[3] >> 4) << 12 | (rgba[0] >> 4) << 8 |
                                              (rgba[1] >> 4) << 4 | rgba[2] >> 4)
                      : Rgb565(rgba[0], rgba[1], rgba[2]);
        pixels.push_back(static_cast<uint8_t>(pixel));
        pixels.push_back(static_cast<uint8_t>(pixel >> 8));
    }
    return render::TextureStore::NewPicture(
        picture.width, picture.height, 2 * picture.width,
        withAlpha ? kTextureFormatArgb4444 : kTextureFormatRgb565, pixels.data());
}

void FreePicture(Texture* picture)
{
    render::TextureStore::Destroy(picture);
}
