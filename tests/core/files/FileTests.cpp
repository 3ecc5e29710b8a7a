#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "core/files/FileSystem.h"
#include "tests/support/TestDirectory.h"

namespace
{
using files::File;

std::string ReadString(File& file, size_t count)
{
    std::string text(count, '\0');
    text.resize(file.Read(text.data(), count));
    return text;
}

size_t WriteString(File& file, std::string_view text)
{
    return file.Write(text.data(), text.size());
}

class FileTest : public ::testing::Test
{
protected:
    TestDirectory directory_;
};

TEST_F(FileTest, WritesThenReadsBackWithSeekAndTell)
{
    {
        File out("Lap.fhr", File::Mode::Write);
        ASSERT_TRUE(out);
        EXPECT_EQ(WriteString(out, "0123456789"), 10u);
        EXPECT_EQ(out.Size(), 10u);  // still buffered, yet counted
        EXPECT_EQ(out.Tell(), 10u);
        EXPECT_TRUE(out.Close());
        EXPECT_FALSE(out.IsOpen());
    }
    File in("LAP.FHR", File::Mode::Read);
    ASSERT_TRUE(in);
    EXPECT_EQ(in.Size(), 10u);
    EXPECT_TRUE(in.Seek(6));
    EXPECT_EQ(in.Tell(), 6u);
    EXPECT_EQ(ReadString(in, 100), "6789");  // short at the end
    EXPECT_EQ(in.Tell(), 10u);
    EXPECT_TRUE(in.Seek(2));
    EXPECT_EQ(ReadString(in, 3), "234");
    EXPECT_EQ(WriteString(in, "x"), 0u);  // read-only
}

TEST_F(FileTest, WriteTruncatesAndAppendExtends)
{
    directory_.WriteFile("Debug.Log", "old contents");
    {
        File truncated("debug.log", File::Mode::Write);
        WriteString(truncated, "a");
    }
    {
        File appended("DEBUG.LOG", File::Mode::Append);
        WriteString(appended, "bc");
    }
    {
        File created("new.log", File::Mode::Append);
        WriteString(created, "d");
    }
    EXPECT_EQ(directory_.ReadFile("Debug.Log"), "abc");
    EXPECT_EQ(directory_.ReadFile("new.log"), "d");
}

TEST_F(FileTest, ReadWriteChangesBytesInPlace)
{
    directory_.WriteFile("system.cpr", "aaaaaaaa");
    {
        File file("SYSTEM.CPR", File::Mode::ReadWrite);
        ASSERT_TRUE(file);
        EXPECT_EQ(ReadString(file, 2), "aa");
        EXPECT_EQ(WriteString(file, "BB"), 2u);  // right after a read, at the read position
        EXPECT_TRUE(file.Seek(7));
        WriteString(file, "CD");  // past the old end
        EXPECT_TRUE(file.Seek(0));
        EXPECT_EQ(ReadString(file, 9), "aaBBaaaCD");
    }
    EXPECT_EQ(directory_.ReadFile("system.cpr"), "aaBBaaaCD");
}

TEST_F(FileTest, OpensOnlyWhatTheModeAllows)
{
    std::filesystem::create_directory("Folder");
    EXPECT_FALSE(File("missing", File::Mode::Read));
    EXPECT_FALSE(File("missing", File::Mode::ReadWrite));
    EXPECT_FALSE(File("folder", File::Mode::Read));
    EXPECT_FALSE(File("folder", File::Mode::Write));
    EXPECT_FALSE(File("nofolder/x", File::Mode::Write));
    EXPECT_FALSE(std::filesystem::exists("missing"));

    File closed;
    char byte = 0;
    EXPECT_EQ(closed.Read(&byte, 1), 0u);
    EXPECT_EQ(closed.Write(&byte, 1), 0u);
    EXPECT_FALSE(closed.Seek(0));
    EXPECT_EQ(closed.Size(), 0u);
    EXPECT_FALSE(closed.Flush());
    EXPECT_TRUE(closed.Close());
}

TEST_F(FileTest, MovingHandsOverTheOpenFile)
{
    File first("moved.dat", File::Mode::Write);
    WriteString(first, "one");
    File second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    ASSERT_TRUE(second);

    File third("other.dat", File::Mode::Write);
    third = std::move(second);  // closes other.dat, takes moved.dat
    WriteString(third, "two");
    EXPECT_TRUE(third.Close());
    EXPECT_EQ(directory_.ReadFile("moved.dat"), "onetwo");
    EXPECT_TRUE(std::filesystem::exists("other.dat"));
}
}  // namespace
