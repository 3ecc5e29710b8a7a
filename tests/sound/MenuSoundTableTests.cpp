#include <gtest/gtest.h>

#include <bit>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "sound/MenuSoundEditor.h"
#include "sound/MenuSoundTable.h"
#include "tests/support/TestDirectory.h"

namespace
{
// Five sounds; buttons use 3, 4 and 5 and none.
MenuSoundTable FiveSounds()
{
    MenuSoundTable table;
    table.files = {"", "sound/a.wav", "sound/b.wav", "sound/c.wav", "sound/d.wav", "sound/e.wav"};
    table.buttons[0] = {{3, 22050.0f, 0.5f}, {5, 11025.0f, 1.0f}};
    table.buttons[42] = {{4, 22050.0f, 0.5f}, {3, 11025.0f, 1.0f}};
    table.buttons[99] = {{0, 0.0f, 0.0f}, {2, 30000.0f, 0.2f}};
    return table;
}

TEST(MenuSoundTable, WritesAndReadsItsLayout)
{
    const MenuSoundTable table = FiveSounds();
    const std::vector<uint8_t> bytes = BuildMenuSoundTable(table);
    ASSERT_EQ(bytes.size(), 2664u + 260 * 5);
    EXPECT_EQ(LoadLe32(bytes.data()), 5u);
    EXPECT_EQ(LoadLe32(bytes.data() + 4 + 42 * 24), 4u);
    EXPECT_EQ(std::bit_cast<float>(LoadLe32(bytes.data() + 4 + 42 * 24 + 16)), 11025.0f);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 2404 + 260 * 3)),
              "sound/c.wav");
    EXPECT_EQ(bytes[2404], 0);  // entry 0 holds no name

    const std::optional<MenuSoundTable> read = ParseMenuSoundTable(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->files, table.files);
    EXPECT_EQ(read->buttons[99].pressed.pitch, 30000.0f);
    EXPECT_EQ(read->buttons[0].pressed.sound, 5u);
}

TEST(MenuSoundTable, RefusesWhatDoesNotFitAndMendsWhatItCan)
{
    std::vector<uint8_t> bytes = BuildMenuSoundTable(FiveSounds());
    EXPECT_FALSE(ParseMenuSoundTable(std::span(bytes).first(bytes.size() - 1)));
    std::vector<uint8_t> tooMany = bytes;
    StoreLe32(tooMany.data(), 100);
    EXPECT_FALSE(ParseMenuSoundTable(tooMany));
    EXPECT_FALSE(ParseMenuSoundTable(std::span(bytes).first(100)));

    StoreLe32(bytes.data() + 4 + 7 * 24, 6);  // a sound beyond the list
    std::fill(bytes.begin() + 2404 + 260, bytes.begin() + 2404 + 520, uint8_t{'x'});  // no end
    const std::optional<MenuSoundTable> read = ParseMenuSoundTable(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->buttons[7].highlighted.sound, 0u);
    EXPECT_EQ(read->files[1], std::string(255, 'x'));
}

TEST(MenuSoundEditor, DeletingASoundRemapsEveryIndex)
{
    MenuSoundEditor editor(FiveSounds(), 42);
    EXPECT_EQ(editor.Values().highlighted, 4);
    EXPECT_EQ(editor.Values().pressed, 3);
    EXPECT_FALSE(editor.Delete(0));  // "None" stays
    ASSERT_TRUE(editor.Delete(3));
    const MenuSoundTable& table = editor.Table();
    EXPECT_EQ(table.SoundCount(), 4u);
    EXPECT_EQ(editor.ListEntries(),
              (std::vector<std::string>{"None", "a.wav", "b.wav", "d.wav", "e.wav"}));
    EXPECT_EQ(table.buttons[0].highlighted.sound, 0u);  // was 3
    EXPECT_EQ(table.buttons[0].pressed.sound, 4u);      // was 5
    EXPECT_EQ(table.buttons[99].pressed.sound, 2u);     // below: kept
    EXPECT_EQ(editor.Values().highlighted, 3);          // was 4
    EXPECT_EQ(editor.Values().pressed, 0);              // was 3
}

TEST(MenuSoundEditor, SaveClampsTheNumbersAndKeepsWhatIsNoNumber)
{
    TestDirectory directory;
    MenuSoundEditor editor(FiveSounds(), 0);
    EXPECT_EQ(editor.Title("ButtonSounds"), "ButtonSounds   ButtonID: 00");
    EXPECT_EQ(editor.Values().highlightedVolume, "0.500000");
    editor.Values() = {1, 2, "1.5", "500", "", "50000"};
    ASSERT_TRUE(editor.Add("/somewhere/else/new.wav"));
    EXPECT_FALSE(editor.Save());  // no "sound" folder to write into
    directory.WriteFile("sound/click.wav", "");
    ASSERT_TRUE(editor.Save());

    const std::string saved = directory.ReadFile("sound/menusounds.dat");
    const std::optional<MenuSoundTable> read =
        ParseMenuSoundTable(std::vector<uint8_t>(saved.begin(), saved.end()));
    ASSERT_TRUE(read);
    const ButtonSoundEntry& entry = read->buttons[0];
    EXPECT_EQ(entry.highlighted.sound, 1u);
    EXPECT_EQ(entry.highlighted.volume, 1.0f);
    EXPECT_EQ(entry.highlighted.pitch, 1000.0f);
    EXPECT_EQ(entry.pressed.sound, 2u);
    EXPECT_EQ(entry.pressed.volume, 1.0f);  // empty text: as it was
    EXPECT_EQ(entry.pressed.pitch, 44100.0f);
    EXPECT_EQ(read->files.back(), "sound/new.wav");
}

TEST(MenuSoundEditor, TheListHoldsNinetyNineSoundsAtMost)
{
    MenuSoundTable table;
    MenuSoundEditor editor(table, 1);
    for (int i = 0; i < 99; ++i)
    {
        ASSERT_TRUE(editor.Add("s.wav"));
    }
    EXPECT_FALSE(editor.Add("one-more.wav"));
    EXPECT_TRUE(editor.Replace(99, "last.wav"));
    EXPECT_FALSE(editor.Replace(100, "beyond.wav"));
    EXPECT_EQ(editor.Table().files[99], "sound/last.wav");
}

TEST(MenuSoundEditor, NumberFieldsTakeDigitsThePointAndBackspace)
{
    for (const char c : std::string("0123456789.\b"))
    {
        EXPECT_TRUE(MenuSoundEditor::IsNumberKey(c)) << c;
    }
    for (const char c : std::string("aZ-,e "))
    {
        EXPECT_FALSE(MenuSoundEditor::IsNumberKey(c)) << c;
    }
}
}  // namespace
