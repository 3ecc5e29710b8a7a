#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/archive/LzCodec.h"
#include "kit/ArchiveTool.h"
#include "kit/CprWriter.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "tests/core/archive/ArchiveImage.h"
#include "tests/core/archive/TestData.h"
#include "tests/support/TestDirectory.h"

namespace
{
using Bytes = std::vector<uint8_t>;

class DAFileTest : public ::testing::Test
{
protected:
    void MountImage(const ArchiveImage& image)
    {
        directory.WriteFile("test.cpr", image.String());
        ASSERT_TRUE(archive.Open("test.cpr", false));
    }

    static std::string ReadAll(DAFile& file, uint32_t piece)
    {
        std::string all;
        std::string buffer(piece, '\0');
        while (const uint32_t read = file.Read(buffer.data(), piece))
        {
            all.append(buffer, 0, read);
        }
        return all;
    }

    TestDirectory directory;
    ScriptedPlatform platform;
    ScopedPlatform installed{platform};
    CprArchive archive;
};

std::string StringOf(const Bytes& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// A folder tree with nested folders and Windows-1252 names, packed by the kit; every member
// must come back whole and in pieces that cut across the 0x20000-byte blocks.
TEST_F(DAFileTest, ReadsBackEveryFileOfAPackedTree)
{
    const std::map<std::string, Bytes> tree = {
        {"readme.txt", BytesOf("Zarvo")},
        {"empty", {}},
        {"Texturen/Fu\xDFweg/Kurve.BMP", MixedBytes(3 * kLzBlockSize + 5, 1)},
        {"Men\xFC/\xC4rger.dat", MixedBytes(kLzBlockSize, 2)},
        {"Men\xFC/one more.dat", MixedBytes(kLzBlockSize + 1, 3)},
        {"noise.bin", RandomBytes(kLzBlockSize + 100, 4)},
        {"a/b/c/d/deep.txt", MixedBytes(5000, 5)},
    };
    for (const auto& [name, bytes] : tree)
    {
        directory.WriteFile("src/" + name, StringOf(bytes));
    }
    std::string error;
    ASSERT_TRUE(kit::PackDirectory("src", "tree.cpr", error)) << error;
    ASSERT_TRUE(archive.Open("tree.cpr", false));
    ASSERT_EQ(archive.GetEntryList().size(), tree.size());

    for (const auto& [name, bytes] : tree)
    {
        for (const uint32_t piece : {1u, 7u, 4096u, 0x1FFFFu, 0x20000u, 0x60000u})
        {
            DAFile file(&archive);
            ASSERT_TRUE(file.Open(name)) << name;
            EXPECT_EQ(file.GetLength(), static_cast<int32_t>(bytes.size()));
            EXPECT_TRUE(ReadAll(file, piece) == StringOf(bytes))
                << name << " in pieces of " << piece;
            EXPECT_EQ(file.GetPosition(), static_cast<int32_t>(bytes.size()));
            file.Close();
        }
    }
    EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST_F(DAFileTest, NamesTakeEitherSlashAndAnyCase)
{
    MountImage(ArchiveImage().AddChunk({{"texturen/a.bmp", BytesOf("pixels")}}));
    for (const char* name : {"texturen/a.bmp", "Texturen\\A.BMP", "TEXTUREN/a.Bmp"})
    {
        DAFile file(&archive);
        ASSERT_TRUE(file.Open(name)) << name;
        EXPECT_EQ(ReadAll(file, 100), "pixels");
        EXPECT_TRUE(file.Exists(name));
    }
}

TEST_F(DAFileTest, MissingMemberIsReported)
{
    MountImage(ArchiveImage().AddChunk({{"a.txt", BytesOf("a")}}));
    DAFile file(&archive);
    EXPECT_FALSE(file.Exists("Texturen\\Missing.bmp"));
    EXPECT_FALSE(file.Open("Texturen\\Missing.bmp"));
    EXPECT_EQ(platform.MessageBoxes(),
              std::vector<std::string>{"DAFile -> Unable to open Texturen\\Missing.bmp"});
    EXPECT_EQ(file.GetLength(), -1);
}

TEST_F(DAFileTest, NameTooLongForTheNameBufferIsRefused)
{
    const std::string longest(DAFile::kMaxNameLength, 'n');
    MountImage(ArchiveImage().AddChunk({{longest, BytesOf("x")}}));
    DAFile file(&archive);
    EXPECT_TRUE(file.Open(longest));
    file.Close();
    EXPECT_FALSE(file.Open(longest + "n"));
    EXPECT_EQ(platform.MessageBoxes().size(), 1u);
}

TEST_F(DAFileTest, SecondOpenKeepsTheFirstMember)
{
    MountImage(ArchiveImage().AddChunk({{"one", BytesOf("first")}, {"two", BytesOf("second")}}));
    DAFile file(&archive);
    ASSERT_TRUE(file.Open("one"));
    EXPECT_FALSE(file.Open("two"));
    EXPECT_EQ(ReadAll(file, 3), "first");
}

TEST_F(DAFileTest, ReadStopsAtTheEndOfTheMember)
{
    kit::CprWriter writer;
    std::string error;
    const Bytes packed = MixedBytes(1000, 6);
    ASSERT_TRUE(writer.Add("stored", BytesOf("0123456789"), kit::MemberStorage::Stored, error));
    ASSERT_TRUE(writer.Add("packed", packed, kit::MemberStorage::Packed, error));
    directory.WriteFile("test.cpr", StringOf(writer.Build()));
    ASSERT_TRUE(archive.Open("test.cpr", false));

    for (const auto& [name, size] : {std::pair{"stored", 10u}, std::pair{"packed", 1000u}})
    {
        DAFile file(&archive);
        ASSERT_TRUE(file.Open(name));
        std::vector<uint8_t> buffer(size + 50);
        EXPECT_EQ(file.Seek(-4, DAFile::kFromEnd), static_cast<int32_t>(size - 4));
        EXPECT_EQ(file.Read(buffer.data(), 50), 4u) << name;
        EXPECT_EQ(file.Read(buffer.data(), 50), 0u) << name;
    }
}

// An empty member read wholly is read into an empty buffer, which has no address at all.
TEST_F(DAFileTest, EmptyMembersReadIntoAnEmptyBuffer)
{
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("stored", {}, kit::MemberStorage::Stored, error));
    ASSERT_TRUE(writer.Add("packed", {}, kit::MemberStorage::Packed, error));
    directory.WriteFile("test.cpr", StringOf(writer.Build()));
    for (const bool readWholly : {false, true})
    {
        CprArchive empty;
        ASSERT_TRUE(empty.Open("test.cpr", readWholly));
        for (const char* name : {"stored", "packed"})
        {
            DAFile file(&empty);
            ASSERT_TRUE(file.Open(name)) << name;
            std::vector<uint8_t> whole(static_cast<size_t>(file.GetLength()));
            EXPECT_EQ(file.Read(whole.data(), static_cast<uint32_t>(whole.size())), 0u) << name;
            file.Close();
        }
    }
}

TEST_F(DAFileTest, ReadAllTakesTheRestOfTheMember)
{
    kit::CprWriter writer;
    std::string error;
    const Bytes packed = MixedBytes(kLzBlockSize + 100, 6);
    ASSERT_TRUE(writer.Add("packed", packed, kit::MemberStorage::Packed, error));
    directory.WriteFile("test.cpr", StringOf(writer.Build()));
    ASSERT_TRUE(archive.Open("test.cpr", false));

    DAFile file(&archive);
    EXPECT_FALSE(file.ReadAll()) << "not open";
    ASSERT_TRUE(file.Open("packed"));
    ASSERT_EQ(file.Seek(10, DAFile::kFromBegin), 10);
    EXPECT_EQ(file.ReadAll(), Bytes(packed.begin() + 10, packed.end()));
    EXPECT_EQ(file.ReadAll(), Bytes{}) << "at the end";
}

TEST_F(DAFileTest, SeekStaysWithinTheMember)
{
    MountImage(ArchiveImage().AddChunk({{"digits", BytesOf("0123456789")}}));
    DAFile file(&archive);
    ASSERT_TRUE(file.Open("digits"));
    struct Step
    {
        int32_t offset;
        int origin;
        int32_t expected;
    };
    const Step steps[] = {
        {3, DAFile::kFromBegin, 3},   {2, DAFile::kFromCurrent, 5},    {-1, DAFile::kFromEnd, 9},
        {1, DAFile::kFromEnd, -1},    {-10, DAFile::kFromCurrent, -1}, {0, 3, -1},
        {10, DAFile::kFromBegin, 10}, {-2, DAFile::kFromCurrent, 8},
    };
    for (const Step& step : steps)
    {
        EXPECT_EQ(file.Seek(step.offset, step.origin), step.expected)
            << step.offset << " from " << step.origin;
    }
    EXPECT_EQ(ReadAll(file, 5), "89");
}

TEST_F(DAFileTest, ClosedObjectReadsNothing)
{
    DAFile file(&archive);
    char byte;
    EXPECT_EQ(file.Read(&byte, 1), 0u);
    EXPECT_EQ(file.Seek(0, DAFile::kFromBegin), 0);
    EXPECT_EQ(file.GetLength(), -1);
    EXPECT_EQ(file.GetPosition(), -1);
}

// The first reader borrows the archive's block buffers; a second one needs its own.
TEST_F(DAFileTest, TwoReadersOfOneArchiveDoNotDisturbEachOther)
{
    const Bytes first = MixedBytes(3 * kLzBlockSize, 7);
    const Bytes second = MixedBytes(2 * kLzBlockSize + 9, 8);
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("first", first, kit::MemberStorage::Packed, error));
    ASSERT_TRUE(writer.Add("second", second, kit::MemberStorage::Packed, error));
    directory.WriteFile("test.cpr", StringOf(writer.Build()));
    ASSERT_TRUE(archive.Open("test.cpr", false));

    DAFile a(&archive);
    DAFile b(&archive);
    ASSERT_TRUE(a.Open("first"));
    ASSERT_TRUE(b.Open("second"));
    EXPECT_EQ(archive.OpenFileCount(), 2);
    std::string readA;
    std::string readB;
    char buffer[5000];
    for (bool more = true; more;)
    {
        const uint32_t fromA = a.Read(buffer, sizeof buffer);
        readA.append(buffer, fromA);
        const uint32_t fromB = b.Read(buffer, 3333);
        readB.append(buffer, fromB);
        more = fromA > 0 || fromB > 0;
    }
    EXPECT_TRUE(readA == StringOf(first));
    EXPECT_TRUE(readB == StringOf(second));
    a.Close();
    b.Close();
    EXPECT_EQ(archive.OpenFileCount(), 0);
}

TEST_F(DAFileTest, WithoutAnArchiveReadsPlainFilesWhateverTheirCase)
{
    directory.WriteFile("Sub/File.TXT", "plain bytes");
    DAFile file;
    EXPECT_TRUE(file.Exists("sub\\file.txt"));
    EXPECT_FALSE(file.Exists("sub/other.txt"));
    ASSERT_TRUE(file.Open("sub\\file.txt"));
    EXPECT_EQ(file.GetLength(), 11);
    EXPECT_EQ(file.Seek(6, DAFile::kFromBegin), 6);
    EXPECT_EQ(file.Seek(12, DAFile::kFromBegin), -1);
    EXPECT_EQ(ReadAll(file, 4), "bytes");
    EXPECT_EQ(file.GetPosition(), 11);
    file.Close();
    EXPECT_FALSE(file.Open("missing.txt"));
    EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST_F(DAFileTest, ArchivePathConstructorMountsOrFallsBackToPlainFiles)
{
    MountImage(ArchiveImage().AddChunk({{"inside.txt", BytesOf("from the archive")}}));
    directory.WriteFile("outside.txt", "from the disk");
    DAFile owning(std::string_view("test.cpr"));
    ASSERT_TRUE(owning.Open("INSIDE.TXT"));
    EXPECT_EQ(ReadAll(owning, 64), "from the archive");

    DAFile fallback(std::string_view("missing.cpr"));
    ASSERT_TRUE(fallback.Open("outside.txt"));
    EXPECT_EQ(ReadAll(fallback, 64), "from the disk");
}

// Offsets in a packed member: u32 size 0, u32 block count 4, block sizes from 8.
TEST_F(DAFileTest, MalformedPackedMembersFailToOpen)
{
    LzCodec codec;
    const Bytes twoBlocks = kit::PackMember(MixedBytes(kLzBlockSize + 1, 9), codec);
    auto patched = [&twoBlocks](std::initializer_list<std::pair<size_t, uint32_t>> fields)
    {
        Bytes member = twoBlocks;
        for (const auto& [offset, value] : fields)
        {
            StoreLe32(&member[offset], value);
        }
        return member;
    };
    const uint32_t firstBlock = LoadLe32(&twoBlocks[8]);
    const std::pair<std::string, Bytes> members[] = {
        {"shorter than its header", {1, 0, 0, 0}},
        {"block count does not fit the size", patched({{4, 3}})},
        {"block table past the member", patched({{0, 100 * kLzBlockSize}, {4, 100}})},
        {"block larger than any block", patched({{8, DAFile::kMaxPackedBlockSize + 1}})},
        {"block smaller than its header", patched({{8, 3}})},
        {"blocks do not add up to the member", patched({{8, firstBlock - 4}})},
    };
    for (const auto& [name, member] : members)
    {
        CprArchive damaged;
        directory.WriteFile(
            "bad.cpr", ArchiveImage().AddChunk({{"m", member, CprArchive::kPackedFlag}}).String());
        ASSERT_TRUE(damaged.Open("bad.cpr", false)) << name;
        DAFile file(&damaged);
        EXPECT_FALSE(file.Open("m")) << name;
        EXPECT_EQ(damaged.OpenFileCount(), 0) << name;
    }
    EXPECT_EQ(platform.MessageBoxes().size(), std::size(members));
}

// Offsets in a one-block member: size 0, count 4, block size 8, block header 12.
TEST_F(DAFileTest, BlockOfTheWrongLengthGivesAShortRead)
{
    LzCodec codec;
    const Bytes good = kit::PackMember(MixedBytes(1000, 10), codec);
    for (const auto& [name, offset, value] : {std::tuple{"member says fewer bytes", 0, 999},
                                              std::tuple{"block says more bytes", 12, 2000}})
    {
        Bytes member = good;
        StoreLe32(&member[offset], static_cast<uint32_t>(value));
        CprArchive damaged;
        directory.WriteFile(
            "bad.cpr", ArchiveImage().AddChunk({{"m", member, CprArchive::kPackedFlag}}).String());
        ASSERT_TRUE(damaged.Open("bad.cpr", false));
        DAFile file(&damaged);
        ASSERT_TRUE(file.Open("m")) << name;
        char buffer[2000];
        EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u) << name;
    }
}
}  // namespace
