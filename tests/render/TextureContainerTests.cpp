#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "kit/CprWriter.h"
#include "kit/picture/BmpWriter.h"
#include "kit/picture/TextureContainerWriter.h"
#include "kit/picture/TgaWriter.h"
#include "tests/render/RenderTestSupport.h"

namespace
{
class TextureContainerTest : public RenderTest
{
protected:
    void SetUp() override { ASSERT_TRUE(OpenScreen()); }
};

TEST_F(TextureContainerTest, EveryBitmapAndTgaBecomesATableTexture)
{
    kit::TextureContainerWriter container;
    container.Add(kit::ContainedPicture::Bmp, 5, kit::WriteBmp24(TestPicture(16, 16)));
    container.Add(kit::ContainedPicture::Tga, 6, kit::WriteTga(TestPicture(8, 8), 32));
    container.Add(kit::ContainedPicture::Bmp, 7, kit::WriteBmp8(TestIndexedPicture(8, 8)));
    WriteFile("strecke.tex", container.Bytes());
    EXPECT_EQ(rdll_LoadTextureImage("strecke.tex"), 3);
    const Texture* bmp = rdll_GetTexture(5);
    const Texture* tga = rdll_GetTexture(6);
    const Texture* indexed = rdll_GetTexture(7);
    ASSERT_TRUE(bmp && tga && indexed);
    EXPECT_EQ(bmp->format, kTextureFormatRgb565);
    EXPECT_EQ(tga->format, kTextureFormatArgb4444);
    EXPECT_EQ(indexed->format, kTextureFormatPalette8);
    EXPECT_EQ(bmp->userValue, -1);
    EXPECT_EQ(tga->downloaded, 1u);
    EXPECT_EQ(TexelAt(*tga, 7, 7), To4444(&TestPicture(8, 8).rgba[63 * 4]));
}

TEST_F(TextureContainerTest, SkipsForeignEntriesAndSlotsOutsideTheTable)
{
    const std::vector<uint8_t> picture = kit::WriteTga(TestPicture(8, 8), 24);
    kit::TextureContainerWriter container;
    container.Add(static_cast<kit::ContainedPicture>(7), 1, picture);
    container.Add(kit::ContainedPicture::Tga, kTextureTableSize, picture);
    container.Add(kit::ContainedPicture::Tga, 0xFFFFFFFF, picture);
    std::vector<uint8_t> broken = picture;
    broken[16] = 8;
    container.Add(kit::ContainedPicture::Tga, 3, broken);
    container.Add(kit::ContainedPicture::Tga, 2, picture);
    WriteFile("mixed.tex", container.Bytes());
    EXPECT_EQ(rdll_LoadTextureImage("mixed.tex"), 1);
    EXPECT_EQ(rdll_GetTexture(1), nullptr);
    EXPECT_EQ(rdll_GetTexture(3), nullptr);
    EXPECT_NE(rdll_GetTexture(2), nullptr);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(TextureContainerTest, EntryRunningPastTheEndStopsTheReading)
{
    kit::TextureContainerWriter container;
    container.Add(kit::ContainedPicture::Tga, 1, kit::WriteTga(TestPicture(8, 8), 24));
    container.Add(kit::ContainedPicture::Tga, 2, kit::WriteTga(TestPicture(8, 8), 24));
    std::vector<uint8_t> bytes = container.Bytes();
    bytes.resize(bytes.size() - 1);
    WriteFile("short.tex", bytes);
    EXPECT_EQ(rdll_LoadTextureImage("short.tex"), 1);
    EXPECT_EQ(rdll_GetTexture(2), nullptr);

    bytes.resize(bytes.size() + 1);
    bytes.insert(bytes.end(), {2, 0, 0});  // a header cut short after the last entry
    WriteFile("tail.tex", bytes);
    rdll_CleanUp();
    EXPECT_EQ(rdll_LoadTextureImage("tail.tex"), 2);
}

TEST_F(TextureContainerTest, LaterEntryTakesTheSlotAndTheEarlierOneLosesIt)
{
    kit::TextureContainerWriter container;
    container.Add(kit::ContainedPicture::Tga, 4, kit::WriteTga(TestPicture(8, 8), 24));
    container.Add(kit::ContainedPicture::Tga, 4, kit::WriteTga(TestPicture(16, 16), 24));
    WriteFile("twice.tex", container.Bytes());
    ASSERT_EQ(rdll_LoadTextureImage("twice.tex"), 2);
    EXPECT_EQ(rdll_GetTexture(4)->width, 16);

    // Put back after a saved state, the slot holds the later texture only.
    const uint32_t saved = rdll_SaveRenderState();
    rdll_ResetRenderState(saved);
    ASSERT_NE(rdll_GetTexture(4), nullptr);
    EXPECT_EQ(rdll_GetTexture(4)->width, 16);
}

TEST_F(TextureContainerTest, ContainersLoadFromTheArchiveAndMissingOnesAreReported)
{
    kit::TextureContainerWriter container;
    container.Add(kit::ContainedPicture::Bmp, 9, kit::WriteBmp24(TestPicture(32, 8)));
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("texturen/strecken/A_1.tex", container.Bytes(),
                           kit::MemberStorage::Packed, error));
    WriteFile("textures.cpr", writer.Build());
    CprArchive archive;
    ASSERT_TRUE(archive.Open("textures.cpr", false));
    rdll_SetArchive(&archive);
    EXPECT_EQ(rdll_LoadTextureImage("Texturen/Strecken/a_1.tex"), 1);
    EXPECT_EQ(rdll_GetTexture(9)->width, 32);
    EXPECT_EQ(rdll_LoadTextureImage("texturen/none.tex"), 0);
    rdll_SetArchive(nullptr);
    ASSERT_FALSE(platform_.MessageBoxes().empty());
    EXPECT_EQ(platform_.MessageBoxes().back(), "Cannot Open TextureImage texturen/none.tex\n");
}

}  // namespace
