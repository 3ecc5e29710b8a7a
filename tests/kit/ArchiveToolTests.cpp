#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/config/ConfigBlock.h"
#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "core/archive/LzCodec.h"
#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "kit/ArchiveTool.h"
#include "kit/ConfigWriter.h"
#include "kit/CprWriter.h"
#include "kit/DemoInstallation.h"
#include "tests/core/archive/TestData.h"
#include "tests/support/TestDirectory.h"

namespace
{
std::string StringOf(const std::vector<uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

TEST(CprWriterTest, WritesStoredAndPackedMembersByteForByte)
{
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("a.txt", BytesOf("hi"), kit::MemberStorage::Stored, error));
    ASSERT_TRUE(
        writer.Add("b.bin", std::vector<uint8_t>(16, 'A'), kit::MemberStorage::Packed, error));
    const std::vector<uint8_t> expected = {
        0x42, 0x41, 0x55, 0x4d, 0x02, 0x00, 0x00, 0x00, 0x2a, 0x00, 0x00, 0x00, 0x2a, 0x00,
        0x00, 0x00, 0x3a, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x05, 0x00, 0x00, 0x00, 0xd6, 0x7f, 0xea, 0x44, 0xc3, 0x3c, 0x00, 0x00, 0x00, 0x14,
        0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0xd5, 0x7f, 0xfc,
        0x55, 0xd9, 0x68, 0x69, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00,
        0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x82, 0x04, 0x85, 0x2f,
    };
    EXPECT_EQ(writer.Build(), expected);
    EXPECT_EQ(kit::CprWriter().Build(), BytesOf(std::string("BAUM\0\0\0\0\0\0\0\0\0\0\0\0", 16)));
}

TEST(CprWriterTest, PackedMemberHasOneBlockPerStartedBlockSize)
{
    LzCodec codec;
    EXPECT_EQ(kit::PackMember({}, codec), std::vector<uint8_t>(8, 0));
    const std::vector<uint8_t> member = kit::PackMember(MixedBytes(kLzBlockSize + 1, 1), codec);
    EXPECT_EQ(LoadLe32(&member[0]), kLzBlockSize + 1);
    EXPECT_EQ(LoadLe32(&member[4]), 2u);
    EXPECT_EQ(LoadLe32(&member[16]), kLzBlockSize);  // the first block's header
}

TEST(CprWriterTest, StoresWhatPackingWouldNotShrink)
{
    kit::CprWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Add("noise", RandomBytes(5000, 2), kit::MemberStorage::Smaller, error));
    ASSERT_TRUE(writer.Add("text", MixedBytes(5000, 3), kit::MemberStorage::Smaller, error));
    ASSERT_TRUE(writer.Add("tiny", BytesOf("ab"), kit::MemberStorage::Smaller, error));
    TestDirectory directory;
    directory.WriteFile("test.cpr", StringOf(writer.Build()));
    CprArchive archive;
    ASSERT_TRUE(archive.Open("test.cpr", false));
    const std::vector<CprEntry>& entries = archive.GetEntryList();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].packed, 0u);
    EXPECT_EQ(entries[1].packed, 1u);
    EXPECT_EQ(entries[2].packed, 0u);
}

TEST(CprWriterTest, MembersWithTheSameBytesEachReadBackWhole)
{
    kit::CprWriter writer;
    std::string error;
    const std::vector<uint8_t> shared = MixedBytes(5000, 6);
    ASSERT_TRUE(writer.Add("one", shared, kit::MemberStorage::Smaller, error));
    ASSERT_TRUE(writer.Add("other", RandomBytes(300, 7), kit::MemberStorage::Smaller, error));
    ASSERT_TRUE(writer.Add("two", shared, kit::MemberStorage::Smaller, error));
    // Stored rather than packed is another member.
    ASSERT_TRUE(writer.Add("three", shared, kit::MemberStorage::Stored, error));
    kit::CprWriter copy;
    ASSERT_TRUE(copy.AddMissingFrom(writer, error));
    TestDirectory directory;
    directory.WriteFile("test.cpr", StringOf(copy.Build()));
    CprArchive archive;
    ASSERT_TRUE(archive.Open("test.cpr", false));
    const std::vector<CprEntry>& entries = archive.GetEntryList();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].packed, 1u);
    EXPECT_EQ(entries[2].packed, 1u);
    EXPECT_EQ(entries[3].packed, 0u);
    ASSERT_TRUE(kit::ExtractArchive("test.cpr", "out", error)) << error;
    for (const char* name : {"one", "two", "three"})
    {
        EXPECT_EQ(directory.ReadFile(std::string("out/") + name), StringOf(shared)) << name;
    }
}

TEST(CprWriterTest, RefusesNamesTheGameCannotOpen)
{
    kit::CprWriter writer;
    std::string error;
    EXPECT_FALSE(writer.Add("", BytesOf("x"), kit::MemberStorage::Stored, error));
    EXPECT_FALSE(writer.Add(std::string(DAFile::kMaxNameLength + 1, 'n'), BytesOf("x"),
                            kit::MemberStorage::Stored, error));
    EXPECT_FALSE(
        writer.Add(std::string("nul\0name", 8), BytesOf("x"), kit::MemberStorage::Stored, error));
    EXPECT_FALSE(error.empty());
}

TEST(ArchiveToolTest, PackListAndExtractRoundTripATree)
{
    TestDirectory directory;
    const std::map<std::string, std::string> tree = {
        {"Readme.txt", "hello"},
        {"Texturen/Fu\xDFweg/Kurve.bmp", StringOf(MixedBytes(300000, 4))},
        {"Men\xFC/\xC4rger.dat", StringOf(RandomBytes(1000, 5))},
        {"leer", ""},
    };
    for (const auto& [name, bytes] : tree)
    {
        directory.WriteFile("src/" + name, bytes);
    }
    std::string error;
    ASSERT_TRUE(kit::PackDirectory("src", "tree.cpr", error)) << error;

    const std::optional<std::string> listing = kit::ListArchive("tree.cpr", error);
    ASSERT_TRUE(listing) << error;
    EXPECT_TRUE(
        listing->starts_with("      1000       1000 stored Men\xC3\xBC/\xC3\x84rger.dat\n"
                             "         5          5 stored Readme.txt\n"
                             "    300000 "))
        << *listing;
    EXPECT_TRUE(
        listing->ends_with(" packed Texturen/Fu\xC3\x9Fweg/Kurve.bmp\n"
                           "         0          0 stored leer\n"));

    ASSERT_TRUE(kit::ExtractArchive("tree.cpr", "out", error)) << error;
    for (const auto& [name, bytes] : tree)
    {
        const std::optional<std::vector<uint8_t>> extracted = files::ReadAll("out/" + name);
        ASSERT_TRUE(extracted) << name;
        EXPECT_TRUE(StringOf(*extracted) == bytes) << name;
    }
    // Written under the names as stored, not as the lookup folds them.
    std::vector<std::string> written;
    for (const files::DirectoryEntry& entry : files::List("out"))
    {
        written.push_back(entry.name);
    }
    std::ranges::sort(written);
    EXPECT_EQ(written, (std::vector<std::string>{"Men\xFC", "Readme.txt", "Texturen", "leer"}));
    ASSERT_EQ(files::List("out/Texturen/Fu\xDFweg").size(), 1u);
    EXPECT_EQ(files::List("out/Texturen/Fu\xDFweg")[0].name, "Kurve.bmp");
}

TEST(ArchiveToolTest, ExtractRefusesNamesLeadingOutOfTheFolder)
{
    TestDirectory directory;
    for (const std::string name : {"../evil", "/tmp/evil", "a//b", "a/./b", "a\\..\\..\\b"})
    {
        kit::CprWriter writer;
        std::string error;
        ASSERT_TRUE(writer.Add(name, BytesOf("x"), kit::MemberStorage::Stored, error));
        directory.WriteFile("bad.cpr", StringOf(writer.Build()));
        EXPECT_FALSE(kit::ExtractArchive("bad.cpr", "out/inner", error)) << name;
        EXPECT_FALSE(files::Exists("out/evil")) << name;
    }
}

TEST(ArchiveToolTest, ToolsReportWhatIsNotAnArchive)
{
    TestDirectory directory;
    directory.WriteFile("not.cpr", "not an archive");
    std::string error;
    EXPECT_FALSE(kit::ListArchive("not.cpr", error));
    EXPECT_FALSE(kit::ExtractArchive("missing.cpr", "out", error));
    EXPECT_FALSE(kit::PackDirectory("missing", "x.cpr", error));
    EXPECT_FALSE(error.empty());
}

// The race screen divides by the mode's height: an all-zero mode must never ship.
TEST(DemoInstallationTest, WritesTheSetUpAndEveryArchive)
{
    TestDirectory directory;
    std::string error;
    ASSERT_TRUE(kit::WriteDemoInstallation("demo", error)) << error;

    const ConfigBlock expected = kit::DemoConfig();
    EXPECT_EQ(directory.ReadFile("demo/config.dat"),
              std::string(expected.Bytes().begin(), expected.Bytes().end()));
    EXPECT_EQ(expected.RenderLibraryName(), "ZarvoGlide2.so");
    const DisplayModeRecord mode = expected.DisplayMode();
    EXPECT_EQ(mode.width, 640);
    EXPECT_EQ(mode.height, 480);
    EXPECT_EQ(mode.bitsPerPixel, 16);
    EXPECT_EQ(mode.refreshHz, 60);
    EXPECT_LE(expected.I32At(ConfigBlock::kSoundBufferIndexOffset), 3);
    EXPECT_TRUE(files::IsDirectory("demo/graps"));

    for (const char* archive : {"data.cpr", "patch.cpr", "objects.cpr", "textures.cpr",
                                "deutsch/menu.cpr", "english/menu.cpr"})
    {
        CprArchive mounted;
        EXPECT_TRUE(mounted.Open(std::string("demo/archives/") + archive, false)) << archive;
    }
}
}  // namespace
