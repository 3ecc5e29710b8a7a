// What the library-wide state goes through with the screen: clean-up, saved render states,
// reopening the screen, and the mouse reported through the window.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "render/draw/DrawState.h"
#include "tests/render/RenderTestSupport.h"

namespace
{
constexpr uint16_t kRed565 = 0xF800;
constexpr uint32_t kRedBgr = 0x000000FF;

class LibraryStateTest : public RenderTest
{
protected:
    LibraryStateTest() { window_.cursor = ReportCursor; }

    ~LibraryStateTest() override { rdll_FreeGameFont(font_); }

    static WindowCursor ReportCursor(void* user)
    {
        return static_cast<LibraryStateTest*>(user)->cursor_;
    }

    // A fixed font over a table picture, set as the font that texts are drawn in.
    void UseFont()
    {
        Texture* picture = rdll_CreateTexture(16, 16, 1, kTextureFormatRgb565);
        ASSERT_NE(picture, nullptr);
        font_ = rdll_CreateFixed("A", picture, 16, 16, 8);
        ASSERT_NE(font_, nullptr);
        rdll_SetDrawTextVars(nullptr, font_);
        ASSERT_GT(rdll_StrLen("A"), 0);
    }

    static size_t FogTableCount() { return render::TheDrawState().fogTables.Count(); }

    // Fills as much of the screen as the clip lets through and shows it.
    bool FillReachesTheWholeScreen()
    {
        rdll_ClearBuffer(3, 0);
        rdll_FillSolidRect(0, 0, 4096, 4096, kRedBgr);
        rdll_Flip();
        const std::vector<CapturedFrame>& frames = platform_.Frames();
        return !frames.empty() && std::ranges::all_of(frames.back().pixels, [](uint16_t pixel)
                                                      { return pixel == kRed565; });
    }

    std::array<int32_t, 3> CursorData()
    {
        std::array<int32_t, 3> out{-1, -1, -1};
        rdll_GetCursorData(out.data());
        return out;
    }

    GameFont* font_ = nullptr;
    WindowCursor cursor_;
};

TEST_F(LibraryStateTest, CleanUpFreesFogTablesAndForgetsTheFont)
{
    ASSERT_TRUE(OpenScreen());
    UseFont();
    rdll_FogGenerateLinear(1.0f, 100.0f);
    rdll_FogGenerateLinear(2.0f, 200.0f);

    rdll_CleanUp();
    EXPECT_EQ(FogTableCount(), 0u);
    EXPECT_EQ(rdll_StrLen("A"), 0) << "no font is set any more";
}

TEST_F(LibraryStateTest, SavedRenderStateKeepsItsFogTables)
{
    ASSERT_TRUE(OpenScreen());
    uint8_t* kept = rdll_FogGenerateLinear(1.0f, 65000.0f);
    const uint8_t lastEntry = kept[63];

    const uint32_t saved = rdll_SaveRenderState();
    EXPECT_EQ(FogTableCount(), 0u);
    rdll_FogGenerateLinear(5.0f, 50.0f);
    rdll_FogGenerateLinear(6.0f, 60.0f);

    rdll_ResetRenderState(saved);
    EXPECT_EQ(FogTableCount(), 1u) << "the tables made since are freed, the saved one is back";
    EXPECT_EQ(kept[63], lastEntry) << "the saved table keeps its place and contents";
}

TEST_F(LibraryStateTest, OpeningTheScreenClipsTwoDimensionalDrawingToAllOfIt)
{
    rdll_SetClipRect(10, 10, 20, 20);
    ASSERT_TRUE(OpenScreen(800, 600));
    EXPECT_TRUE(FillReachesTheWholeScreen()) << "opened";

    rdll_SetClipRect(10, 10, 20, 20);
    rdll_LooseFocus();
    rdll_GetFocus();
    EXPECT_TRUE(FillReachesTheWholeScreen()) << "taken back";
}

TEST_F(LibraryStateTest, CursorIsScaledFromThePictureToTheGameSize)
{
    ASSERT_TRUE(OpenScreen());
    struct Case
    {
        WindowCursor cursor;
        std::array<int32_t, 3> expected;
    };
    const Case cases[] = {
        {{100, 50, 640, 480}, {100, 50, 0}},   {{640, 480, 1280, 960}, {320, 240, 0}},
        {{799, 599, 800, 600}, {639, 479, 0}}, {{-8, 700, 640, 480}, {-8, 700, 0}},
        {{100, 50, 0, 480}, {-1, -1, -1}},  // minimised: nothing to measure against
        {{100, 50, 640, 0}, {-1, -1, -1}},
    };
    for (const Case& test : cases)
    {
        cursor_ = test.cursor;
        EXPECT_EQ(CursorData(), test.expected)
            << test.cursor.x << "," << test.cursor.y << " over " << test.cursor.pictureWidth << "x"
            << test.cursor.pictureHeight;
    }
    rdll_GetCursorData(nullptr);  // nowhere to write: nothing happens
}

TEST_F(LibraryStateTest, CursorIsLeftAloneWithoutAWindowThatReportsIt)
{
    cursor_ = {100, 50, 640, 480};
    const std::array<int32_t, 3> untouched{-1, -1, -1};
    EXPECT_EQ(CursorData(), untouched) << "before the screen opened";

    window_.cursor = nullptr;
    ASSERT_TRUE(OpenScreen());
    EXPECT_EQ(CursorData(), untouched) << "a window without a mouse";

    window_.cursor = ReportCursor;
    ASSERT_TRUE(OpenScreen());
    rdll_Free();
    EXPECT_EQ(CursorData(), untouched) << "after the window was given up";
}
}  // namespace
