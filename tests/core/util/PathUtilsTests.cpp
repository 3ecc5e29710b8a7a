#include "core/util/PathUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct PathEdit
{
    const char* helper;
    void (*apply)(std::string&);
    const char* input;
    const char* expected;
};

TEST(PathUtilsTest, EditsPathsInPlace)
{
    const PathEdit cases[] = {
        {"ToForwardSlashes", ToForwardSlashes, "a\\b/c\\", "a/b/c/"},
        {"ToBackslashes", ToBackslashes, "a/b\\c/", "a\\b\\c\\"},
        {"StripDirectory", StripDirectory, "a/b\\c.txt", "c.txt"},
        {"StripDirectory", StripDirectory, "c.txt", "c.txt"},
        {"StripDirectory", StripDirectory, "dir/", ""},
        {"StripFileName", StripFileName, "a/b\\c.txt", "a/b"},
        {"StripFileName", StripFileName, "c.txt", ""},
        {"StripFileName", StripFileName, "/c.txt", ""},
        {"ResolvePath", ResolvePath, "C:/Spiel/..", "C:\\"},
        {"ResolvePath", ResolvePath, "a/b/..", "a"},
        {"ResolvePath", ResolvePath, "x/y/z/../..", "x"},
        {"ResolvePath", ResolvePath, "a\\b\\..\\..", ""},
        {"ResolvePath", ResolvePath, "a\\..\\b\\..", ""},
        {"ResolvePath", ResolvePath, "\\..", ""},
        {"ResolvePath", ResolvePath, "a/../b", "a\\..\\b"},  // only trailing ones resolve
        {"ResolvePath", ResolvePath, "C:\\Spiel\\.", ""},
        {"ResolvePath", ResolvePath, "C:", "C:\\"},
        {"ResolvePath", ResolvePath, "save/wm", "save\\wm"},
    };
    for (const PathEdit& c : cases)
    {
        SCOPED_TRACE(std::string(c.helper) + "(" + c.input + ")");
        std::string path = c.input;
        c.apply(path);
        EXPECT_EQ(path, c.expected);
    }
}

TEST(PathUtilsTest, AppendPathComponent)
{
    struct Case
    {
        const char* path;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"dir/", "x", "dir/x"}, {"dir\\", "x", "dir\\x"},
        {"dir", "x", "dir/x"},  {"dir/", "C:x", "C:x"},  // a name with a drive stands alone
        {"a", "x", "x"},  // so does one after a path of at most one character
        {"", "x", "x"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.path) + " + " + c.name);
        std::string path = c.path;
        AppendPathComponent(path, c.name);
        EXPECT_EQ(path, c.expected);
    }
}

TEST(PathUtilsTest, CountPathSeparators)
{
    EXPECT_EQ(CountPathSeparators("save/setup\\Klasse1/"), 3u);
    EXPECT_EQ(CountPathSeparators("setup.tmp"), 0u);
    EXPECT_EQ(CountPathSeparators(""), 0u);
}

TEST(PathUtilsTest, IsSamePathIgnoresOnlyAsciiCase)
{
    EXPECT_EQ(IsSamePath("Save/WM/Lauf.DAT", "save/wm/lauf.dat"), 1u);
    EXPECT_EQ(IsSamePath("", ""), 1u);
    EXPECT_EQ(IsSamePath("save", "saves"), 0u);
    EXPECT_EQ(IsSamePath("saves", "save"), 0u);
    EXPECT_EQ(IsSamePath("a/b", "a\\b"), 0u);
    EXPECT_EQ(IsSamePath("M\xDCHLE", "m\xFChle"), 0u);
}

}  // namespace
