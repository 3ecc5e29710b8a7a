// The file requester: listing a folder by its path, typing a name, and the mouse on its list,
// arrows and buttons, each as a table of cases.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/window/KeyListeners.h"
#include "frontend/toolkit/FileRequester.h"
#include "platform/VirtualKeys.h"
#include "tests/support/TestDirectory.h"

namespace
{
// Window origin at its default place.
constexpr int32_t kX = FileRequester::kDefaultX;
constexpr int32_t kY = FileRequester::kDefaultY;

class FileRequesterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"b.sav", "a.sav", ".sav", "A.SAV", "notes.txt", "c.sav"})
        {
            directory_.WriteFile(std::string("save/wm/") + name, "x");
        }
        std::filesystem::create_directories("save/wm/dir.sav");
    }

    void OpenOnSaves(int32_t mode)
    {
        requester_.Open(mode);
        ASSERT_TRUE(requester_.SetDirectory("save/wm"));
        ASSERT_TRUE(requester_.ScanDirectory(".sav"));
    }

    void TearDown() override { requester_.Close(); }

    TestDirectory directory_;
    FileRequester requester_;
};

std::vector<std::string> Entries(const FileRequester& requester)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < requester.EntryCount(); ++i)
    {
        names.push_back(*requester.GetEntry(i));
    }
    return names;
}
}  // namespace

TEST_F(FileRequesterTest, ListsTheFolderByItsPathWithoutChangingTheWorkingDirectory)
{
    const std::filesystem::path before = std::filesystem::current_path();
    OpenOnSaves(FileRequester::kPickFile);
    EXPECT_EQ(std::filesystem::current_path(), before);
    // Folders, other endings, another case and a name that is only the ending are left out.
    EXPECT_EQ(Entries(requester_), (std::vector<std::string>{"a.sav", "b.sav", "c.sav"}));
    EXPECT_EQ(requester_.GetEntry(3), nullptr);
    EXPECT_EQ(requester_.Beeps(), 0u);

    EXPECT_FALSE(requester_.SetDirectory("save/gone"));
    EXPECT_EQ(requester_.Directory(), "save/wm");
    std::filesystem::remove_all("save/wm");
    EXPECT_FALSE(requester_.ScanDirectory(".sav"));
    EXPECT_EQ(requester_.EntryCount(), 0);
    EXPECT_EQ(requester_.Beeps(), 2u);
}

TEST_F(FileRequesterTest, RefusesToDeleteANameThatLeavesTheFolder)
{
    directory_.WriteFile("save/keep.sav", "x");
    OpenOnSaves(FileRequester::kPickFile);
    for (const char* name : {"../keep.sav", "..\\keep.sav", "..", "", "x/../../keep.sav"})
    {
        EXPECT_FALSE(requester_.DeleteFileAndRescan(name)) << name;
    }
    EXPECT_TRUE(std::filesystem::exists("save/keep.sav"));
    EXPECT_TRUE(requester_.DeleteFileAndRescan("b.sav"));
    EXPECT_EQ(Entries(requester_), (std::vector<std::string>{"a.sav", "c.sav"}));
}

struct KeyCase
{
    const char* name;
    int32_t mode;
    std::string typedBefore;     // typed without Shift
    std::vector<uint32_t> keys;  // presses; Shift is pressed and released around 'S' keys
    std::string typedAfter;
    int32_t result;
    uint32_t beeps;
};

class FileRequesterKeys : public FileRequesterTest, public testing::WithParamInterface<KeyCase>
{
};

TEST_P(FileRequesterKeys, TypeAndAccept)
{
    const KeyCase& test = GetParam();
    OpenOnSaves(test.mode);
    for (const char c : test.typedBefore)
    {
        NotifyKeyListeners(kKeyWentDown, c == ' ' || (c >= '0' && c <= '9')
                                             ? static_cast<uint32_t>(c)
                                             : static_cast<uint32_t>(c - 'a' + 'A'));
    }
    const uint32_t beepsBefore = requester_.Beeps();
    for (const uint32_t key : test.keys)
    {
        NotifyKeyListeners(key == vk::Shift ? kKeyWentUp : kKeyWentDown, key);
    }
    EXPECT_EQ(requester_.TypedName(), test.typedAfter);
    std::string name;
    EXPECT_EQ(requester_.GetResult(&name), test.result);
    if (test.result == FileRequester::kAccepted)
    {
        EXPECT_EQ(name, test.typedAfter);
    }
    EXPECT_EQ(requester_.Beeps() - beepsBefore, test.beeps);
}

const std::string k31(31, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, FileRequesterKeys,
    testing::Values(
        KeyCase{"LettersLowerCase", 2, "", {'S', 'A', 'I', ' ', '9', vk::Return}, "sai 9", 1, 0},
        KeyCase{"BackspaceAndOtherKeys", 2, "ab", {vk::Back, 0xBF, vk::Left, 'C'}, "ac", 0, 0},
        KeyCase{"EmptyNameBeeps", 2, "", {vk::Return}, "", 0, 1},
        KeyCase{"EnterInPickModeWithoutSelectionBeeps", 1, "", {vk::Return}, "", 0, 1},
        KeyCase{"The32ndCharacterBeeps", 2, k31, {'Q', '1', ' '}, k31, 0, 3},
        KeyCase{"EnterAtFullLengthBeeps", 2, k31, {vk::Return}, k31, 0, 1},
        KeyCase{"BackspaceAtFullLength",
                2,
                k31,
                {vk::Back, 'Z', vk::Return},
                k31.substr(0, 30) + "z",
                0,
                1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(FileRequesterTest, ShiftHeldTypesCapitals)
{
    OpenOnSaves(FileRequester::kTypeName);
    requester_.OnKey(kKeyWentDown, vk::Shift);
    requester_.OnKey(kKeyWentDown, 'W');
    requester_.OnKey(kKeyWentUp, vk::Shift);
    requester_.OnKey(kKeyWentDown, 'M');
    EXPECT_EQ(requester_.TypedName(), "Wm");
}

TEST_F(FileRequesterTest, OnlyTheOkButtonAcceptsAFullName)
{
    OpenOnSaves(FileRequester::kTypeName);
    for (int i = 0; i < FileRequester::kMaxNameLength; ++i)
    {
        requester_.OnKey(kKeyWentDown, 'K');
    }
    requester_.OnKey(kKeyWentDown, vk::Return);
    EXPECT_EQ(requester_.GetResult(nullptr), FileRequester::kPending);
    EXPECT_EQ(requester_.OnMouse(kX + 30, kY + 270, true, true, 0), 0);
    std::string name;
    EXPECT_EQ(requester_.GetResult(&name), FileRequester::kAccepted);
    EXPECT_EQ(name, std::string(31, 'k'));
}

struct Click
{
    int32_t x;  // window-relative
    int32_t y;
    bool click;
    uint32_t ms = 0;
};

struct MouseCase
{
    const char* name;
    int32_t mode;
    std::vector<Click> clicks;
    int32_t selected;
    int32_t scroll;
    int32_t result;
    std::vector<std::string> entriesAfter;
    uint32_t beeps;
};

class FileRequesterMouse : public FileRequesterTest, public testing::WithParamInterface<MouseCase>
{
};

TEST_P(FileRequesterMouse, ClicksAndHeldButtons)
{
    const MouseCase& test = GetParam();
    for (int i = 0; i < 20; ++i)
    {
        directory_.WriteFile("save/wm/z" + std::to_string(10 + i) + ".sav", "x");
    }
    OpenOnSaves(test.mode);
    for (const Click& click : test.clicks)
    {
        requester_.OnMouse(kX + click.x, kY + click.y, click.click, true, click.ms);
    }
    EXPECT_EQ(requester_.Selected(), test.selected);
    EXPECT_EQ(requester_.Scroll(), test.scroll);
    std::string name;
    EXPECT_EQ(requester_.GetResult(&name), test.result);
    if (!test.entriesAfter.empty())
    {
        std::vector<std::string> firstEntries = Entries(requester_);
        firstEntries.resize(3);
        EXPECT_EQ(firstEntries, test.entriesAfter);
    }
    EXPECT_EQ(requester_.Beeps(), test.beeps);
}

// 23 files: rows 0..22, at most 13 shown, so the list scrolls 120 pixels at most.
INSTANTIATE_TEST_SUITE_P(
    Cases, FileRequesterMouse,
    testing::Values(
        MouseCase{"ClickSelectsTheRow", 1, {{200, 45 + 12 + 5, true}}, 1, 0, 0, {}, 0},
        MouseCase{"ClickBelowTheListSelectsNothing", 1, {{200, 184, false}}, -1, 0, 0, {}, 0},
        MouseCase{"OkAcceptsTheSelection", 1, {{200, 50, true}, {30, 270, true}}, 0, 0, 1, {}, 0},
        MouseCase{"OkWithoutSelectionBeeps", 1, {{30, 270, true}}, -1, 0, 0, {}, 1},
        MouseCase{"CancelCancels", 1, {{250, 270, true}}, -1, 0, 2, {}, 0},
        MouseCase{
            "ArrowsScrollByFourNotAboveTheTop",
            1,
            {{285, 182, true}, {285, 182, true}, {285, 44, true}, {285, 44, true}, {285, 44, true}},
            -1,
            0,
            0,
            {},
            0},
        MouseCase{"AHeldArrowRepeatsAfter600Ms",
                  1,
                  {{285, 182, true, 1000},
                   {285, 182, false, 1500},
                   {285, 182, false, 1601},
                   {285, 182, false, 1620}},
                  -1,
                  12,
                  0,
                  {},
                  0},
        MouseCase{"ScrollingStopsAtTheEndOfTheList",
                  1,
                  std::vector<Click>(40, Click{285, 182, true}),
                  -1,
                  120,
                  0,
                  {},
                  0},
        MouseCase{"ClickOnAScrolledRow",
                  1,
                  {{285, 182, true}, {285, 182, true}, {285, 182, true}, {200, 45, true}},
                  1,
                  12,
                  0,
                  {},
                  0},
        MouseCase{"DeleteAsksAndYesDeletes",
                  1,
                  {{200, 57, true}, {140, 270, true}, {60, 155, true}},
                  -1,
                  0,
                  0,
                  {"a.sav", "c.sav", "z10.sav"},
                  0},
        MouseCase{"DeleteAsksAndNoKeeps",
                  1,
                  {{200, 57, true}, {140, 270, true}, {210, 155, true}},
                  1,
                  0,
                  0,
                  {"a.sav", "b.sav", "c.sav"},
                  0},
        MouseCase{"DeleteWithoutSelectionBeeps", 1, {{140, 270, true}}, -1, 0, 0, {}, 1}),
    [](const testing::TestParamInfo<MouseCase>& info) { return std::string(info.param.name); });
