#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/util/LittleEndian.h"
#include "tests/core/archive/ArchiveImage.h"
#include "tests/core/archive/TestData.h"
#include "tests/support/TestDirectory.h"

namespace
{
class CprArchiveTest : public ::testing::Test
{
protected:
    // Writes the image as "test.cpr" and mounts it.
    bool Mount(const ArchiveImage& image, bool readWholly = false)
    {
        directory.WriteFile("test.cpr", image.String());
        return archive.Open("test.cpr", readWholly);
    }

    std::string Read(uint32_t position, uint32_t count)
    {
        std::string bytes(count, '\0');
        bytes.resize(archive.ReadAt(bytes.data(), position, count));
        return bytes;
    }

    std::string MemberBytes(const std::string& name)
    {
        CprLocation location;
        if (!archive.Lookup(location, name))
        {
            return "<missing>";
        }
        return Read(static_cast<uint32_t>(location.dataOffset), location.storedSize);
    }

    TestDirectory directory;
    CprArchive archive;
};

ArchiveImage TwoMembers()
{
    return ArchiveImage().AddChunk({{"a.txt", BytesOf("hi")}, {"b.bin", BytesOf("bin!")}});
}

TEST_F(CprArchiveTest, ChunkWithoutEntriesMountsEmpty)
{
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk({})));
    EXPECT_EQ(archive.GetLength(), 16u);
    EXPECT_TRUE(archive.GetEntryList().empty());
}

TEST_F(CprArchiveTest, MembersOfEveryChunkAreFoundWhereTheyLie)
{
    ArchiveImage image = TwoMembers();
    image.AddChunk({{"sub/c.dat", BytesOf("third"), CprArchive::kPackedFlag | 0x42}}, 12);
    ASSERT_TRUE(Mount(image));

    EXPECT_EQ(MemberBytes("a.txt"), "hi");
    EXPECT_EQ(MemberBytes("b.bin"), "bin!");
    EXPECT_EQ(MemberBytes("sub/c.dat"), "third");
    ASSERT_EQ(archive.GetChunkList().size(), 2u);
    EXPECT_EQ(archive.GetChunkList()[1].reservedSize - archive.GetChunkList()[1].usedSize, 12u);
    const CprEntry* entry = archive.FindEntry("sub/c.dat");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->packed, 1u);
    EXPECT_EQ(entry->kind, 0x42u);
}

TEST_F(CprArchiveTest, DirectoryMarkerTakesDataRoomButIsNoMember)
{
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk(
        {{"dir", BytesOf("xyz"), 0, true}, {"after.txt", BytesOf("after")}})));
    EXPECT_EQ(archive.FindEntry("dir"), nullptr);
    EXPECT_EQ(archive.GetEntryList().size(), 1u);
    EXPECT_EQ(MemberBytes("after.txt"), "after");
}

TEST_F(CprArchiveTest, LookupFoldsCaseButTellsPathsApart)
{
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk({{"Texturen/A.BMP", BytesOf("1")},
                                               {"a/b.bmp", BytesOf("2")},
                                               {"c/b.bmp", BytesOf("3")},
                                               {"Men\xFC/\xC4rger.txt", BytesOf("4")}})));
    EXPECT_EQ(MemberBytes("texturen/a.bmp"), "1");
    EXPECT_EQ(MemberBytes("TEXTUREN/a.Bmp"), "1");
    EXPECT_EQ(MemberBytes("a/b.bmp"), "2");
    EXPECT_EQ(MemberBytes("c/b.bmp"), "3");
    EXPECT_EQ(MemberBytes("MEN\xDC/\xE4RGER.TXT"), "4");
    EXPECT_EQ(MemberBytes("b.bmp"), "<missing>");
    EXPECT_EQ(archive.GetEntryList()[0].name, "texturen/a.bmp");
}

TEST_F(CprArchiveTest, FirstOfTwoEqualNamesWins)
{
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk({{"same.txt", BytesOf("first")},
                                               {"other", BytesOf("x")},
                                               {"SAME.txt", BytesOf("second")}})));
    EXPECT_EQ(MemberBytes("same.txt"), "first");
}

TEST_F(CprArchiveTest, RootIsAnOrdinaryName)
{
    ASSERT_TRUE(Mount(TwoMembers()));
    EXPECT_EQ(archive.FindEntry("ROOT"), nullptr);
    archive.Close();
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk({{"root", BytesOf("real")}})));
    EXPECT_EQ(MemberBytes("Root"), "real");
}

TEST_F(CprArchiveTest, FindMatchWantsTheExactStoredName)
{
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk({{"Sub/File.txt", BytesOf("x")}})));
    EXPECT_TRUE(archive.FindMatch("sub\\file.txt"));
    EXPECT_FALSE(archive.FindMatch("Sub/File.txt"));
}

TEST_F(CprArchiveTest, ReadAtStopsAtTheEndOfTheArchive)
{
    for (const bool readWholly : {false, true})
    {
        CprArchive fresh;
        directory.WriteFile("test.cpr", TwoMembers().String());
        ASSERT_TRUE(fresh.Open("test.cpr", readWholly));
        const uint32_t length = fresh.GetLength();
        char bytes[8] = {};
        EXPECT_EQ(fresh.ReadAt(bytes, 0, 4), 4u);
        EXPECT_EQ(std::string(bytes, 4), "BAUM");
        EXPECT_EQ(fresh.ReadAt(bytes, length - 2, 8), 2u) << "read wholly: " << readWholly;
        EXPECT_EQ(fresh.ReadAt(bytes, length, 8), 0u);
        EXPECT_EQ(fresh.ReadAt(bytes, length + 1, 8), 0u);
    }
}

TEST_F(CprArchiveTest, SeekStaysWithinTheArchive)
{
    for (const bool readWholly : {false, true})
    {
        CprArchive fresh;
        EXPECT_FALSE(fresh.Seek(0));  // not mounted
        directory.WriteFile("test.cpr", TwoMembers().String());
        ASSERT_TRUE(fresh.Open("test.cpr", readWholly));
        EXPECT_TRUE(fresh.Seek(0));
        EXPECT_TRUE(fresh.Seek(fresh.GetLength()));
        EXPECT_FALSE(fresh.Seek(fresh.GetLength() + 1)) << "read wholly: " << readWholly;
    }
    ASSERT_TRUE(Mount(TwoMembers()));
    archive.Suspend();
    EXPECT_FALSE(archive.Seek(0));
}

// The older record form: two more words before the flags, the name scrambled alike.
TEST_F(CprArchiveTest, ReadsAnEntryOfTheOlderForm)
{
    std::vector<uint8_t> record(24);
    StoreLe32(&record[0], 1234);
    StoreLe32(&record[4], 56);
    StoreLe32(&record[8], 0xAAAAAAAA);
    StoreLe32(&record[12], 0xBBBBBBBB);
    StoreLe32(&record[16], CprArchive::kPackedFlag | 7);
    StoreLe32(&record[20], 9);
    std::vector<uint8_t> name = BytesOf("Sub/A.BMP");
    ScrambleCprName(name);
    record.insert(record.end(), name.begin(), name.end());
    std::vector<uint8_t> tooLong = record;
    StoreLe32(&tooLong[20], CprArchive::kMaxNameLength + 1);
    ASSERT_TRUE(Mount(ArchiveImage().AddChunk({{"good", record}, {"long", tooLong}})));

    CprLocation location;
    ASSERT_TRUE(archive.Lookup(location, "good"));
    uint32_t position = static_cast<uint32_t>(location.dataOffset);
    CprEntry entry;
    ASSERT_TRUE(archive.ReadEntryVariant(position, entry));
    EXPECT_EQ(position, location.dataOffset + record.size());
    EXPECT_EQ(entry.dataOffset, 1234);
    EXPECT_EQ(entry.storedSize, 56u);
    EXPECT_EQ(entry.packed, 1u);
    EXPECT_EQ(entry.kind, 7u);
    EXPECT_EQ(entry.name, "sub/a.bmp");

    ASSERT_TRUE(archive.Lookup(location, "long"));
    position = static_cast<uint32_t>(location.dataOffset);
    EXPECT_FALSE(archive.ReadEntryVariant(position, entry));
    EXPECT_EQ(position, static_cast<uint32_t>(location.dataOffset));
    position = archive.GetLength() - 20;  // the record runs past the end
    EXPECT_FALSE(archive.ReadEntryVariant(position, entry));
}

TEST_F(CprArchiveTest, ReadWhollyArchiveNeedsNoFileAfterMounting)
{
    ASSERT_TRUE(Mount(TwoMembers(), true));
    std::filesystem::remove("test.cpr");
    EXPECT_EQ(MemberBytes("b.bin"), "bin!");
}

TEST_F(CprArchiveTest, SuspendedArchiveKeepsItsDirectoryButReadsNothing)
{
    ASSERT_TRUE(Mount(TwoMembers()));
    ASSERT_TRUE(archive.Suspend());
    EXPECT_FALSE(archive.IsFileOpen());
    EXPECT_NE(archive.FindEntry("a.txt"), nullptr);
    EXPECT_EQ(MemberBytes("a.txt"), "");

    ASSERT_TRUE(archive.Resume());
    EXPECT_TRUE(archive.IsFileOpen());
    EXPECT_EQ(MemberBytes("a.txt"), "hi");
    EXPECT_TRUE(archive.Resume());  // nothing to do
}

TEST_F(CprArchiveTest, ResumeFailsWhenTheFileHasGone)
{
    ASSERT_TRUE(Mount(TwoMembers()));
    archive.Suspend();
    std::filesystem::remove("test.cpr");
    EXPECT_FALSE(archive.Resume());
    EXPECT_EQ(MemberBytes("a.txt"), "");
}

TEST_F(CprArchiveTest, MountsOnceUntilClosed)
{
    ASSERT_TRUE(Mount(TwoMembers()));
    EXPECT_FALSE(archive.Open("test.cpr", false));
    EXPECT_TRUE(archive.Close());
    EXPECT_FALSE(archive.Close());
    EXPECT_TRUE(archive.GetEntryList().empty());
    EXPECT_TRUE(archive.Open("test.cpr", false));
}

TEST_F(CprArchiveTest, IsArchiveLooksAtLengthAndTag)
{
    directory.WriteFile("good.cpr", TwoMembers().String());
    directory.WriteFile("short.cpr", "BAUM1234");
    directory.WriteFile("other.cpr", "MUAB123456789");
    EXPECT_TRUE(CprArchive::IsArchive("good.cpr"));
    EXPECT_FALSE(CprArchive::IsArchive("short.cpr"));
    EXPECT_FALSE(CprArchive::IsArchive("other.cpr"));
    EXPECT_FALSE(CprArchive::IsArchive("missing.cpr"));
}

// Offsets in the image of TwoMembers: chunk header 0, first entry 16 {offset, size, flags,
// name length}, its name 32..36, second entry 37..57, data 58..63.
TEST_F(CprArchiveTest, MalformedArchivesFailToMount)
{
    const size_t length = TwoMembers().bytes.size();
    auto patched = [](size_t offset, uint32_t value)
    { return TwoMembers().Patch32(offset, value); };
    auto truncated = [](size_t size)
    {
        ArchiveImage image = TwoMembers();
        image.bytes.resize(size);
        return image;
    };
    auto extended = [](const std::string& tail)
    {
        ArchiveImage image = TwoMembers();
        image.bytes.insert(image.bytes.end(), tail.begin(), tail.end());
        return image;
    };
    ArchiveImage eightBytes;
    eightBytes.bytes = BytesOf(std::string("BAUM\0\0\0\0", 8));
    ArchiveImage overlappingPadding;  // would step back onto its own header for ever
    overlappingPadding.bytes = BytesOf(std::string("BAUM\0\0\0\0\0\0\0\0\x10\0\0\0", 16));

    const std::pair<std::string, ArchiveImage> cases[] = {
        {"eight bytes", eightBytes},
        {"wrong tag", patched(0, 0x4D554158)},
        {"negative entry count", patched(4, 0xFFFFFFFF)},
        {"more entries than the file holds", patched(4, 1000)},
        {"used directory larger than reserved", overlappingPadding},
        {"padding past the end", patched(8, 0x2A + 100)},
        {"name longer than 1023 bytes", patched(28, 1024)},
        {"name past the end", patched(28, 200)},
        {"member data past the end", patched(16, static_cast<uint32_t>(length) - 1)},
        {"member size past the end", patched(20, 1000)},
        {"data area past the end", truncated(length - 1)},
        {"trailing bytes", extended("x")},
        {"truncated second chunk", extended(std::string("BAUM\0\0", 6))},
        {"second chunk without tag", extended(std::string(16, '\0'))},
    };
    for (const auto& [name, image] : cases)
    {
        CprArchive fresh;
        directory.WriteFile("bad.cpr", image.String());
        EXPECT_FALSE(fresh.Open("bad.cpr", false)) << name;
        EXPECT_FALSE(fresh.IsMounted()) << name;
        EXPECT_TRUE(fresh.GetEntryList().empty()) << name;
    }
}
}  // namespace
