#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/device/RenderDevice.h"
#include "app/window/KeyListeners.h"
#include "frontend/toolkit/MenuFonts.h"
#include "platform/VirtualKeys.h"
#include "sound/ButtonSoundsPanel.h"
#include "tests/frontend/toolkit/ToolkitScreen.h"

namespace
{
MenuSoundTable ThreeSounds()
{
    MenuSoundTable table;
    table.files = {"", "sound/a.wav", "sound/b.wav", "sound/c.wav"};
    table.buttons[7] = {{1, 22050.0f, 0.5f}, {3, 22050.0f, 0.8f}};
    table.buttons[8] = {{2, 22050.0f, 0.5f}, {3, 22050.0f, 0.8f}};
    return table;
}

class ButtonSoundsPanelTest : public ToolkitScreen
{
protected:
    ButtonSoundsPanelTest()
    {
        for (const char* name :
             {"sound/a.wav", "sound/b.wav", "sound/c.wav", "sound/new.wav", "sound/notes.txt"})
        {
            directory_.WriteFile(name, "");
        }
        panel_ = std::make_unique<ButtonSoundsPanel>(editor_);  // it lists the folder as it opens
    }

    void ClickOn(size_t control, int32_t rowOffset = 0)
    {
        const Gadget& gadget = panel_->Control(control);
        panel_->Click(gadget.screenX + 2, gadget.screenY + 2 + rowOffset);
    }

    MenuSoundTable Saved() const
    {
        const std::string bytes = directory_.ReadFile("sound/menusounds.dat");
        return ParseMenuSoundTable(std::vector<uint8_t>(bytes.begin(), bytes.end())).value();
    }

    MenuSoundEditor editor_{ThreeSounds(), 7};
    std::unique_ptr<ButtonSoundsPanel> panel_;
};

TEST_F(ButtonSoundsPanelTest, DeletesTheSelectedSoundAndSavesOnOk)
{
    ClickOn(ButtonSoundsPanel::kList, 18 * 3);  // row 3: c.wav
    EXPECT_EQ(panel_->Selected(), 3);
    ClickOn(ButtonSoundsPanel::kDelete);
    EXPECT_EQ(editor_.Table().SoundCount(), 2u);
    EXPECT_EQ(panel_->Selected(), 2);
    ClickOn(ButtonSoundsPanel::kHighlightedNext);  // a.wav -> b.wav
    ClickOn(ButtonSoundsPanel::kOk);
    EXPECT_TRUE(panel_->IsClosed());
    EXPECT_TRUE(panel_->Saved());
    const MenuSoundTable saved = Saved();
    EXPECT_EQ(saved.buttons[7].highlighted.sound, 2u);
    EXPECT_EQ(saved.buttons[7].pressed.sound, 0u);  // it played c.wav
    EXPECT_EQ(saved.buttons[8].highlighted.sound, 2u);
}

TEST_F(ButtonSoundsPanelTest, NumberFieldsTakeDigitsAndBeepAtLetters)
{
    panel_->Enter();
    ClickOn(ButtonSoundsPanel::kHighlightedVolume);
    EXPECT_EQ(panel_->Focus(), ButtonSoundsPanel::Field::HighlightedVolume);
    for (int i = 0; i < 8; ++i)
    {
        NotifyKeyListeners(kKeyWentDown, vk::Back);
    }
    for (const uint8_t key : {uint8_t{'1'}, vk::OemPeriod, uint8_t{'5'}, uint8_t{'A'}})
    {
        NotifyKeyListeners(kKeyWentDown, key);
    }
    EXPECT_EQ(editor_.Values().highlightedVolume, "1.5");
    EXPECT_EQ(panel_->Beeps(), 1u);
    NotifyKeyListeners(kKeyWentDown, vk::Escape);  // closes, saving as OK does
    EXPECT_TRUE(panel_->IsClosed());
    EXPECT_EQ(Saved().buttons[7].highlighted.volume, 1.0f);
    panel_->Leave();
}

TEST_F(ButtonSoundsPanelTest, AddsAndReplacesWithTheChosenWaveFile)
{
    EXPECT_EQ(panel_->ChosenFile(), "a.wav");  // only .wav files are offered
    ClickOn(ButtonSoundsPanel::kFilePrevious);
    EXPECT_EQ(panel_->ChosenFile(), "new.wav");
    ClickOn(ButtonSoundsPanel::kAdd);
    EXPECT_EQ(editor_.Table().files.back(), "sound/new.wav");
    ClickOn(ButtonSoundsPanel::kList, 18);
    ClickOn(ButtonSoundsPanel::kFileNext);
    ClickOn(ButtonSoundsPanel::kReplace);
    EXPECT_EQ(editor_.Table().files[1], "sound/a.wav");
}

TEST_F(ButtonSoundsPanelTest, DrawsThePanel)
{
    OpenScreen();
    LoadMenuFonts();
    EXPECT_EQ(panel_->Step(), ButtonSoundsPanel::kStay);
    ASSERT_EQ(platform_.Frames().size(), 1u);
    const FrameView565 frame = Frame(0);
    EXPECT_EQ(frame.At(70, 50), 0x1106);  // the panel's dark blue
    ExpectGolden("button_sounds_panel", 0, kScreenWidth, kScreenHeight, 0xF6350F181B2AC16E);
}
}  // namespace
