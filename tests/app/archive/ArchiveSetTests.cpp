#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/archive/CdRomSearch.h"
#include "core/archive/CprArchive.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/core/archive/ArchiveImage.h"
#include "tests/core/archive/TestData.h"
#include "tests/support/TestDirectory.h"

namespace
{
const std::vector<std::string> kAllArchives = {
    "archives/deutsch/menu.cpr", "archives/english/menu.cpr", "archives/data.cpr",
    "archives/patch.cpr",        "archives/objects.cpr",      "archives/textures.cpr",
};

class ArchiveSetTest : public ::testing::Test
{
protected:
    ~ArchiveSetTest() override { CloseArchives(); }

    // Each archive holds one member named after the archive's file.
    void WriteArchive(const std::string& path)
    {
        directory.WriteFile(path, ArchiveImage().AddChunk({{"from", BytesOf(path)}}).String());
    }

    void WriteArchives(const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths)
        {
            WriteArchive(path);
        }
    }

    TestDirectory directory;
    ScriptedPlatform platform;
    ScopedPlatform installed{platform};
};

TEST_F(ArchiveSetTest, MountsAllFromTheWorkingDirectory)
{
    WriteArchives(kAllArchives);
    ASSERT_TRUE(OpenArchives(1, {}));
    for (CprArchive* slot :
         {g_archiveMenu, g_archiveData, g_archivePatch, g_archiveObjects, g_archiveTextures})
    {
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot->GetEntryList().size(), 1u);
    }
    EXPECT_EQ(g_archiveMenu->GetLength(),
              static_cast<uint32_t>(directory.ReadFile("archives/english/menu.cpr").size()));
    EXPECT_TRUE(platform.MessageBoxes().empty());

    EXPECT_TRUE(g_archivesOpen);

    CloseArchives();
    EXPECT_EQ(g_archiveMenu, nullptr);
    EXPECT_EQ(g_archiveTextures, nullptr);
    EXPECT_TRUE(g_archivesOpen) << "closing leaves the flag";
}

// The large archives keep no file open except while a race loads.
TEST_F(ArchiveSetTest, LargeArchivesHoldAFileOnlyWhileLoading)
{
    WriteArchives(kAllArchives);
    ASSERT_TRUE(OpenArchives(0, {}));
    EXPECT_TRUE(g_archiveData->IsFileOpen());
    EXPECT_FALSE(g_archiveObjects->IsFileOpen());
    EXPECT_FALSE(g_archiveTextures->IsFileOpen());

    BeginLoading();
    EXPECT_TRUE(g_archiveObjects->IsFileOpen());
    EXPECT_TRUE(g_archiveTextures->IsFileOpen());
    EXPECT_EQ(g_loadingActive, 1u);

    EndLoading();
    EXPECT_FALSE(g_archiveObjects->IsFileOpen());
    EXPECT_FALSE(g_archiveTextures->IsFileOpen());
    EXPECT_EQ(g_loadingActive, 0u);
}

// The music gives the disc up before the archives on it are opened again.
TEST_F(ArchiveSetTest, LoadingStopsTheCdTrackFirst)
{
    WriteArchives(kAllArchives);
    ASSERT_TRUE(OpenArchives(0, {}));
    std::vector<bool> objectsOpenAtStop;
    SetCdTrackStop([&] { objectsOpenAtStop.push_back(g_archiveObjects->IsFileOpen()); });
    BeginLoading();
    EndLoading();
    SetCdTrackStop(nullptr);
    BeginLoading();  // with nothing installed, loading goes on alike
    EXPECT_TRUE(g_archiveObjects->IsFileOpen());
    EndLoading();
    EXPECT_EQ(objectsOpenAtStop, std::vector<bool>{false});
}

TEST_F(ArchiveSetTest, OtherLanguageMountsNoMenuArchive)
{
    WriteArchives(kAllArchives);
    ASSERT_TRUE(OpenArchives(2, {}));
    EXPECT_EQ(g_archiveMenu, nullptr);
    EXPECT_NE(g_archiveData, nullptr);
}

TEST_F(ArchiveSetTest, StopsAtTheFirstMissingArchiveWithItsMessage)
{
    struct Case
    {
        std::string missing;
        int language;
        std::string message;
    };
    const Case cases[] = {
        {"archives/deutsch/menu.cpr", 0,
         "Kann archives/deutsch/menu.cpr.cpr nicht \xF6"
         "ffnen"},
        {"archives/english/menu.cpr", 1,
         "Kann archives/english/menu.cpr nicht \xF6"
         "ffnen"},
        {"archives/data.cpr", 1,
         "Kann data.cpr nicht \xF6"
         "ffnen"},
        {"archives/patch.cpr", 1,
         "Kann patch.cpr nicht \xF6"
         "ffnen"},
        {"archives/objects.cpr", 1, "Unable to find Zarvo - CD\narchives/objects.cpr"},
        {"archives/textures.cpr", 1, "Unable to find Zarvo - CD\narchives/textures.cpr"},
    };
    WriteArchives(kAllArchives);
    for (const Case& c : cases)
    {
        ScriptedPlatform messages;
        ScopedPlatform recording(messages);
        std::filesystem::rename(c.missing, "aside.cpr");
        EXPECT_FALSE(OpenArchives(c.language, {}));
        EXPECT_FALSE(g_archivesOpen) << c.missing;
        EXPECT_EQ(messages.MessageBoxes(), std::vector<std::string>{c.message}) << c.missing;
        std::filesystem::rename("aside.cpr", c.missing);
        CloseArchives();
    }
}

TEST_F(ArchiveSetTest, MissingDataArchiveLeavesTheLaterOnesUntried)
{
    WriteArchives(kAllArchives);
    std::filesystem::remove("archives/data.cpr");
    EXPECT_FALSE(OpenArchives(1, {}));
    EXPECT_NE(g_archiveMenu, nullptr);
    EXPECT_EQ(g_archivePatch, nullptr);
    EXPECT_EQ(g_archiveObjects, nullptr);
}

TEST_F(ArchiveSetTest, DamagedArchiveFailsLikeAMissingOne)
{
    WriteArchives(kAllArchives);
    directory.WriteFile("archives/objects.cpr", "BAUM but not an archive");
    EXPECT_FALSE(OpenArchives(1, {}));
    EXPECT_EQ(platform.MessageBoxes(),
              std::vector<std::string>{"Unable to find Zarvo - CD\narchives/objects.cpr"});
}

TEST_F(ArchiveSetTest, LargeArchivesAreFoundOnTheFirstCdRomThatHasThem)
{
    WriteArchives({"archives/deutsch/menu.cpr", "archives/data.cpr", "archives/patch.cpr"});
    WriteArchive("cd-d/archives/other.cpr");
    WriteArchive("cd-e/archives/objects.cpr");
    WriteArchive("cd-e/archives/textures.cpr");
    WriteArchive("cd-f/archives/objects.cpr");
    const std::vector<std::string> roots = {directory.path() + "/cd-d", directory.path() + "/cd-e",
                                            directory.path() + "/cd-f"};

    EXPECT_EQ(LocateDataFile("archives/objects.cpr", roots),
              directory.path() + "/cd-e/archives/objects.cpr");
    ASSERT_TRUE(OpenArchives(0, roots));
    CprLocation location;
    ASSERT_TRUE(g_archiveObjects->Lookup(location, "from"));
    BeginLoading();
    std::string from(location.storedSize, '\0');
    g_archiveObjects->ReadAt(from.data(), static_cast<uint32_t>(location.dataOffset),
                             location.storedSize);
    EXPECT_EQ(from, "cd-e/archives/objects.cpr");
}

TEST_F(ArchiveSetTest, WorkingDirectoryComesBeforeAnyCdRom)
{
    WriteArchive("archives/objects.cpr");
    WriteArchive("cd/archives/objects.cpr");
    EXPECT_EQ(LocateDataFile("archives/objects.cpr", std::vector{directory.path() + "/cd"}),
              "archives/objects.cpr");
    EXPECT_EQ(LocateDataFile("archives/textures.cpr", std::vector{directory.path() + "/cd"}),
              std::nullopt);
}

TEST(CdRomSearchTest, OpticalMediaAreTheIso9660AndUdfMounts)
{
    const std::string table =
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro,nosuid 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sr1 /media/Zarvo\\040CD udf ro 0 0\n"
        "broken line\n";
    EXPECT_EQ(ParseCdRomRoots(table),
              (std::vector<std::string>{"/media/cdrom", "/media/Zarvo CD"}));
}
}  // namespace
