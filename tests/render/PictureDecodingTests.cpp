#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"
#include "kit/CprWriter.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TgaWriter.h"
#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/JpegReader.h"
#include "render/TextureLoading.h"
#include "render/TgaReader.h"
#include "tests/render/RenderTestSupport.h"

namespace
{
using render::ImageBuffer;
using render::ImageFormat;

bool Decode(const std::string& name, const std::vector<uint8_t>& image, ImageBuffer& buffer)
{
    switch (render::PictureKindOf(name))
    {
        case render::PictureKind::Bmp:
            return render::BmpReader(&buffer).Decode(image);
        case render::PictureKind::Tga:
            return render::TgaReader(&buffer).Decode(image);
        case render::PictureKind::Jpeg:
            return render::JpegReader(&buffer).Decode(image);
        case render::PictureKind::Unknown:
            break;
    }
    return false;
}

struct IndependentPicture
{
    const char* file;
    const char* pixels;  // RGBA as ImageMagick reads the file back
    int width;
    int height;
    int tolerance;  // per channel; JPEG decoders may round differently
};

// Written by ImageMagick (tests/render/data/make-pictures.sh), so that the readers are checked
// against an encoder that is not ours.
TEST(PictureDecodingTest, DecodesPicturesOfAnIndependentEncoderPixelByPixel)
{
    const IndependentPicture pictures[] = {
        {"rose-8bit.bmp", "rose-8bit.rgba", 12, 8, 0},
        {"rose-8bit-width10.bmp", "rose-8bit-width10.rgba", 10, 6, 0},
        {"rose-24bit-width5.bmp", "rose-24bit-width5.rgba", 5, 4, 0},
        {"rose-24bit.tga", "rose-24bit.rgba", 8, 4, 0},
        {"rose-32bit.tga", "rose-32bit.rgba", 5, 3, 0},
        {"rose.jpg", "rose.rgba", 16, 12, 3},
        {"grey.jpg", "grey.rgba", 8, 8, 3},
    };
    for (const IndependentPicture& picture : pictures)
    {
        SCOPED_TRACE(picture.file);
        ImageBuffer buffer;
        ASSERT_TRUE(Decode(picture.file, ReadTestData(picture.file), buffer));
        buffer.ToTrueColour();
        ASSERT_EQ(buffer.Width(), picture.width);
        ASSERT_EQ(buffer.Height(), picture.height);
        const std::vector<uint8_t> expected = ReadTestData(picture.pixels);
        ASSERT_EQ(expected.size(), static_cast<size_t>(picture.width * picture.height * 4));
        int worst = 0;
        for (int y = 0; y < picture.height; ++y)
        {
            const uint8_t* row = buffer.Pixels() + static_cast<size_t>(buffer.Stride()) * y;
            for (int channel = 0; channel < picture.width * 4; ++channel)
            {
                worst = std::max(
                    worst, std::abs(row[channel] - expected[(y * picture.width * 4) + channel]));
            }
        }
        EXPECT_LE(worst, picture.tolerance);
    }
}

TEST(PictureDecodingTest, BitmapRowsLosePaddingAndTurnTopDown)
{
    const kit::RgbaPicture picture = TestPicture(3, 2);
    const std::vector<uint8_t> file = kit::WriteBmp24(picture);
    ASSERT_EQ(file.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    ImageBuffer buffer;
    ASSERT_TRUE(render::BmpReader(&buffer).Decode(file));
    EXPECT_EQ(buffer.Format(), ImageFormat::Rgb24);
    EXPECT_EQ(buffer.Stride(), 9);
    for (int y = 0; y < 2; ++y)
    {
        for (int x = 0; x < 3; ++x)
        {
            EXPECT_EQ(
                0, std::memcmp(buffer.Pixels() + y * 9 + x * 3, &picture.rgba[(y * 3 + x) * 4], 3));
        }
    }
}

TEST(PictureDecodingTest, EightBitBitmapsKeepEveryColumnAndTheFileStride)
{
    const kit::IndexedPicture picture = TestIndexedPicture(6, 3);
    ImageBuffer buffer;
    ASSERT_TRUE(render::BmpReader(&buffer).Decode(kit::WriteBmp8(picture)));
    EXPECT_EQ(buffer.Format(), ImageFormat::Palette8);
    EXPECT_EQ(buffer.Stride(), 8);
    for (int y = 0; y < 3; ++y)
    {
        EXPECT_EQ(0, std::memcmp(buffer.Pixels() + y * 8, &picture.indices[y * 6], 6)) << y;
    }
    const uint8_t* entry = buffer.Palette() + 4 * 200;
    EXPECT_EQ(std::vector<uint8_t>(entry, entry + 4), (std::vector<uint8_t>{200, 200, 200, 0}));
}

TEST(PictureDecodingTest, TgaPixelsOfEveryDepthBecomeFourBytes)
{
    const kit::RgbaPicture picture = TestPicture(3, 2);
    for (const int bits : {16, 24, 32})
    {
        SCOPED_TRACE(bits);
        const std::vector<uint8_t> file = kit::WriteTga(picture, bits);
        ImageBuffer buffer;
        ASSERT_TRUE(render::TgaReader(&buffer).Decode(file));
        EXPECT_EQ(buffer.Format(), ImageFormat::Rgba32);
        EXPECT_EQ(buffer.Stride(), 12);
        for (int pixel = 0; pixel < 6; ++pixel)
        {
            const uint8_t* got = buffer.Pixels() + pixel * 4;
            const uint8_t* want = &picture.rgba[pixel * 4];
            if (bits == 16)
            {
                // RGB 5-6-5 words, widened by shifting.
                EXPECT_EQ(got[0], want[0] & 0xF8);
                EXPECT_EQ(got[1], want[1] & 0xFC);
                EXPECT_EQ(got[2], want[2] & 0xF8);
            }
            else
            {
                EXPECT_EQ(0, std::memcmp(got, want, 3));
            }
            EXPECT_EQ(got[3], bits == 32 ? want[3] : 0xFF);
        }
    }
}

TEST(PictureDecodingTest, TgaRowsAreReadFourByteAligned)
{
    // 24-bit rows of width 3 lie 12 bytes apart: 9 bytes of pixels and 3 of padding.
    const std::vector<uint8_t> file = kit::WriteTga(TestPicture(3, 2), 24);
    ASSERT_EQ(file.size(), 18u + 2 * 12);
    std::vector<uint8_t> poisoned = file;
    std::fill(poisoned.begin() + 18 + 9, poisoned.begin() + 18 + 12, 0xEE);
    ImageBuffer clean;
    ImageBuffer dirty;
    ASSERT_TRUE(render::TgaReader(&clean).Decode(file));
    ASSERT_TRUE(render::TgaReader(&dirty).Decode(poisoned));
    EXPECT_EQ(0, std::memcmp(clean.Pixels(), dirty.Pixels(), 24));
}

std::vector<uint8_t> WithField32(std::vector<uint8_t> file, size_t offset, uint32_t value)
{
    StoreLe32(&file[offset], value);
    return file;
}

std::vector<uint8_t> WithField16(std::vector<uint8_t> file, size_t offset, uint16_t value)
{
    StoreLe16(&file[offset], value);
    return file;
}

std::vector<uint8_t> CutShort(std::vector<uint8_t> file, size_t size)
{
    file.resize(size);
    return file;
}

// The JPEG's frame header with its height and width replaced.
std::vector<uint8_t> JpegOfSize(uint16_t width, uint16_t height)
{
    std::vector<uint8_t> file = ReadTestData("rose.jpg");
    for (size_t i = 0; i + 9 < file.size(); ++i)
    {
        if (file[i] == 0xFF && file[i + 1] == 0xC0)
        {
            file[i + 5] = static_cast<uint8_t>(height >> 8);
            file[i + 6] = static_cast<uint8_t>(height);
            file[i + 7] = static_cast<uint8_t>(width >> 8);
            file[i + 8] = static_cast<uint8_t>(width);
            return file;
        }
    }
    ADD_FAILURE() << "no baseline frame header";
    return file;
}

struct DamagedPicture
{
    const char* what;
    const char* name;
    std::vector<uint8_t> file;
};

TEST(PictureDecodingTest, RefusesDamagedPicturesWithoutReadingPastThem)
{
    const std::vector<uint8_t> bmp24 = kit::WriteBmp24(TestPicture(5, 4));
    const std::vector<uint8_t> bmp8 = kit::WriteBmp8(TestIndexedPicture(8, 4));
    const std::vector<uint8_t> tga = kit::WriteTga(TestPicture(5, 4), 32);
    const std::vector<uint8_t> jpeg = ReadTestData("rose.jpg");
    const DamagedPicture pictures[] = {
        {"empty bitmap", "x.bmp", {}},
        {"bitmap header cut short", "x.bmp", CutShort(bmp24, 29)},
        {"16-bit bitmap", "x.bmp", WithField16(bmp24, 28, 16)},
        {"32-bit bitmap", "x.bmp", WithField16(bmp24, 28, 32)},
        {"bitmap of width 0", "x.bmp", WithField32(bmp24, 18, 0)},
        {"bitmap of negative height", "x.bmp", WithField32(bmp24, 22, 0xFFFFFFFC)},
        {"bitmap too wide", "x.bmp", WithField32(bmp24, 18, 5000)},
        {"bitmap of a billion rows", "x.bmp", WithField32(bmp24, 22, 1u << 30)},
        {"bitmap rows cut short", "x.bmp", CutShort(bmp24, bmp24.size() - 2)},
        {"8-bit bitmap rows cut short", "x.bmp", CutShort(bmp8, bmp8.size() - 1)},
        {"8-bit bitmap palette cut short", "x.bmp", CutShort(bmp8, 600)},
        {"TGA header cut short", "x.tga", CutShort(tga, 17)},
        {"8-bit TGA", "x.tga",
         [&]
         {
             auto f = tga;
             f[16] = 8;
             return f;
         }()},
        {"TGA of width 0", "x.tga", WithField16(tga, 12, 0)},
        {"TGA of negative height", "x.tga", WithField16(tga, 14, 0xFFFF)},
        {"TGA rows cut short", "x.tga", CutShort(tga, tga.size() - 1)},
        {"not a JPEG", "x.jpg", bmp24},
        {"JPEG header cut short", "x.jpg", CutShort(jpeg, 40)},
        {"JPEG too large", "x.jpg", JpegOfSize(5000, 12)},
        {"JPEG of height 0", "x.jpg", JpegOfSize(16, 0)},
    };
    for (const DamagedPicture& picture : pictures)
    {
        SCOPED_TRACE(picture.what);
        ImageBuffer buffer;
        EXPECT_FALSE(Decode(picture.name, picture.file, buffer));
    }
}

TEST(PictureDecodingTest, ReaderWithoutImageBufferFails)
{
    const std::vector<uint8_t> file = kit::WriteBmp24(TestPicture(4, 4));
    EXPECT_FALSE(render::BmpReader(nullptr).Decode(file));
    EXPECT_FALSE(render::TgaReader(nullptr).Load("x.tga"));
}

class PictureLoadTest : public RenderTest
{
};

TEST_F(PictureLoadTest, LoadReportsEveryPictureItCannotUse)
{
    std::vector<uint8_t> tga8 = kit::WriteTga(TestPicture(4, 4), 32);
    tga8[16] = 8;
    WriteFile("eight.tga", tga8);
    WriteFile("sixteen.bmp", WithField16(kit::WriteBmp24(TestPicture(4, 4)), 28, 16));
    ImageBuffer buffer;
    EXPECT_FALSE(render::TgaReader(&buffer).Load("eight.tga"));
    EXPECT_FALSE(render::BmpReader(&buffer).Load("sixteen.bmp"));
    EXPECT_FALSE(render::JpegReader(&buffer).Load("missing.jpg"));
    EXPECT_EQ(platform_.MessageBoxes(),
              (std::vector<std::string>{"Unable to load eight.tga.", "Unable to load sixteen.bmp.",
                                        "Unable to load missing.jpg."}));
}

TEST_F(PictureLoadTest, EmptyArchiveMemberIsReported)
{
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("empty.bmp", {}, kit::MemberStorage::Stored, error));
    WriteFile("pictures.cpr", writer.Build());
    CprArchive archive;
    ASSERT_TRUE(archive.Open("pictures.cpr", false));
    ImageBuffer buffer;
    buffer.SetArchive(&archive);
    EXPECT_FALSE(render::BmpReader(&buffer).Load("empty.bmp"));
    EXPECT_EQ(platform_.MessageBoxes(), std::vector<std::string>{"Unable to load empty.bmp."});
}

TEST_F(PictureLoadTest, ReadOpenFailsSilently)
{
    std::vector<uint8_t> tga8 = kit::WriteTga(TestPicture(4, 4), 32);
    tga8[16] = 8;
    WriteFile("entry.bin", tga8);
    DAFile file;
    ASSERT_TRUE(file.Open("entry.bin"));
    ImageBuffer buffer;
    const render::TextureImageEntry entry{render::TextureImageEntry::kTga,
                                          static_cast<uint32_t>(tga8.size()), 3};
    EXPECT_FALSE(render::TgaReader(&buffer).ReadOpen(entry, file));
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

}  // namespace
