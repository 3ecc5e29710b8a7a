// The start page's cartoon against render entries of the test's own: five frames a second, the
// last frame held until 13 s have passed, then the next of the three animations.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device/DirtyRectList.h"
#include "app/device/RenderBindings.h"
#include "frontend/mainmenu/MenuAnimation.h"
#include "render/RenderApi.h"

namespace
{
std::vector<std::string> g_calls;
Texture g_picture;
int32_t g_frameCount = 20;

int32_t Open(const char* name, Texture** picture, int32_t* frameCount)
{
    g_calls.push_back(std::string("open ") + name);
    *picture = g_frameCount > 0 ? &g_picture : nullptr;
    *frameCount = g_frameCount;
    return g_frameCount > 0 ? 1 : 0;
}

void Copy(int32_t frame)
{
    g_calls.push_back("frame " + std::to_string(frame));
}

void Close()
{
    g_calls.push_back("close");
}

class MenuAnimationTest : public testing::Test
{
protected:
    MenuAnimationTest()
    {
        g_calls.clear();
        g_frameCount = 20;
        g_picture.width = 180;
        g_picture.height = 120;
        g_renderSlots.rdll_OpenAnimation = Open;
        g_renderSlots.rdll_CopyAniFrame = Copy;
        g_renderSlots.rdll_CloseAnimation = Close;
    }
    ~MenuAnimationTest() override { ClearRenderDll(); }

    DirtyRectList first_;
    DirtyRectList second_;
};
}  // namespace

TEST_F(MenuAnimationTest, HoldsTheLastFrameUntil13SecondsThenTurnsToTheNext)
{
    MenuAnimation animation;
    animation.Open();
    animation.Step(200, first_, second_);
    EXPECT_EQ(animation.Frame(), 1);
    // The whole window is repainted, from its top at y 125.
    ScreenRect window;
    int32_t index = 0;
    ASSERT_TRUE(first_.GetNext(&window, &index));
    EXPECT_EQ(window, (ScreenRect{232, 125, 412, 245}));
    EXPECT_EQ(second_.Count(), 1);

    for (int step = 0; step < 63; ++step)  // to 12.8 s
    {
        animation.Step(200, first_, second_);
    }
    EXPECT_EQ(animation.Frame(), 19);
    EXPECT_EQ(animation.Number(), 0);
    animation.Step(200, first_, second_);  // 13 s
    EXPECT_EQ(animation.Number(), 1);
    EXPECT_EQ(animation.Frame(), 0);
    const std::vector<std::string> tail(g_calls.end() - 4, g_calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"frame 19", "close", "open mainmenu/test4.ani",
                                              "frame 0"}));
}

TEST_F(MenuAnimationTest, TheThirdTurnsBackToTheFirst)
{
    MenuAnimation animation;
    animation.Open();
    for (int turn = 0; turn < 3; ++turn)
    {
        for (int step = 0; step < 65; ++step)
        {
            animation.Step(200, first_, second_);
        }
    }
    EXPECT_EQ(animation.Number(), 0);
}

TEST_F(MenuAnimationTest, AnAnimationThatCannotBeOpenedIsNotStepped)
{
    g_frameCount = 0;
    MenuAnimation animation;
    animation.Open();
    for (int step = 0; step < 100; ++step)
    {
        animation.Step(200, first_, second_);
    }
    EXPECT_FALSE(animation.IsOpen());
    EXPECT_EQ(g_calls, (std::vector<std::string>{"open mainmenu/test3.ani"}));
    EXPECT_EQ(first_.Count(), 0);
}
