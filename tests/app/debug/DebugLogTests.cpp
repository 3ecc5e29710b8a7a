#include "app/debug/DebugLog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TestDirectory.h"

namespace
{

namespace fs = std::filesystem;

TEST(DebugLogTest, CreatesTheFolderAndAnEmptyLog)
{
    const TestDirectory directory;
    CreateDebugLog();
    EXPECT_TRUE(fs::is_directory("tempdaten"));
    ASSERT_TRUE(fs::is_regular_file("tempdaten/Debug.Log"));
    EXPECT_EQ(fs::file_size("tempdaten/Debug.Log"), 0u);
}

TEST(DebugLogTest, EmptiesTheLogInsideAFolderOfAnotherCase)
{
    const TestDirectory directory;
    directory.WriteFile("TempDaten/debug.log", "last run");
    directory.WriteFile("TempDaten/system.cpr", "kept");

    CreateDebugLog();

    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
    EXPECT_EQ(directory.ReadFile("TempDaten/debug.log"), "");
    EXPECT_EQ(directory.ReadFile("TempDaten/system.cpr"), "kept");
}

TEST(DebugLogTest, AppendsTextExactly)
{
    const TestDirectory directory;
    CreateDebugLog();
    AppendDebugLog("Runde 1\n");
    AppendDebugLog("\xC4nderung");
    EXPECT_EQ(directory.ReadFile("tempdaten/Debug.Log"), "Runde 1\n\xC4nderung");
}

TEST(DebugLogTest, AFileInThePlaceOfTheFolderIsLeftAlone)
{
    const TestDirectory directory;
    directory.WriteFile("tempdaten", "not a folder");
    CreateDebugLog();
    AppendDebugLog("text");
    EXPECT_EQ(directory.ReadFile("tempdaten"), "not a folder");
}

}  // namespace
