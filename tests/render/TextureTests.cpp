#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "glide/GlideOptions.h"
#include "kit/CprWriter.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TgaWriter.h"
#include "render/TextureMemory.h"
#include "tests/render/RenderTestSupport.h"

namespace
{
constexpr uint32_t kTextureMemoryStart = 0x100;  // the board's default minimum

class TextureTest : public RenderTest
{
protected:
    void SetUp() override { ASSERT_TRUE(OpenScreen()); }

    Texture* LoadBmp24(const std::string& name, int32_t index, int width, int height)
    {
        WriteFile(name, kit::WriteBmp24(TestPicture(width, height)));
        return rdll_LoadTexture(name.c_str(), index, 0, 7);
    }
};

struct ShapeCase
{
    int32_t width;
    int32_t height;
    bool fits;
    int32_t aspect;
    int32_t lod;
    int32_t sRange;
    int32_t tRange;
};

TEST(TextureShapeTest, PowerOfTwoSidesWithRatiosUpToEightFitTheBoard)
{
    const ShapeCase cases[] = {
        {256, 32, true, 0, 0, 256, 32},  {256, 64, true, 1, 0, 256, 64},
        {64, 32, true, 2, 2, 256, 128},  {1, 1, true, 3, 8, 256, 256},
        {64, 128, true, 4, 1, 128, 256}, {16, 64, true, 5, 2, 64, 256},
        {16, 128, true, 6, 1, 32, 256},  {8, 64, true, 6, 2, 32, 256},
        {100, 100, false, 0, 0, 0, 0},   {256, 16, false, 0, 0, 0, 0},
        {512, 512, false, 0, 0, 0, 0},   {0, 0, false, 0, 0, 0, 0},
        {48, 48, false, 0, 0, 0, 0},
    };
    for (const ShapeCase& shape : cases)
    {
        SCOPED_TRACE(std::to_string(shape.width) + " x " + std::to_string(shape.height));
        const std::optional<render::TextureShape> got = render::ShapeOf(shape.width, shape.height);
        ASSERT_EQ(got.has_value(), shape.fits);
        if (got)
        {
            EXPECT_EQ(got->aspectRatio, shape.aspect);
            EXPECT_EQ(got->lod, shape.lod);
            EXPECT_EQ(got->sRange, shape.sRange);
            EXPECT_EQ(got->tRange, shape.tRange);
        }
    }
}

TEST_F(TextureTest, EachPictureKindLoadsIntoItsTextureFormat)
{
    const kit::RgbaPicture picture = TestPicture(4, 2);
    WriteFile("true.bmp", kit::WriteBmp24(picture));
    WriteFile("alpha.tga", kit::WriteTga(picture, 32));
    WriteFile("photo.jpg", ReadTestData("rose.jpg"));

    const Texture* bmp = rdll_LoadTexture("true.bmp", 1, 0, 11);
    const Texture* tga = rdll_LoadTexture("alpha.tga", 2, 0, 12);
    const Texture* jpeg = rdll_LoadTexture("photo.jpg", 3, 0, 13);
    ASSERT_NE(bmp, nullptr);
    ASSERT_NE(tga, nullptr);
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(bmp->format, kTextureFormatRgb565);
    EXPECT_EQ(tga->format, kTextureFormatArgb4444);
    EXPECT_EQ(jpeg->format, kTextureFormatRgb565);
    EXPECT_EQ(jpeg->width, 16);
    EXPECT_EQ(jpeg->height, 12);
    EXPECT_EQ(bmp->userValue, 11);
    EXPECT_EQ(bmp->tableIndex, 1);
    EXPECT_EQ(rdll_GetTexture(3), jpeg);
    for (int pixel = 0; pixel < 8; ++pixel)
    {
        const uint8_t* rgba = &picture.rgba[pixel * 4];
        EXPECT_EQ(TexelAt(*bmp, pixel % 4, pixel / 4), To565(rgba));
        EXPECT_EQ(TexelAt(*tga, pixel % 4, pixel / 4), To4444(rgba));
    }
}

TEST_F(TextureTest, EightBitBitmapsKeepTheirIndicesAndShareEqualPalettes)
{
    const kit::IndexedPicture picture = TestIndexedPicture(8, 8);
    kit::IndexedPicture other = picture;
    other.palette[3] = 0x00123456;
    WriteFile("a.bmp", kit::WriteBmp8(picture));
    WriteFile("b.bmp", kit::WriteBmp8(picture));
    WriteFile("c.bmp", kit::WriteBmp8(other));
    const Texture* a = rdll_LoadTexture("a.bmp", 1, 0, 0);
    const Texture* b = rdll_LoadTexture("b.bmp", 2, 0, 0);
    const Texture* c = rdll_LoadTexture("c.bmp", 3, 0, 0);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->format, kTextureFormatPalette8);
    EXPECT_EQ(0, std::memcmp(a->pixels, picture.indices.data(), 8));
    EXPECT_EQ(a->palette, b->palette);
    EXPECT_NE(a->palette, c->palette);
    EXPECT_EQ(c->palette[3], 0x00123456u);
    EXPECT_EQ(a->palette[200], 0x00C8C8C8u);
    EXPECT_EQ(a->glideInfo.format, 5);  // palettised 8-bit
}

TEST_F(TextureTest, FirstDownloadsTakeTextureMemoryInTurn)
{
    const Texture* first = LoadBmp24("first.bmp", 10, 256, 32);
    WriteFile("second.bmp", kit::WriteBmp8(TestIndexedPicture(16, 64)));
    const Texture* second = rdll_LoadTexture("second.bmp", 11, 0, 0);
    const Texture* third = LoadBmp24("third.bmp", 12, 8, 8);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->textureAddress, kTextureMemoryStart);
    EXPECT_EQ(second->textureAddress, kTextureMemoryStart + 256 * 32 * 2);
    EXPECT_EQ(third->textureAddress, second->textureAddress + 16 * 64);
    EXPECT_EQ(first->glideInfo.aspectRatio, 0);
    EXPECT_EQ(first->glideInfo.largeLod, 0);
    EXPECT_EQ(second->glideInfo.aspectRatio, 5);
    EXPECT_EQ(second->glideInfo.largeLod, 2);
    EXPECT_EQ(second->sRange, 64);
    EXPECT_EQ(second->negatedTRange, -256);
    EXPECT_EQ(first->glideInfo.data, first->pixels);

    rdll_Reset();
    const Texture* afterReset = LoadBmp24("fourth.bmp", 13, 8, 8);
    ASSERT_NE(afterReset, nullptr);
    EXPECT_EQ(afterReset->textureAddress, kTextureMemoryStart);
}

TEST_F(TextureTest, PictureOfAnotherShapeLoadsButIsNotDownloaded)
{
    Texture* texture = LoadBmp24("odd.bmp", 5, 100, 100);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->downloaded, 0u);
    EXPECT_EQ(rdll_DownLoadTexture(texture), 0);
    EXPECT_EQ(rdll_DownLoadTextureIndex(5), 0);
    EXPECT_EQ(rdll_DownLoadTextureIndex(6), 0);  // empty slot
}

TEST_F(TextureTest, LoadingRefusesTakenAndInvalidSlots)
{
    const Texture* first = LoadBmp24("one.bmp", 4, 8, 8);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(rdll_LoadTexture("one.bmp", 4, 0, 0), nullptr);
    EXPECT_EQ(rdll_GetTexture(4), first);
    EXPECT_EQ(rdll_LoadTexture("one.bmp", -1, 0, 0), nullptr);
    EXPECT_EQ(rdll_LoadTexture("one.bmp", kTextureTableSize, 0, 0), nullptr);
    EXPECT_EQ(rdll_GetTexture(-1), nullptr);
    EXPECT_EQ(rdll_GetTexture(kTextureTableSize), nullptr);
    EXPECT_EQ(rdll_LoadTexture("missing.bmp", 9, 0, 0), nullptr);
    EXPECT_EQ(rdll_GetTexture(9), nullptr);
}

TEST_F(TextureTest, ReaderIsChosenByTheFirstKindNamedAnywhereInTheName)
{
    ASSERT_NE(LoadBmp24("menu/tga_bmp.bmp", 1, 8, 8), nullptr);
    WriteFile("jpg.tga.bmp.png", kit::WriteTga(TestPicture(8, 8), 24));
    EXPECT_EQ(rdll_LoadTexture("jpg.tga.bmp.png", 2, 0, 0), nullptr);  // read as BMP
    WriteFile("picture.png", kit::WriteBmp24(TestPicture(8, 8)));
    EXPECT_EQ(rdll_LoadTexture("picture.png", 3, 0, 0), nullptr);
    EXPECT_EQ(platform_.MessageBoxes(),
              std::vector<std::string>{"Unable to load jpg.tga.bmp.png."});
}

TEST_F(TextureTest, ReloadReplacesPixelsOfTheSameShapeInPlace)
{
    Texture* texture = LoadBmp24("old.bmp", 3, 8, 8);
    ASSERT_NE(texture, nullptr);
    const uint32_t address = texture->textureAddress;
    const uint8_t* pixels = texture->pixels;
    kit::RgbaPicture newer = TestPicture(8, 8);
    newer.rgba[0] = 0;
    newer.rgba[1] = 0;
    newer.rgba[2] = 0;
    WriteFile("new.bmp", kit::WriteBmp24(newer));
    EXPECT_EQ(rdll_ReLoadTexture("new.bmp", 3, 0, 42), texture);
    EXPECT_EQ(texture->pixels, pixels);
    EXPECT_EQ(texture->textureAddress, address);
    EXPECT_EQ(texture->userValue, 42);
    EXPECT_EQ(TexelAt(*texture, 0, 0), 0);

    WriteFile("large.bmp", kit::WriteBmp24(TestPicture(16, 16)));
    WriteFile("alpha.tga", kit::WriteTga(TestPicture(8, 8), 32));
    EXPECT_EQ(rdll_ReLoadTexture("large.bmp", 3, 0, 1), nullptr);
    EXPECT_EQ(rdll_ReLoadTexture("alpha.tga", 3, 0, 1), nullptr);  // another format
    EXPECT_EQ(rdll_ReLoadTexture("new.bmp", 4, 0, 1), nullptr);    // empty slot
    EXPECT_EQ(texture->width, 8);
    EXPECT_EQ(texture->userValue, 42);
}

TEST_F(TextureTest, MemoryTexturesStayOutOfTheTable)
{
    WriteFile("panel.bmp", kit::WriteBmp24(TestPicture(6, 3)));
    WriteFile("indexed.bmp", kit::WriteBmp8(TestIndexedPicture(8, 8)));
    WriteFile("panel.tga", kit::WriteTga(TestPicture(6, 3), 32));
    Texture* panel = rdll_LoadMemoryTexture("panel.bmp", 5);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->format, kTextureFormatRgb565);
    EXPECT_EQ(panel->stride, 12);
    EXPECT_EQ(panel->downloaded, 0u);
    EXPECT_EQ(rdll_LoadMemoryTexture("indexed.bmp", 0), nullptr);
    EXPECT_EQ(rdll_ReLoadMemoryTexture(panel, "panel.tga", 9), nullptr);  // another format
    EXPECT_EQ(rdll_ReLoadMemoryTexture(panel, "panel.bmp", 9), panel);
    EXPECT_EQ(panel->userValue, 9);
    rdll_FreeMemoryTexture(panel);
    rdll_FreeMemoryTexture(nullptr);

    Texture* forgotten = rdll_LoadMemoryTexture("panel.tga", 0);
    ASSERT_NE(forgotten, nullptr);
    rdll_ShotDown();
    EXPECT_EQ(platform_.MessageBoxes(), std::vector<std::string>{"1 textures not freed"});
    rdll_FreeMemoryTexture(forgotten);
}

TEST_F(TextureTest, TableTexturesAreNotFreedAsMemoryTextures)
{
    Texture* texture = LoadBmp24("table.bmp", 2, 8, 8);
    rdll_FreeMemoryTexture(texture);
    EXPECT_EQ(rdll_GetTexture(2), texture);
    EXPECT_EQ(texture->width, 8);
}

TEST_F(TextureTest, CreatedPicturesAreEmptyUntilDownloaded)
{
    Texture* texture = rdll_CreateTexture(32, 16, 8, kTextureFormatRgb565);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(rdll_GetTexture(8), texture);
    EXPECT_EQ(texture->stride, 64);
    EXPECT_EQ(texture->downloaded, 0u);
    EXPECT_EQ(rdll_LockTexture(texture), texture->pixels);
    EXPECT_EQ(rdll_DownLoadTextureIndex(8), 1);
    EXPECT_EQ(texture->textureAddress, kTextureMemoryStart);
    EXPECT_EQ(rdll_CreateTexture(32, 16, kTextureTableSize, kTextureFormatRgb565), nullptr);
    EXPECT_EQ(rdll_CreateTexture(0, 16, 9, kTextureFormatRgb565), nullptr);

    Texture* bitmap = nullptr;
    rdll_CreateBitmap(&bitmap, 5, 3, kTextureFormatArgb4444);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->stride, 10);
    EXPECT_EQ(bitmap->format, kTextureFormatArgb4444);
    rdll_FreeMemoryTexture(bitmap);
}

TEST_F(TextureTest, RegainingTheScreenKeepsAddressesAndPlacesNewTexturesAfterThem)
{
    const Texture* first = LoadBmp24("first.bmp", 1, 16, 16);
    const Texture* second = LoadBmp24("second.bmp", 2, 16, 16);
    ASSERT_TRUE(first && second);
    focused_ = false;
    EXPECT_EQ(rdll_IsGlideActive(), 0);
    focused_ = true;
    EXPECT_EQ(rdll_IsGlideActive(), 1);
    EXPECT_EQ(first->textureAddress, kTextureMemoryStart);
    EXPECT_EQ(second->textureAddress, kTextureMemoryStart + 512);
    const Texture* third = LoadBmp24("third.bmp", 3, 16, 16);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->textureAddress, kTextureMemoryStart + 1024);
}

TEST_F(TextureTest, TexturesLoadFromTheArchiveHandedOver)
{
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("Texturen/Wand.BMP", kit::WriteBmp24(TestPicture(32, 32)),
                           kit::MemberStorage::Packed, error));
    ASSERT_TRUE(writer.Add("texturen/dach.tga", kit::WriteTga(TestPicture(8, 8), 16),
                           kit::MemberStorage::Stored, error));
    WriteFile("textures.cpr", writer.Build());
    CprArchive archive;
    ASSERT_TRUE(archive.Open("textures.cpr", false));
    rdll_SetArchive(&archive);
    const Texture* wall = rdll_LoadTexture("texturen\\wand.bmp", 1, 0, 0);
    const Texture* roof = rdll_LoadTexture("TEXTUREN/DACH.TGA", 2, 0, 0);
    ASSERT_TRUE(wall && roof);
    EXPECT_EQ(TexelAt(*wall, 31, 31), To565(&TestPicture(32, 32).rgba[(31 * 32 + 31) * 4]));
    EXPECT_EQ(roof->format, kTextureFormatArgb4444);
    EXPECT_EQ(roof->downloaded, 1u);
    rdll_SetArchive(nullptr);
}

class TextureMemoryLimitTest : public RenderTest
{
};

TEST_F(TextureMemoryLimitTest, TextureThatDoesNotFitStaysWithoutAnAddress)
{
    GlideOptions options;
    options.textureMemoryMax = kTextureMemoryStart + 2 * (8 * 8 * 2);
    SetGlideOptions(options);
    ASSERT_TRUE(OpenScreen());
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
    {
        WriteFile(name, kit::WriteBmp24(TestPicture(8, 8)));
    }
    EXPECT_EQ(rdll_LoadTexture("a.bmp", 1, 0, 0)->downloaded, 1u);
    EXPECT_EQ(rdll_LoadTexture("b.bmp", 2, 0, 0)->downloaded, 1u);
    testing::internal::CaptureStderr();
    Texture* third = rdll_LoadTexture("c.bmp", 3, 0, 0);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->downloaded, 0u);
    EXPECT_EQ(rdll_DownLoadTexture(third), 0);
    // Told once, not at every frame that tries again.
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Zarvo: texture memory is full; a 8x8 texture and others that do not fit are not "
              "drawn\n");
    rdll_Reset();
    EXPECT_EQ(rdll_DownLoadTexture(third), 1);
    EXPECT_EQ(third->textureAddress, kTextureMemoryStart);
}

}  // namespace
