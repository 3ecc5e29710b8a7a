#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/files/FileSystem.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestDirectory.h"

namespace
{
std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<std::string> Names(const std::vector<files::DirectoryEntry>& entries)
{
    std::vector<std::string> names;
    for (const files::DirectoryEntry& entry : entries)
    {
        names.push_back(entry.name);
    }
    return names;
}

class FileSystemTest : public ::testing::Test
{
protected:
    TestDirectory directory_;
};

TEST_F(FileSystemTest, CaseAndSlashVariantsReachOneFile)
{
    directory_.WriteFile("Tempdaten/x", "data");
    for (const char* path : {"Tempdaten/x", "TempDaten\\x", "tempdaten/x", "TEMPDATEN\\X"})
    {
        SCOPED_TRACE(path);
        EXPECT_EQ(files::Resolve(path), "Tempdaten/x");
        EXPECT_TRUE(files::IsFile(path));
        EXPECT_EQ(files::ReadAll(path), Bytes("data"));
    }
    EXPECT_TRUE(files::IsDirectory("TEMPDATEN"));
    EXPECT_FALSE(files::IsFile("tempdaten"));
    EXPECT_FALSE(files::Exists("tempdaten/y"));
}

TEST_F(FileSystemTest, MissingComponentKeepsItsSpellingAndSoDoesTheRest)
{
    directory_.WriteFile("Save/readme", "");
    EXPECT_EQ(files::Resolve("SAVE\\WM\\Readme"), "Save/WM/Readme");
    EXPECT_EQ(files::Resolve("save/readme/Deeper"), "Save/readme/Deeper");
    EXPECT_EQ(files::Resolve("Neu\\Datei.txt"), "Neu/Datei.txt");
}

TEST_F(FileSystemTest, NewFilesLandInsideExistingFolderOfAnotherCase)
{
    std::filesystem::create_directory("Tempdaten");

    ASSERT_TRUE(files::ReplaceAtomically("TEMPDATEN/system.cpr", Bytes("table")));
    files::File log("tempdaten\\Debug.Log", files::File::Mode::Write);
    ASSERT_TRUE(log.IsOpen());
    ASSERT_TRUE(log.Close());

    EXPECT_EQ(Names(files::List("")), std::vector<std::string>{"Tempdaten"});
    EXPECT_EQ(Names(files::List("Tempdaten")),
              (std::vector<std::string>{"Debug.Log", "system.cpr"}));
    EXPECT_EQ(directory_.ReadFile("Tempdaten/system.cpr"), "table");
}

TEST_F(FileSystemTest, UmlautsFoldAsTheGameFoldsThem)
{
    directory_.WriteFile(
        "\xC4rger/\xDC"
        "bung.txt",
        "1");  // Ärger/Übung.txt
    directory_.WriteFile(
        "Stra\xDF"
        "e",
        "2");
    directory_.WriteFile("Caf\xE9", "3");

    EXPECT_EQ(files::Resolve("\xE4RGER/\xFC"
                             "BUNG.TXT"),
              "\xC4rger/\xDC"
              "bung.txt");
    EXPECT_EQ(files::Resolve("STRA\xDF"
                             "E"),
              "Stra\xDF"
              "e");
    // Only A-Z and the umlauts fold: an accented capital stays another letter.
    EXPECT_FALSE(files::Exists("CAF\xC9"));
}

TEST_F(FileSystemTest, NamesOnDiskAreUtf8AndTheGameSpellsThemInWindows1252)
{
    directory_.WriteFile("M\u00FCller/Start.txt", "1");  // Müller, as any Linux tool writes it

    EXPECT_EQ(files::Resolve("M\xDCLLER\\start.TXT"), "M\u00FCller/Start.txt");
    EXPECT_EQ(Names(files::List(".")), std::vector<std::string>{"M\xFCller"});

    ASSERT_TRUE(files::ReplaceAtomically("M\xFCller/\x84Gr\xFC\xDF\x93", Bytes("2")));
    EXPECT_EQ(directory_.ReadFile("M\u00FCller/\u201EGr\u00FC\u00DF\u201C"), "2");
}

TEST_F(FileSystemTest, ExactSpellingIsPreferredThenTheFirstInByteOrder)
{
    directory_.WriteFile("data/b", "lower");
    directory_.WriteFile("Data/B", "mixed");
    directory_.WriteFile("DATA/c", "upper");

    EXPECT_EQ(files::Resolve("Data/B"), "Data/B");
    EXPECT_EQ(files::Resolve("data/B"), "data/b");  // exact folder, folded name below it
    EXPECT_EQ(files::Resolve("dAtA/c"), "DATA/c");  // "DATA" < "Data" < "data"
    EXPECT_EQ(files::Resolve("dAtA/b"), "DATA/b");  // first match taken even without the file
}

TEST_F(FileSystemTest, MakeDirectoriesCreatesOnlyTheMissingTail)
{
    std::filesystem::create_directory("Save");

    EXPECT_TRUE(files::MakeDirectories("save/setup/Klasse1"));
    EXPECT_TRUE(files::MakeDirectories("SAVE\\Setup\\klasse1"));  // exists already
    EXPECT_TRUE(files::MakeDirectories("tempdaten"));

    EXPECT_EQ(Names(files::List("")), (std::vector<std::string>{"Save", "tempdaten"}));
    EXPECT_EQ(Names(files::List("save")), std::vector<std::string>{"setup"});
    EXPECT_TRUE(std::filesystem::is_directory("Save/setup/Klasse1"));
}

TEST_F(FileSystemTest, MakeDirectoriesFailsThroughAFile)
{
    directory_.WriteFile("save", "not a folder");
    EXPECT_FALSE(files::MakeDirectories("SAVE/wm"));
    EXPECT_FALSE(files::MakeDirectories("save"));
    EXPECT_EQ(directory_.ReadFile("save"), "not a folder");
}

TEST_F(FileSystemTest, ListGivesSortedEntriesWithTheirKind)
{
    directory_.WriteFile("Ghost/b.fhr", "");
    directory_.WriteFile("Ghost/A.fhr", "");
    directory_.WriteFile("Ghost/Sub/x", "");
    std::filesystem::create_directory_symlink("Sub", "Ghost/Link");

    const std::vector<files::DirectoryEntry> entries = files::List("ghost");
    ASSERT_EQ(Names(entries), (std::vector<std::string>{"A.fhr", "Link", "Sub", "b.fhr"}));
    EXPECT_FALSE(entries[0].isDirectory);
    EXPECT_TRUE(entries[1].isDirectory);  // a link is what it points at
    EXPECT_TRUE(entries[2].isDirectory);
    EXPECT_FALSE(entries[3].isDirectory);

    EXPECT_TRUE(files::List("missing").empty());
    EXPECT_TRUE(files::List("ghost/A.fhr").empty());
}

TEST_F(FileSystemTest, ReadAllReturnsEveryByteOrNothing)
{
    std::string large(200000, '\0');
    for (size_t i = 0; i < large.size(); ++i)
    {
        large[i] = static_cast<char>(i * 7);
    }
    directory_.WriteFile("large.bin", large);
    directory_.WriteFile("empty.bin", "");
    std::filesystem::create_directory("folder");

    EXPECT_EQ(files::ReadAll("LARGE.BIN"), Bytes(large));
    EXPECT_EQ(files::ReadAll("empty.bin"), std::vector<uint8_t>{});
    EXPECT_EQ(files::ReadAll("missing.bin"), std::nullopt);
    EXPECT_EQ(files::ReadAll("folder"), std::nullopt);
}

TEST_F(FileSystemTest, RemoveDeletesTheFileOfAnyCase)
{
    directory_.WriteFile("Save/WM/Stand.dat", "x");
    EXPECT_TRUE(files::Remove("save\\wm\\STAND.DAT"));
    EXPECT_FALSE(files::Exists("Save/WM/Stand.dat"));
    EXPECT_FALSE(files::Remove("save/wm/stand.dat"));
}

class ReplaceAtomicallyTest : public FileSystemTest
{
protected:
    void SetUp() override { directory_.WriteFile("Save/menustate.dat", std::string(kOld)); }

    void ExpectOldFileWhole() const
    {
        EXPECT_EQ(directory_.ReadFile("Save/menustate.dat"), kOld);
        EXPECT_EQ(Names(files::List("Save")), std::vector<std::string>{"menustate.dat"});
    }

    static constexpr std::string_view kOld = "the settings of yesterday, 40 bytes long";
};

TEST_F(ReplaceAtomicallyTest, ReplacesTheWholeFileAndLeavesNothingBeside)
{
    ASSERT_TRUE(files::ReplaceAtomically("save\\MENUSTATE.DAT", Bytes("short")));
    EXPECT_EQ(directory_.ReadFile("Save/menustate.dat"), "short");
    EXPECT_EQ(Names(files::List("Save")), std::vector<std::string>{"menustate.dat"});

    ASSERT_TRUE(files::ReplaceAtomically("Save/fresh.dat", {}));
    EXPECT_TRUE(files::IsFile("save/fresh.dat"));
    EXPECT_EQ(directory_.ReadFile("Save/fresh.dat"), "");
}

// A save killed before its rename left its temporary file; the next save of that file takes
// it away, and leaves what only looks alike.
TEST_F(ReplaceAtomicallyTest, RemovesWhatAnInterruptedSaveLeftBeside)
{
    directory_.WriteFile("Save/.menustate.dat.Ab3dEf9h", "half a save");
    directory_.WriteFile("Save/.menustate.dat.keep", "mine");
    directory_.WriteFile("Save/.other.dat.Ab3dEf9h", "another file's");
    ASSERT_TRUE(files::ReplaceAtomically("Save/menustate.dat", Bytes("new")));
    EXPECT_EQ(
        Names(files::List("Save")),
        (std::vector<std::string>{".menustate.dat.keep", ".other.dat.Ab3dEf9h", "menustate.dat"}));
}

TEST_F(ReplaceAtomicallyTest, KeepsThePermissionsOfTheFile)
{
    for (const auto permissions :
         {std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
          std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
              std::filesystem::perms::others_read})
    {
        std::filesystem::permissions("Save/menustate.dat", permissions);
        ASSERT_TRUE(files::ReplaceAtomically("Save/menustate.dat", Bytes("new")));
        EXPECT_EQ(std::filesystem::status("Save/menustate.dat").permissions(), permissions);
    }
}

// A link to a file elsewhere stays a link; the file it leads to gets the new bytes.
TEST_F(ReplaceAtomicallyTest, ReplacesTheFileALinkLeadsTo)
{
    directory_.WriteFile("Elsewhere/settings.dat", "old");
    std::filesystem::create_symlink("../Elsewhere/settings.dat", "Save/settings.dat");
    std::filesystem::create_symlink("settings.dat", "Save/again.dat");
    ASSERT_TRUE(files::ReplaceAtomically("Save/again.dat", Bytes("new")));
    EXPECT_TRUE(std::filesystem::is_symlink("Save/settings.dat"));
    EXPECT_TRUE(std::filesystem::is_symlink("Save/again.dat"));
    EXPECT_EQ(directory_.ReadFile("Elsewhere/settings.dat"), "new");
    EXPECT_EQ(Names(files::List("Elsewhere")), std::vector<std::string>{"settings.dat"});
}

TEST_F(ReplaceAtomicallyTest, RefusesTargetsItCannotReplaceAndSaysWhy)
{
    std::filesystem::create_directory("Save/folder");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(files::ReplaceAtomically("Save/folder", Bytes("x")));
    EXPECT_FALSE(files::ReplaceAtomically("missing/x.dat", Bytes("x")));
    EXPECT_FALSE(files::ReplaceAtomically("", Bytes("x")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Zarvo: cannot save Save/folder: Is a directory\n"
              "Zarvo: cannot save missing/x.dat: No such file or directory\n"
              "Zarvo: cannot save : No such file or directory\n");

    EXPECT_TRUE(std::filesystem::is_directory("Save/folder"));
    EXPECT_FALSE(std::filesystem::exists("missing"));
    EXPECT_EQ(Names(files::List("Save")), (std::vector<std::string>{"folder", "menustate.dat"}));
}

TEST_F(ReplaceAtomicallyTest, AWriteThatFailsPartWayKeepsTheOldFileAndSaysWhy)
{
    const std::vector<uint8_t> large(100000, 0x5A);
    bool replaced = true;
    testing::internal::CaptureStderr();
    {
        const FileSizeLimit limit(1000);
        replaced = files::ReplaceAtomically("Save/menustate.dat", large);
    }
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(replaced);
    ExpectOldFileWhole();
    EXPECT_EQ(report, "Zarvo: cannot save Save/menustate.dat: File too large\n");
}

TEST_F(ReplaceAtomicallyTest, AFolderWithoutWritePermissionKeepsTheOldFile)
{
    if (geteuid() == 0)
    {
        GTEST_SKIP() << "permissions do not bind root";
    }
    ASSERT_EQ(chmod("Save", 0555), 0);
    const bool replaced = files::ReplaceAtomically("Save/menustate.dat", Bytes("new"));
    chmod("Save", 0755);
    EXPECT_FALSE(replaced);
    ExpectOldFileWhole();
}
}  // namespace
