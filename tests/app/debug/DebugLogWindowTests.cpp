#include "app/debug/DebugLogWindow.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestDirectory.h"

namespace
{

constexpr int kTallWindow = 100000;

void AddNumberedLines(DebugLogWindow& window, int first, int count)
{
    for (int i = first; i < first + count; ++i)
    {
        window.AddLine(("line " + std::to_string(i)).c_str());
    }
}

TEST(DebugLogWindowTest, WithoutASystemWindowLinesGoNowhere)
{
    const TestDirectory directory;
    {
        DebugLogWindow window;
        ASSERT_TRUE(window.OpenLogFile("window.log"));
        EXPECT_FALSE(window.HasSystemWindow());

        window.AddLine("lost");
        AddDebugLine("lost too");

        EXPECT_EQ(window.WriteIndex(), 0u);
        EXPECT_EQ(window.Line(0), "");
    }
    EXPECT_EQ(directory.ReadFile("window.log"), "");
}

TEST(DebugLogWindowTest, RingKeepsTheNewest256Lines)
{
    DebugLogWindow window;
    window.Show(kTallWindow);
    AddNumberedLines(window, 0, 300);

    EXPECT_EQ(window.WriteIndex(), 300u % DebugLogWindow::kLineCount);
    EXPECT_EQ(window.Line(0), "line 256");
    EXPECT_EQ(window.Line(43), "line 299");
    EXPECT_EQ(window.Line(44), "line 44");
    EXPECT_EQ(window.Line(255), "line 255");
}

TEST(DebugLogWindowTest, ScrollsOneLinePerPaintWhenTheLinesOverflow)
{
    DebugLogWindow window;
    window.Show(96);  // room for exactly six 16-pixel lines
    AddNumberedLines(window, 0, 6);
    EXPECT_EQ(window.FirstVisibleIndex(), 0u);

    AddNumberedLines(window, 6, 4);
    EXPECT_EQ(window.FirstVisibleIndex(), 4u);

    window.Paint(96);
    EXPECT_EQ(window.FirstVisibleIndex(), 4u);
    window.Paint(40);
    EXPECT_EQ(window.FirstVisibleIndex(), 5u);
    window.Paint(40);
    EXPECT_EQ(window.FirstVisibleIndex(), 6u);
}

TEST(DebugLogWindowTest, FirstVisibleIndexWrapsWithTheRing)
{
    DebugLogWindow window;
    window.Show(16);
    AddNumberedLines(window, 0, 258);
    EXPECT_EQ(window.WriteIndex(), 2u);
    EXPECT_EQ(window.FirstVisibleIndex(), 1u);
}

TEST(DebugLogWindowTest, MirrorsLinesToTheLogFile)
{
    const TestDirectory directory;
    {
        DebugLogWindow window;
        EXPECT_FALSE(window.WriteToFile("no file"));
        ASSERT_TRUE(window.OpenLogFile("window.log"));
        window.Show(kTallWindow);
        window.AddLine("Start");
        window.AddLine(nullptr);
        AddDebugLine("Ende");
        EXPECT_TRUE(window.WriteToFile("direkt"));
        EXPECT_EQ(window.Line(1), "");
    }
    EXPECT_EQ(directory.ReadFile("window.log"), "Start\n\r\n\rEnde\n\rdirekt\n\r");
}

TEST(DebugLogWindowTest, AddDebugLineGoesToTheNewestLiveWindow)
{
    AddDebugLine("no window: nothing happens");
    DebugLogWindow outer;
    outer.Show(kTallWindow);
    {
        DebugLogWindow inner;
        inner.Show(kTallWindow);
        EXPECT_EQ(g_debugLogWindow, &inner);
        AddDebugLine("inner");
        EXPECT_EQ(inner.Line(0), "inner");
    }
    EXPECT_EQ(g_debugLogWindow, nullptr);
    AddDebugLine("after the inner window is gone");
    EXPECT_EQ(outer.WriteIndex(), 0u);
}

}  // namespace
