#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/files/FileSystem.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/PictureCommand.h"
#include "kit/picture/TgaWriter.h"
#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "tests/render/RenderTestSupport.h"

namespace
{
class PictureCommandTest : public RenderTest
{
};

TEST_F(PictureCommandTest, WritesWhatTheLibraryDecodesAsA24BitBitmap)
{
    const kit::RgbaPicture picture = TestPicture(5, 3);
    WriteFile("in.tga", kit::WriteTga(picture, 32));
    std::string error;
    ASSERT_TRUE(kit::DecodePictureToBmp("in.tga", "out.bmp", error)) << error;
    const std::optional<std::vector<uint8_t>> written = files::ReadAll("out.bmp");
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, kit::WriteBmp24(picture));
}

// Only the file name says the kind: a folder named after another kind does not.
TEST_F(PictureCommandTest, TakesTheKindFromTheFileNameAlone)
{
    const kit::RgbaPicture picture = TestPicture(3, 2);
    WriteFile("bmp-pictures/in.tga", kit::WriteTga(picture, 24));
    std::string error;
    ASSERT_TRUE(kit::DecodePictureToBmp("bmp-pictures/in.tga", "out.bmp", error)) << error;
    EXPECT_EQ(files::ReadAll("out.bmp"), kit::WriteBmp24(picture));
}

TEST_F(PictureCommandTest, ConvertsEightBitBitmapsThroughTheirPalette)
{
    const kit::IndexedPicture picture = TestIndexedPicture(4, 2);
    WriteFile("in.bmp", kit::WriteBmp8(picture));
    std::string error;
    ASSERT_TRUE(kit::DecodePictureToBmp("in.bmp", "out.bmp", error)) << error;
    render::ImageBuffer buffer;
    const std::optional<std::vector<uint8_t>> written = files::ReadAll("out.bmp");
    ASSERT_TRUE(written && render::BmpReader(&buffer).Decode(*written));
    EXPECT_EQ(buffer.Format(), render::ImageFormat::Rgb24);
    EXPECT_EQ(buffer.Pixels()[3 * 5], picture.indices[5]);  // grey: red = index
}

TEST_F(PictureCommandTest, RefusedPicturesSayWhy)
{
    std::vector<uint8_t> tga = kit::WriteTga(TestPicture(4, 4), 24);
    tga[16] = 8;
    WriteFile("eight.tga", tga);
    WriteFile("picture.png", kit::WriteBmp24(TestPicture(4, 4)));
    std::string error;
    EXPECT_FALSE(kit::DecodePictureToBmp("eight.tga", "out.bmp", error));
    EXPECT_EQ(error, "eight.tga: refused: a TGA of 8 bits a pixel (only 16, 24 and 32 are read)");
    EXPECT_FALSE(kit::DecodePictureToBmp("picture.png", "out.bmp", error));
    EXPECT_NE(error.find("BMP, TGA or JPG"), std::string::npos);
    EXPECT_FALSE(kit::DecodePictureToBmp("missing.bmp", "out.bmp", error));
    EXPECT_EQ(error, "missing.bmp: cannot be read");
    EXPECT_FALSE(files::Exists("out.bmp"));
}

}  // namespace
