#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/motion/SceneText.h"

namespace
{
SceneText TextOf(const std::string& text)
{
    SceneText scene;
    scene.Assign({text.begin(), text.end()});
    return scene;
}

std::vector<std::string> LinesOf(const SceneText& scene)
{
    std::vector<std::string> lines;
    for (int32_t i = 0; i < scene.LineCount(); ++i)
    {
        lines.emplace_back(scene.Line(i));
    }
    return lines;
}

TEST(SceneTextTest, LinesEndAtLineBreaksAndEmptyLinesDoNotCount)
{
    struct Case
    {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\n\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},                // files saved with bare line feeds
        {"a\rb\r\nc", {"a\rb", "c"}},          // a lone CR stays in its line
        {std::string("a\0b", 3), {"a", "b"}},  // so does nothing after a zero byte
        {"", {}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(LinesOf(TextOf(c.text)), c.lines) << c.text;
    }
}

TEST(SceneTextTest, KeywordsAreFoundAnywhereInALineIgnoringCase)
{
    const SceneText scene =
        TextOf("LWSC\r\nLoadObject Objects/HAND_LINKS.lwo\r\nx\r\nloadobject hand_rechts\r\n");
    EXPECT_EQ(scene.FindLine(0, "LOADOBJECT"), 1);
    EXPECT_EQ(scene.FindLine(2, "LoadObject"), 3);
    EXPECT_EQ(scene.FindLine(-5, "lwsc"), 0) << "a search from before the text starts at 0";
    EXPECT_EQ(scene.FindLine(4, "LoadObject"), -1);
    EXPECT_EQ(scene.FindObjectLine("LoadObject", "hand_links"), 1);
    EXPECT_EQ(scene.FindObjectLine("LoadObject", "hand_rechts"), 3);
    EXPECT_EQ(scene.FindObjectLine("AddNullObject", "hand_links"), -1);
    EXPECT_EQ(SceneText().FindLine(0, "a"), -1) << "no text";
}

TEST(SceneTextTest, FrameRangeNeedsTheLastFrame)
{
    const auto range = TextOf("PreviewFirstFrame 5\r\nPreviewLastFrame 24\r\n").ReadFrameRange();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 5);
    EXPECT_EQ(range->last, 24);

    const auto fromZero = TextOf("PreviewLastFrame 9\r\n").ReadFrameRange();
    ASSERT_TRUE(fromZero);
    EXPECT_EQ(fromZero->first, 0);
    // The last frame is searched from the first frame's line on.
    EXPECT_FALSE(TextOf("PreviewLastFrame 9\r\nPreviewFirstFrame 0\r\n").ReadFrameRange());
    EXPECT_FALSE(TextOf("PreviewFirstFrame 0\r\nPreviewLastFrame\r\n").ReadFrameRange());
    // At least one frame, at most kMaxMotionFrames.
    EXPECT_FALSE(TextOf("PreviewFirstFrame 5\r\nPreviewLastFrame 4\r\n").ReadFrameRange());
    EXPECT_TRUE(TextOf("PreviewFirstFrame -10\r\nPreviewLastFrame 32756\r\n").ReadFrameRange());
    EXPECT_FALSE(TextOf("PreviewFirstFrame -10\r\nPreviewLastFrame 32757\r\n").ReadFrameRange());
    EXPECT_FALSE(TextOf("PreviewFirstFrame -2147483648\r\nPreviewLastFrame 2147483647\r\n")
                     .ReadFrameRange());
}

TEST(SceneTextTest, KeysFollowTheObjectLineInPairs)
{
    const SceneText scene = TextOf(
        "LoadObject helm\r\nShowObject 6 7\r\nObjectMotion\r\n  9\r\n  3\r\n"
        "  1.5 -2 0.25 90 45 -30 1 1 1\r\n  4 0 0 0 0\r\n"
        "  0 0 0\r\n  -3 0 0 0 0\r\n"
        "  nonsense\r\n  x\r\n"
        "EndBehavior 1\r\n");
    const std::vector<SceneKey> keys = scene.ReadObjectKeys(0);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].frame, 4);
    EXPECT_EQ(keys[0].position, (std::array<float, 3>{1.5f, -2.0f, 0.25f}));
    EXPECT_EQ(keys[0].heading, 90.0f);
    EXPECT_EQ(keys[0].pitch, 45.0f);
    EXPECT_EQ(keys[0].bank, -30.0f);
    EXPECT_EQ(keys[1].frame, -3);
    EXPECT_EQ(keys[1].heading, 0.0f) << "values a line lacks are 0";
    EXPECT_EQ(keys[2].frame, 0) << "what does not read as numbers is 0";
}

TEST(SceneTextTest, KeysAreNotReadWithoutWhatFramesThem)
{
    const std::string object = "LoadObject helm\r\na\r\nb\r\nc\r\n  2\r\n  1 2 3 0 0 0 1 1 1\r\n";
    struct Case
    {
        const char* name;
        std::string text;
        size_t keys;
    };
    const Case cases[] = {
        {"no EndBehavior after the object", object + "  0 0 0 0 0\r\n", 0},
        {"EndBehavior only before it", "EndBehavior 1\r\n" + object + "  0 0 0 0 0\r\n", 0},
        {"a key list cut short by the end", object + "  0 0 0 0 0\r\nEndBehavior 1\r\n", 1},
        {"no count line", "LoadObject helm\r\nEndBehavior 1\r\n", 0},
        {"a negative count", "LoadObject helm\r\na\r\nb\r\nc\r\n  -4\r\nEndBehavior 1\r\n", 0},
        {"a huge count", "LoadObject helm\r\na\r\nb\r\nc\r\n 2147483647\r\nEndBehavior\r\n", 0},
    };
    for (const Case& c : cases)
    {
        const SceneText scene = TextOf(c.text);
        EXPECT_EQ(scene.ReadObjectKeys(scene.FindLine(0, "LoadObject")).size(), c.keys) << c.name;
    }
}
}  // namespace
