#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "glide/GlideOptions.h"
#include "kit/picture/BmpWriter.h"
#include "tests/render/RenderTestSupport.h"

namespace
{
constexpr uint32_t kRedAbgr = 0xFF0000FF;
constexpr uint32_t kBlueAbgr = 0xFFFF0000;
constexpr uint16_t kRed565 = 0xF800;
constexpr uint16_t kBlue565 = 0x001F;

class ScreenTest : public RenderTest
{
protected:
    // The colours of the last presented frame, and how many frames there were.
    bool LastFrameIsAll(uint16_t pixel) const
    {
        const std::vector<CapturedFrame>& frames = platform_.Frames();
        if (frames.empty())
        {
            return false;
        }
        for (const uint16_t value : frames.back().pixels)
        {
            if (value != pixel)
            {
                return false;
            }
        }
        return true;
    }
};

TEST_F(ScreenTest, HardwareIsDescribedWithEveryModeAndRate)
{
    AdapterInfo* info = reinterpret_cast<AdapterInfo*>(1);
    EXPECT_EQ(rdll_GetAdapterInfos(&info), 0);
    EXPECT_EQ(info, nullptr);
    ASSERT_EQ(rdll_InitHardware(), 1);
    ASSERT_EQ(rdll_GetAdapterInfos(&info), 1);
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->name, "Voodoo");
    ASSERT_EQ(info->modeCount, 8u);
    const uint32_t sizes[8][2] = {{512, 384}, {640, 480},  {800, 600},   {960, 720},
                                  {856, 480}, {1024, 768}, {1280, 1024}, {1600, 1200}};
    for (uint32_t mode = 0; mode < 8; ++mode)
    {
        EXPECT_EQ(info->modes[mode].width, sizes[mode][0]);
        EXPECT_EQ(info->modes[mode].height, sizes[mode][1]);
        EXPECT_EQ(info->modes[mode].bitsPerPixel, 16u);
        ASSERT_EQ(info->modes[mode].refreshRateCount, 9);
        EXPECT_EQ(info->modes[mode].refreshRatesHz[0], 60u);
        EXPECT_EQ(info->modes[mode].refreshRatesHz[8], 120u);
    }
    rdll_ShotDown();
    EXPECT_EQ(rdll_GetAdapterInfos(&info), 0);
}

TEST_F(ScreenTest, MissingBoardIsReported)
{
    GlideOptions options;
    options.boardCount = 0;
    SetGlideOptions(options);
    EXPECT_EQ(rdll_InitHardware(), 0);
    options.queryFails = true;
    SetGlideOptions(options);
    EXPECT_EQ(rdll_InitHardware(), 0);
    EXPECT_EQ(platform_.MessageBoxes(),
              (std::vector<std::string>{"No 3DFX Card present!", "Could not initialize Glide!",
                                        "Could not initialize Glide!"}));
    const ScreenMode mode{640, 480, 16, 60, 0};
    EXPECT_EQ(rdll_InitScreen(&window_, 0, "", &mode), 0);
    EXPECT_EQ(platform_.MessageBoxes().back(), "grSstQueryHardware failed");
}

TEST_F(ScreenTest, LibraryNamesItself)
{
    char info[16];
    std::memset(info, 'x', sizeof info);
    EXPECT_EQ(rdll_GetDllInfo(info), 13);
    EXPECT_EQ(std::string(info, 13), std::string("3DFX - Glide\0", 13));
    EXPECT_EQ(info[13], 'x');
}

TEST_F(ScreenTest, OpensInTheChosenModeAndFlipsToThePresentCallback)
{
    ASSERT_TRUE(OpenScreen(800, 600, 65));  // a rate the board lacks falls back to its first
    EXPECT_EQ(rdll_IsGlideActive(), 1);
    rdll_ClearBuffer(3, kRedAbgr);
    rdll_Flip();
    ASSERT_EQ(platform_.Frames().size(), 1u);
    EXPECT_EQ(platform_.Frames()[0].width, 800);
    EXPECT_EQ(platform_.Frames()[0].height, 600);
    EXPECT_TRUE(LastFrameIsAll(kRed565));
}

TEST_F(ScreenTest, UnknownModesAreRefused)
{
    EXPECT_FALSE(OpenScreen(700, 500));
    EXPECT_EQ(rdll_IsGlideActive(), 0);
    EXPECT_EQ(rdll_InitScreen(&window_, 0, "", nullptr), 0);
}

TEST_F(ScreenTest, ClearingOneBufferLeavesTheOther)
{
    ASSERT_TRUE(OpenScreen());
    rdll_ClearBuffer(3, kRedAbgr);
    rdll_ClearBuffer(2, kBlueAbgr);  // depth only
    rdll_Flip();
    EXPECT_TRUE(LastFrameIsAll(kRed565));
    rdll_ClearBuffer(1, kBlueAbgr);
    rdll_ClearBuffer(9, kRedAbgr);  // no such buffer
    rdll_Flip();
    EXPECT_TRUE(LastFrameIsAll(kBlue565));
}

TEST_F(ScreenTest, SwitchingModeReopensTheScreenInTheNewSize)
{
    ASSERT_TRUE(OpenScreen());
    const ScreenMode same{640, 480, 16, 75, 0};
    const ScreenMode unknown{700, 500, 16, 60, 0};
    const ScreenMode larger{1024, 768, 16, 60, 0};
    rdll_SwitchScreenMode(&same);
    rdll_SwitchScreenMode(&unknown);
    rdll_SwitchScreenMode(nullptr);
    rdll_Flip();
    rdll_SwitchScreenMode(&larger);
    EXPECT_EQ(rdll_IsGlideActive(), 1);
    rdll_Flip();
    ASSERT_EQ(platform_.Frames().size(), 2u);
    EXPECT_EQ(platform_.Frames()[0].width, 640);
    EXPECT_EQ(platform_.Frames()[1].width, 1024);
    EXPECT_EQ(platform_.Frames()[1].height, 768);
}

TEST_F(ScreenTest, FrameBufferWritesUseTheLockedStride)
{
    GlideOptions options;
    options.colourStrideBytes = 2048;
    SetGlideOptions(options);
    ASSERT_TRUE(OpenScreen());
    rdll_ClearBuffer(3, 0);
    LfbInfo lfb;
    ASSERT_EQ(rdll_LockLFB(&lfb), 1);
    EXPECT_EQ(lfb.stride, 2048);
    LfbInfo again;
    ASSERT_EQ(rdll_LockLFB(&again), 1);
    EXPECT_EQ(again.address, lfb.address);
    auto* bytes = static_cast<uint8_t*>(lfb.address);
    const uint16_t marker = 0x1234;
    std::memcpy(bytes + 100 * lfb.stride + 2 * 300, &marker, 2);
    rdll_UnlockLFB(&lfb);
    rdll_Flip();
    ASSERT_EQ(platform_.Frames().size(), 1u);
    const CapturedFrame& frame = platform_.Frames()[0];
    EXPECT_EQ(frame.pixels[100 * 640 + 300], marker);
    EXPECT_EQ(frame.pixels[100 * 640 + 301], 0);
    EXPECT_EQ(frame.pixels[101 * 640 + 300], 0);
}

TEST_F(ScreenTest, LockIsHeldUntilTheNextBoardWork)
{
    ASSERT_TRUE(OpenScreen());
    LfbInfo lfb;
    rdll_Begin3D();  // no lock held: nothing to do
    ASSERT_EQ(rdll_LockLFB(&lfb), 1);
    rdll_Finish3D();
    ASSERT_EQ(rdll_LockLFB(&lfb), 1);
    rdll_GrabScreen();
    ASSERT_EQ(rdll_LockLFB(&lfb), 1);
    rdll_ClearBuffer(3, kRedAbgr);  // the board refuses to draw while a lock is held
    rdll_Flip();
    EXPECT_TRUE(LastFrameIsAll(kRed565));
    EXPECT_EQ(rdll_LockLFB(nullptr), 0);
}

TEST_F(ScreenTest, DrawBracketOpensOnceWhileTheScreenIsHeld)
{
    EXPECT_EQ(rdll_BeginDraw(), 0);  // no screen yet
    ASSERT_TRUE(OpenScreen());
    EXPECT_EQ(rdll_BeginDraw(), 1);
    EXPECT_EQ(rdll_BeginDraw(), 0);
    rdll_EndDraw();
    EXPECT_EQ(rdll_BeginDraw(), 1);
    rdll_EndDraw();
}

TEST_F(ScreenTest, ScreenIsGivenUpWithTheFocusAndTakenBackWithIt)
{
    ASSERT_TRUE(OpenScreen());
    focused_ = false;
    EXPECT_EQ(rdll_IsGlideActive(), 0);
    LfbInfo lfb;
    EXPECT_EQ(rdll_LockLFB(&lfb), 0);
    EXPECT_EQ(rdll_BeginDraw(), 0);
    rdll_ClearBuffer(3, kRedAbgr);
    rdll_Flip();
    EXPECT_TRUE(platform_.Frames().empty());
    focused_ = true;
    EXPECT_EQ(rdll_IsGlideActive(), 1);
    rdll_ClearBuffer(3, kBlueAbgr);
    rdll_Flip();
    EXPECT_TRUE(LastFrameIsAll(kBlue565));

    rdll_LooseFocus();
    rdll_Flip();
    EXPECT_EQ(platform_.Frames().size(), 1u);
    rdll_GetFocus();
    rdll_Flip();
    EXPECT_EQ(platform_.Frames().size(), 2u);
}

TEST_F(ScreenTest, FreedAndShutDownLibrariesHoldNoScreen)
{
    ASSERT_TRUE(OpenScreen());
    rdll_Free();
    EXPECT_EQ(rdll_IsGlideActive(), 0);
    ASSERT_TRUE(OpenScreen());
    rdll_ShotDown();
    EXPECT_EQ(rdll_IsGlideActive(), 0);
    rdll_Flip();
    EXPECT_TRUE(platform_.Frames().empty());
}

TEST_F(ScreenTest, MessagesGoThroughTheWindowOnceThereIsOne)
{
    std::vector<std::string> shown;
    window_.user = &shown;
    window_.present = nullptr;
    window_.hasFocus = nullptr;
    window_.showMessage = [](const char* text, void* user)
    { static_cast<std::vector<std::string>*>(user)->push_back(text); };
    ASSERT_TRUE(OpenScreen());
    EXPECT_EQ(rdll_LoadTexture("missing.tga", 1, 0, 0), nullptr);
    EXPECT_EQ(shown, std::vector<std::string>{"Unable to load missing.tga."});
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

class RenderStateTest : public RenderTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenScreen());
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        {
            WriteFile(name, kit::WriteBmp24(TestPicture(16, 16)));
        }
    }
};

TEST_F(RenderStateTest, SavedTexturesComeBackDownloadedWhereTheyWere)
{
    Texture* a = rdll_LoadTexture("a.bmp", 1, 0, 0);
    Texture* b = rdll_LoadTexture("b.bmp", 2, 0, 0);
    ASSERT_TRUE(a && b);
    const uint32_t saved = rdll_SaveRenderState();
    EXPECT_NE(saved, 0u);
    EXPECT_EQ(rdll_GetTexture(1), nullptr);
    EXPECT_EQ(rdll_GetTexture(2), nullptr);

    Texture* c = rdll_LoadTexture("c.bmp", 3, 0, 0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->textureAddress, a->textureAddress);  // the saved ones are not drawn meanwhile

    rdll_ResetRenderState(saved);
    EXPECT_EQ(rdll_GetTexture(1), a);
    EXPECT_EQ(rdll_GetTexture(2), b);
    EXPECT_EQ(rdll_GetTexture(3), nullptr);
    EXPECT_EQ(a->downloaded, 1u);
    Texture* next = rdll_LoadTexture("c.bmp", 4, 0, 0);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->textureAddress, b->textureAddress + 512);

    rdll_ResetRenderState(saved);  // taken once
    rdll_ResetRenderState(12345);
    EXPECT_EQ(rdll_GetTexture(1), a);
    EXPECT_EQ(rdll_GetTexture(4), next);
}

TEST_F(RenderStateTest, CleanUpEmptiesTheTable)
{
    ASSERT_NE(rdll_LoadTexture("a.bmp", 1, 0, 0), nullptr);
    rdll_CleanUp();
    EXPECT_EQ(rdll_GetTexture(1), nullptr);
    EXPECT_NE(rdll_LoadTexture("a.bmp", 1, 0, 0), nullptr);
}

}  // namespace
