#include "app/debug/DebugLogWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>

#include "app/debug/EmptyVirtualObject.h"
#include "tests/support/TestDirectory.h"

namespace
{

constexpr int kWidth = 64;
constexpr int kTallWindow = DebugLogWindow::kLineCount * DebugLogWindow::kLineHeight;

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
    window.Show(kWidth, kTallWindow);
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
    window.Show(kWidth, 96);  // room for exactly six 16-pixel lines
    AddNumberedLines(window, 0, 6);
    EXPECT_EQ(window.FirstVisibleIndex(), 0u);

    AddNumberedLines(window, 6, 4);
    EXPECT_EQ(window.FirstVisibleIndex(), 4u);

    window.OnPaint();
    EXPECT_EQ(window.FirstVisibleIndex(), 4u);
    window.Show(kWidth, 40);
    window.OnPaint();
    EXPECT_EQ(window.FirstVisibleIndex(), 5u);
    window.OnPaint();
    EXPECT_EQ(window.FirstVisibleIndex(), 6u);
}

TEST(DebugLogWindowTest, FirstVisibleIndexWrapsWithTheRing)
{
    DebugLogWindow window;
    window.Show(kWidth, 16);
    AddNumberedLines(window, 0, 258);
    EXPECT_EQ(window.WriteIndex(), 2u);
    EXPECT_EQ(window.FirstVisibleIndex(), 1u);
}

// The lines on show are drawn from the top, 16 pixels apart, in the glyphs of our own; what
// has scrolled away or lies past the client area is not drawn.
TEST(DebugLogWindowTest, DrawsTheLinesOnShowIntoItsPicture)
{
    DebugLogWindow window;
    constexpr int kWide = 20;  // three characters and a part of a fourth
    window.Show(kWide, 40);
    const auto pixel = [&window](int x, int y)
    { return window.Picture()[static_cast<size_t>(y) * kWide + x]; };
    EXPECT_EQ(window.Picture().size(), size_t{kWide} * 40);
    EXPECT_TRUE(std::ranges::all_of(
        window.Picture(), [](uint16_t p) { return p == DebugLogWindow::kBackgroundColour; }));

    window.AddLine("IIII");  // I: ".###." from row 1
    window.AddLine("-");
    EXPECT_EQ(pixel(0, 1), DebugLogWindow::kBackgroundColour);
    EXPECT_EQ(pixel(1, 1), DebugLogWindow::kTextColour);
    EXPECT_EQ(pixel(3, 1), DebugLogWindow::kTextColour);
    EXPECT_EQ(pixel(7, 1), DebugLogWindow::kTextColour);   // the second I
    EXPECT_EQ(pixel(19, 1), DebugLogWindow::kTextColour);  // the fourth, cut at the edge
    EXPECT_EQ(pixel(1, 16 + 1), DebugLogWindow::kBackgroundColour);

    window.AddLine("I");  // three lines overflow 40 pixels: the first scrolls away
    EXPECT_EQ(window.FirstVisibleIndex(), 1u);
    EXPECT_EQ(pixel(7, 1), DebugLogWindow::kBackgroundColour);
    EXPECT_EQ(pixel(1, 16 + 1), DebugLogWindow::kTextColour);
    EXPECT_EQ(pixel(1, 4), DebugLogWindow::kTextColour);  // the dash moved up
    EXPECT_TRUE(window.OnEraseBkgnd());
    EXPECT_EQ(pixel(1, 16 + 1), DebugLogWindow::kBackgroundColour);
}

TEST(DebugLogWindowTest, MirrorsLinesToTheLogFile)
{
    const TestDirectory directory;
    {
        DebugLogWindow window;
        EXPECT_FALSE(window.WriteToFile("no file"));
        ASSERT_TRUE(window.OpenLogFile("window.log"));
        window.Show(kWidth, kTallWindow);
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
    outer.Show(kWidth, kTallWindow);
    {
        DebugLogWindow inner;
        inner.Show(kWidth, kTallWindow);
        EXPECT_EQ(g_debugLogWindow, &inner);
        AddDebugLine("inner");
        EXPECT_EQ(inner.Line(0), "inner");
    }
    EXPECT_EQ(g_debugLogWindow, nullptr);
    AddDebugLine("after the inner window is gone");
    EXPECT_EQ(outer.WriteIndex(), 0u);
}

// Nothing but its table of virtual operations.
TEST(EmptyVirtualObjectTest, HoldsNoFields)
{
    static_assert(std::is_polymorphic_v<EmptyVirtualObject>);
    static_assert(sizeof(EmptyVirtualObject) == sizeof(void*));
    const std::unique_ptr<EmptyVirtualObject> object = std::make_unique<EmptyVirtualObject>();
    EXPECT_NE(object, nullptr);
}

}  // namespace
