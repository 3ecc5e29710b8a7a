// The board's calls around the drawing: queries, opening, clears and masks, swaps and
// presentation, the frame-buffer lock and texture memory.

#include <gtest/gtest.h>
#include <sched.h>

#include "glide/Glide.h"
#include "glide/GlideOptions.h"
#include "glide/WorkerPool.h"
#include "tests/glide/GlideTestScene.h"

namespace
{

class GlideBoard : public ::testing::Test
{
protected:
    void TearDown() override
    {
        grGlideShutdown();
        SetGlideOptions(GlideOptions{});
    }
};

bool OpenScreen(GrScreenResolution resolution, int colourBuffers = 2, int auxBuffers = 1)
{
    return grSstWinOpen(nullptr, resolution, GrScreenRefresh::Rate60Hz, GrColorFormat::Abgr,
                        GrOriginLocation::UpperLeft, colourBuffers, auxBuffers);
}

TEST_F(GlideBoard, QueriesReportTheConfiguredBoards)
{
    GrHwConfiguration hw{};
    grGlideInit();
    ASSERT_TRUE(grSstQueryBoards(&hw));
    EXPECT_EQ(hw.num_sst, 1);
    ASSERT_TRUE(grSstQueryHardware(&hw));
    EXPECT_EQ(hw.num_sst, 1);

    GlideOptions none;
    none.boardCount = 0;
    SetGlideOptions(none);
    ASSERT_TRUE(grSstQueryBoards(&hw));
    EXPECT_EQ(hw.num_sst, 0);
    EXPECT_FALSE(OpenScreen(GrScreenResolution::Res640x480)) << "no board, no screen";

    GlideOptions failing;
    failing.queryFails = true;
    SetGlideOptions(failing);
    EXPECT_FALSE(grSstQueryBoards(&hw));
    EXPECT_FALSE(grSstQueryHardware(&hw));
}

TEST_F(GlideBoard, OpensEveryModeOfTheTableAtItsSize)
{
    struct Mode
    {
        GrScreenResolution resolution;
        int width, height;
    };
    const Mode modes[] = {{GrScreenResolution::Res512x384, 512, 384},
                          {GrScreenResolution::Res640x480, 640, 480},
                          {GrScreenResolution::Res800x600, 800, 600},
                          {GrScreenResolution::Res960x720, 960, 720},
                          {GrScreenResolution::Res856x480, 856, 480},
                          {GrScreenResolution::Res1024x768, 1024, 768},
                          {GrScreenResolution::Res1280x1024, 1280, 1024},
                          {GrScreenResolution::Res1600x1200, 1600, 1200}};
    grGlideInit();
    for (const Mode& mode : modes)
    {
        ASSERT_TRUE(OpenScreen(mode.resolution));
        GrLfbInfo info{};
        ASSERT_TRUE(grLfbLock(GrLock::WriteOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                              GrOriginLocation::UpperLeft, false, &info));
        EXPECT_EQ(info.strideInBytes, static_cast<uint32_t>(mode.width * 2));
        // The last pixel of the buffer is there to be written.
        static_cast<uint16_t*>(info.lfbPtr)[mode.width * mode.height - 1] = 0xFFFF;
        grLfbUnlock(GrLock::WriteOnly, GrBuffer::BackBuffer);
        grSstWinClose();
    }
}

TEST_F(GlideBoard, RefusesWhatItCannotOpen)
{
    grGlideInit();
    EXPECT_FALSE(OpenScreen(static_cast<GrScreenResolution>(-1)));
    EXPECT_FALSE(OpenScreen(static_cast<GrScreenResolution>(8)));
    EXPECT_FALSE(grSstWinOpen(nullptr, GrScreenResolution::Res640x480,
                              static_cast<GrScreenRefresh>(9), GrColorFormat::Abgr,
                              GrOriginLocation::UpperLeft, 2, 1));
    EXPECT_FALSE(OpenScreen(GrScreenResolution::Res640x480, 3, 1));
    EXPECT_FALSE(OpenScreen(GrScreenResolution::Res640x480, 2, 0));
}

TEST_F(GlideBoard, DrawsNothingAndLocksNothingWithoutAScreen)
{
    grGlideInit();
    GrLfbInfo info{};
    EXPECT_FALSE(grLfbLock(GrLock::WriteOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                           GrOriginLocation::UpperLeft, false, &info));
    const std::vector<GrVertex> quad = Rectangle(0, 0, 10, 10);
    Draw(quad);
    grDrawLine(&quad[0], &quad[2]);
    grBufferClear(0, 0, 0);
    grBufferSwap(1);  // nothing to crash on
}

TEST_F(GlideBoard, TextureMemoryStartsAboveZero)
{
    grGlideInit();
    EXPECT_EQ(grTexMinAddress(GrChipId::Tmu0), 0x100u);
    EXPECT_EQ(grTexMaxAddress(GrChipId::Tmu0), 32u << 20);

    GlideOptions small;
    small.textureMemoryMin = 0x1000;
    small.textureMemoryMax = 0x3000;
    SetGlideOptions(small);
    grGlideInit();
    EXPECT_EQ(grTexMinAddress(GrChipId::Tmu0), 0x1000u);
    EXPECT_EQ(grTexMaxAddress(GrChipId::Tmu0), 0x3000u);
}

TEST_F(GlideBoard, EveryInitStartsFromZeroedTextureMemory)
{
    const uint16_t white[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    for (int round = 0; round < 2; ++round)
    {
        grGlideInit();
        ASSERT_TRUE(OpenScreen(GrScreenResolution::Res512x384));
        UseTextureTimesIterated();
        grConstantColorValue(0xFF000000u);
        const uint32_t address = grTexMinAddress(GrChipId::Tmu0) + 0x1000;
        GrTexInfo info{GrLod::Lod2, GrLod::Lod2, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565,
                       nullptr};
        // Selected before any download: what the last session left there must not show.
        grTexSource(GrChipId::Tmu0, address, GrMipMapLevelMask::Both, &info);
        grBufferClear(0xFFFFFFFFu, 0, 0);
        Draw(Rectangle(0, 0, 4, 4, 1.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
        GrLfbInfo lfb{};
        ASSERT_TRUE(grLfbLock(GrLock::ReadOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                              GrOriginLocation::UpperLeft, false, &lfb));
        EXPECT_EQ(*static_cast<const uint16_t*>(lfb.lfbPtr), 0x0000) << "round " << round;
        grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer);
        LoadTexture(address, GrLod::Lod2, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565, white);
    }
    grGlideShutdown();
    EXPECT_EQ(grTexMaxAddress(GrChipId::Tmu0), 0u) << "shutdown keeps no texture memory";
}

TEST(DrawingThreads, AreCountedFromTheProcessorsTheProcessMayUse)
{
    cpu_set_t original;
    ASSERT_EQ(sched_getaffinity(0, sizeof original, &original), 0);
    EXPECT_EQ(glide::UsableProcessors(), CPU_COUNT(&original));

    int first = 0;
    while (!CPU_ISSET(first, &original))
    {
        ++first;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const int underMask = glide::UsableProcessors();
    ASSERT_EQ(sched_setaffinity(0, sizeof original, &original), 0);
    EXPECT_EQ(underMask, 1) << "as under taskset -c N";
}

using GlideSceneDevice = GlideScene;

TEST_F(GlideSceneDevice, ClearHonoursTheMasksAndTheClipWindow)
{
    Clear(Abgr(0, 0, 255));
    grClipWindow(10, 20, 30, 25);
    grDepthMask(false);
    grBufferClear(Abgr(255, 0, 0), 0, 0);  // colour only
    grClipWindow(0, 0, kScreenWidth, kScreenHeight);

    const FrameView565 frame = BackBuffer();
    EXPECT_EQ(frame.At(10, 20), Rgb565(255, 0, 0));
    EXPECT_EQ(frame.At(29, 24), Rgb565(255, 0, 0));
    EXPECT_EQ(frame.At(30, 24), Rgb565(0, 0, 255));
    EXPECT_EQ(frame.At(9, 20), Rgb565(0, 0, 255));
    EXPECT_EQ(frame.At(10, 25), Rgb565(0, 0, 255));

    // The depth buffer kept 0xFFFF: a far rectangle still passes there.
    grDepthMask(true);
    UseConstantColour(Abgr(0, 255, 0));
    Draw(Rectangle(0, 0, 40, 40, 60000.0f));
    EXPECT_EQ(BackBuffer().At(15, 22), Rgb565(0, 255, 0));

    // A depth-only clear to 0 (nearest) keeps colours and stops everything behind it.
    grColorMask(false, false);
    grBufferClear(Abgr(255, 255, 255), 0, 0);
    grColorMask(true, false);
    EXPECT_EQ(BackBuffer().At(15, 22), Rgb565(0, 255, 0));
    UseConstantColour(Abgr(255, 255, 0));
    Draw(Rectangle(0, 0, 40, 40, 2.0f));
    EXPECT_EQ(BackBuffer().At(15, 22), Rgb565(0, 255, 0));
}

TEST_F(GlideSceneDevice, SwapPresentsTheFrameAndFlipsThePages)
{
    Clear(Abgr(255, 0, 0));
    grBufferSwap(1);
    Clear(Abgr(0, 255, 0));
    grGammaCorrectionValue(1.3f);
    grBufferSwap(1);

    ASSERT_EQ(presented_.size(), 2u);
    EXPECT_EQ(presented_[0].width, kScreenWidth);
    EXPECT_EQ(presented_[0].height, kScreenHeight);
    EXPECT_EQ(presented_[0].pitchBytes, static_cast<int>(kPaddedStrideBytes));
    EXPECT_EQ(presented_[0].pixels[0], Rgb565(255, 0, 0));
    EXPECT_EQ(presented_[0].pixels.back(), Rgb565(255, 0, 0));
    EXPECT_EQ(presented_[1].pixels[0], Rgb565(0, 255, 0));
    EXPECT_FLOAT_EQ(presented_[1].gamma, 1.3f);
    // Page flip: the back buffer now holds the frame before last.
    EXPECT_EQ(BackBuffer().At(0, 0), Rgb565(255, 0, 0));
}

TEST_F(GlideSceneDevice, DeactivatedBoardPresentsNothing)
{
    grSstControl(GrControl::Deactivate);
    grBufferSwap(1);
    EXPECT_TRUE(presented_.empty());
    grSstControl(GrControl::Activate);
    grBufferSwap(1);
    EXPECT_EQ(presented_.size(), 1u);
}

TEST_F(GlideSceneDevice, LockHandsOutEitherBufferWithItsStride)
{
    Clear(Abgr(255, 0, 0));
    grBufferSwap(1);
    Clear(Abgr(0, 0, 255));
    GrLfbInfo back{}, front{};
    ASSERT_TRUE(grLfbLock(GrLock::ReadOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                          GrOriginLocation::UpperLeft, false, &back));
    ASSERT_TRUE(grLfbLock(GrLock::ReadOnly, GrBuffer::FrontBuffer, GrLfbWriteMode::Rgb565,
                          GrOriginLocation::UpperLeft, false, &front));
    EXPECT_EQ(back.strideInBytes, kPaddedStrideBytes);
    EXPECT_EQ(*static_cast<uint16_t*>(back.lfbPtr), Rgb565(0, 0, 255));
    EXPECT_EQ(*static_cast<uint16_t*>(front.lfbPtr), Rgb565(255, 0, 0));
    EXPECT_TRUE(grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer));
    EXPECT_FALSE(grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer)) << "nothing left to unlock";
    EXPECT_FALSE(grLfbLock(GrLock::WriteOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                           GrOriginLocation::UpperLeft, true, &back))
        << "writes through the pixel pipeline are not offered";
}

TEST_F(GlideSceneDevice, DownloadsOutsideTextureMemoryAreIgnored)
{
    Clear(Abgr(0, 0, 0));
    const uint16_t white[4] = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    const uint32_t max = grTexMaxAddress(GrChipId::Tmu0);
    UseTextureTimesIterated();
    grConstantColorValue(0xFF000000u);

    // Fits exactly at the end: drawn white.
    LoadTexture(max - 8, GrLod::Lod2, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565, white);
    Draw(Rectangle(0, 0, 4, 4, 1.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
    EXPECT_EQ(BackBuffer().At(1, 1), 0xFFFF);

    // One byte further it would run past the end: neither stored nor selected, so the rectangle
    // reads transparent black and leaves the black background.
    LoadTexture(max - 7, GrLod::Lod2, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565, white);
    Draw(Rectangle(8, 0, 12, 4, 1.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
    EXPECT_EQ(BackBuffer().At(9, 1), 0x0000);

    // Below the minimum likewise.
    LoadTexture(grTexMinAddress(GrChipId::Tmu0) - 2, GrLod::Lod2, GrAspectRatio::Aspect1x1,
                GrTextureFormat::Rgb565, white);
    Draw(Rectangle(16, 0, 20, 4, 1.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
    EXPECT_EQ(BackBuffer().At(17, 1), 0x0000);
}

TEST_F(GlideSceneDevice, TexelsAreReadFromTextureMemoryNotFromTheCallersCopy)
{
    Clear(Abgr(0, 0, 0));
    uint16_t texels[4] = {0xF800, 0xF800, 0xF800, 0xF800};
    LoadTexture(0x100, GrLod::Lod2, GrAspectRatio::Aspect1x1, GrTextureFormat::Rgb565, texels);
    texels[0] = texels[1] = texels[2] = texels[3] = 0x001F;  // the caller reuses its memory
    Draw(Rectangle(0, 0, 4, 4, 1.0f, Abgr(255, 255, 255), 0, 0, 256, 256));
    EXPECT_EQ(BackBuffer().At(0, 0), 0xF800);
}

}  // namespace
