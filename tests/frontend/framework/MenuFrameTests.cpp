// Menu frames opening and closing over their linked frames, the areas their animation marks
// for repainting, and the tiles a frame is built from.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "frontend/framework/FrameKit.h"
#include "frontend/framework/MenuFrame.h"
#include "frontend/toolkit/MenuClip.h"
#include "tests/frontend/framework/RecordingRenderer.h"

namespace
{
std::vector<ScreenRect> Rects(const DirtyRectList& list)
{
    std::vector<ScreenRect> rects;
    ScreenRect rect;
    int32_t index = 0;
    while (list.GetNext(&rect, &index))
    {
        rects.push_back(rect);
    }
    return rects;
}

MenuFrame Frame(int32_t width, int32_t height)
{
    MenuFrame frame;
    frame.centreX = 320;
    frame.centreY = 240;
    frame.width = width;
    frame.height = height;
    return frame;
}
}  // namespace

TEST(MenuFrame, OpeningOverALinkedFrameHidesItUntilClosed)
{
    MenuFrame realism = Frame(10, 8);
    MenuFrame rideAids = Frame(8, 6);
    const int32_t before = MenuFrame::VisibleCount();
    MenuFrame::Open(realism, nullptr);
    MenuFrame::Open(rideAids, &realism);
    EXPECT_FALSE(realism.open);
    EXPECT_TRUE(realism.visible);
    EXPECT_TRUE(rideAids.open && rideAids.visible);
    EXPECT_EQ(MenuFrame::VisibleCount(), before + 2);

    MenuFrame::Close(rideAids);
    EXPECT_TRUE(realism.open);
    EXPECT_FALSE(rideAids.open);
    EXPECT_TRUE(rideAids.visible);  // until it has shrunk away

    // Opened again while still shown, a frame is counted once.
    MenuFrame::Open(rideAids, &realism);
    EXPECT_EQ(MenuFrame::VisibleCount(), before + 2);
    MenuFrame::Reset(rideAids);
    MenuFrame::Reset(realism);
    EXPECT_EQ(MenuFrame::VisibleCount(), before);
}

TEST(MenuFrame, OpensInATwelfthOfASecondAndShrinksAwayRepaintingWhereItWas)
{
    MenuFrame frame = Frame(10, 6);
    MenuFrame other = Frame(4, 4);  // closed: not animated, nothing marked
    frame.next = &other;
    const int32_t before = MenuFrame::VisibleCount();
    MenuFrame::Open(frame, nullptr);
    DirtyRectList first;
    DirtyRectList second;

    AnimateMenuFrames(first, second, &frame, 1.0f / 24.0f);
    EXPECT_FLOAT_EQ(frame.scale, 0.5f);
    EXPECT_EQ(frame.currentWidth, 5);
    EXPECT_EQ(frame.currentHeight, 3);
    EXPECT_FALSE(frame.fullyOpen);
    const std::vector<ScreenRect> half = {{320 - 88, 240 - 24 - 48, 320 + 88, 240 + 24 + 32}};
    EXPECT_EQ(Rects(first), half);
    EXPECT_EQ(Rects(second), half);

    first.Clear();
    second.Clear();
    AnimateMenuFrames(first, second, &frame, 1.0f / 24.0f);
    EXPECT_TRUE(frame.fullyOpen);
    EXPECT_EQ(frame.currentWidth, 10);
    const std::vector<ScreenRect> full = {{320 - 128, 240 - 48 - 48, 320 + 128, 240 + 48 + 32}};
    EXPECT_EQ(Rects(first), full);

    // Fully open and still: nothing to repaint.
    first.Clear();
    AnimateMenuFrames(first, second, &frame, 0.02f);
    EXPECT_EQ(first.Count(), 0);

    MenuFrame::Close(frame);
    first.Clear();
    AnimateMenuFrames(first, second, &frame, 1.0f / 24.0f);
    EXPECT_EQ(frame.currentWidth, 5);
    EXPECT_EQ(Rects(first), full);  // the larger, old area
    first.Clear();
    AnimateMenuFrames(first, second, &frame, 1.0f / 24.0f);
    AnimateMenuFrames(first, second, &frame, 1.0f / 24.0f);
    EXPECT_FALSE(frame.visible);
    EXPECT_EQ(frame.currentWidth, 0);
    EXPECT_EQ(MenuFrame::VisibleCount(), before);
    EXPECT_EQ(Rects(first), half);
}

TEST(MenuFrame, IsBuiltFromTheKitsTilesAroundATranslucentFill)
{
    const RecordingRenderer renderer;
    g_frameKit.Select(0);
    DirtyRectList list;
    list.Add(0, 0, 640, 480);
    SetActiveRectList(&list);
    MenuFrame frame;
    frame.centreX = 100;
    frame.centreY = 100;
    frame.width = frame.currentWidth = 2;
    frame.height = frame.currentHeight = 1;
    frame.titleLength = 1;
    RecordingRenderer::Calls().clear();
    MenuFrame::Draw(frame);
    SetActiveRectList(nullptr);
    std::vector<std::string> drawn = RecordingRenderer::Calls();
    g_frameKit.Free();

    std::erase_if(drawn, [](const std::string& call) { return call.starts_with("clip"); });
    const std::vector<std::string> expected = {
        "rect 44 52 112 80 170",
        "blit 0 0 36 44 32 16",      // top-left corner
        "blit 128 0 36 60 32 16",    // left, second row
        "blit 32 0 68 44 16 16",     // title bar
        "blit 160 0 68 60 16 16",    //
        "blit 48 0 84 44 32 16",     // title bar end
        "blit 176 0 84 60 32 16",    //
        "blit 240 0 36 76 32 16",    // left, third row
        "blit 96 0 132 44 32 16",    // top-right corner
        "blit 208 0 132 60 32 16",   //
        "blit 272 0 148 76 16 16",   //
        "blit 336 0 36 108 32 16",   // bottom-left
        "blit 400 0 36 124 32 16",   //
        "blit 368 0 132 108 32 16",  // bottom-right
        "blit 480 0 132 124 32 16",  //
        "blit 80 0 116 44 16 16",    // top edge after the title
        "blit 432 0 68 124 16 16",   // bottom edge
        "blit 432 0 84 124 16 16",   //
        "blit 448 0 100 124 32 16",  // bottom edge end
        "blit 288 0 36 92 16 16",    // left side
        "blit 272 0 148 92 16 16",   // right side
    };
    EXPECT_EQ(drawn, expected);
}
