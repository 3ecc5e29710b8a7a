#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/DeviceSetupDialog.h"
#include "tests/setup/FakeRenderLibraryProbe.h"
#include "tests/setup/ScriptedDialogHost.h"

namespace
{
ConfigBlock ChosenConfig()
{
    ConfigBlock config;
    config.SetRenderLibraryName("ZarvoGlide2.so");
    config.SetDisplayText("Software");
    config.SetDisplayMode({1024, 768, 16, 85, 0});
    config.SetI32At(ConfigBlock::kSoundRateIndexOffset, 2);
    config.SetI32At(ConfigBlock::kSoundBufferIndexOffset, 99);  // damaged: the first entry
    return config;
}

TEST(DeviceSetupDialog, OpensOnTheChoicesOfTheSetUpRecord)
{
    ConfigBlock config = ChosenConfig();
    FakeProbe probe;
    DeviceSetupDialog dialog(config, {"other.so", "ZarvoGlide2.so"}, probe, Language::English);
    ScriptedDialogHost host;
    dialog.OnInitDialog(host);

    EXPECT_EQ(host.texts.at(DeviceSetupDialog::kTitle), "3D - Device Selection");
    EXPECT_EQ(host.texts.at(DeviceSetupDialog::kCancel), "Cancel");
    EXPECT_EQ(host.GetSel(DeviceSetupDialog::kLibraries), 1);
    EXPECT_EQ(probe.loaded, (std::vector<std::string>{"ZarvoGlide2.so"}));
    // Only the 16-bit modes, numbered in the list.
    EXPECT_EQ(host.items.at(DeviceSetupDialog::kModes),
              (std::vector<std::string>{"0  640 x 480", "1  1024 x 768"}));
    EXPECT_EQ(host.GetSel(DeviceSetupDialog::kModes), 1);
    EXPECT_EQ(host.items.at(DeviceSetupDialog::kRefreshRates),
              (std::vector<std::string>{"60 Hz", "70 Hz", "85 Hz"}));
    EXPECT_EQ(host.GetSel(DeviceSetupDialog::kRefreshRates), 2);
    EXPECT_EQ(host.items.at(DeviceSetupDialog::kFrequencies),
              (std::vector<std::string>{"11000", "22050", "44100"}));
    EXPECT_EQ(host.GetSel(DeviceSetupDialog::kFrequencies), 2);
    EXPECT_EQ(host.GetSel(DeviceSetupDialog::kBufferSizes), 0);
    EXPECT_TRUE(host.GetCheck(DeviceSetupDialog::kFullScreen));

    ScriptedDialogHost german;
    DeviceSetupDialog(config, {}, probe, Language::German).OnInitDialog(german);
    EXPECT_EQ(german.texts.at(DeviceSetupDialog::kTitle), "3D - Device Auswahl");
    EXPECT_EQ(german.texts.at(2003),
              "Buffergr\xF6\xDF"
              "e");
    EXPECT_EQ(german.GetSel(DeviceSetupDialog::kModes), -1);  // no library, no modes
}

TEST(DeviceSetupDialog, OkWritesTheChoicesAndCancelNothing)
{
    const ConfigBlock opened = ChosenConfig();
    FakeProbe probe;
    ConfigBlock cancelled = opened;
    {
        DeviceSetupDialog dialog(cancelled, {"other.so", "ZarvoGlide2.so"}, probe,
                                 Language::German);
        ScriptedDialogHost host;
        dialog.OnInitDialog(host);
        host.SetSel(DeviceSetupDialog::kLibraries, 0);
        dialog.OnLibraryChanged(host);
        dialog.OnCancel(host);
        EXPECT_EQ(host.result, DialogResult::Cancel);
    }
    EXPECT_EQ(cancelled, opened);

    ConfigBlock config = opened;
    DeviceSetupDialog dialog(config, {"other.so", "ZarvoGlide2.so"}, probe, Language::German);
    ScriptedDialogHost host;
    dialog.OnInitDialog(host);
    host.SetSel(DeviceSetupDialog::kLibraries, 0);
    dialog.OnLibraryChanged(host);
    host.SetSel(DeviceSetupDialog::kDevices, 1);
    dialog.OnDeviceChanged(host);
    EXPECT_EQ(host.items.at(DeviceSetupDialog::kRefreshRates), (std::vector<std::string>{"72 Hz"}));
    host.SetSel(DeviceSetupDialog::kVoices, 2);
    host.SetCheck(DeviceSetupDialog::kSoundOff, true);
    host.SetCheck(DeviceSetupDialog::kFullScreen, false);
    const int releasesBefore = probe.releases;
    dialog.OnOK(host);

    EXPECT_EQ(host.result, DialogResult::Ok);
    EXPECT_EQ(config.RenderLibraryName(), "other.so");
    EXPECT_EQ(config.DisplayText(), "Second");
    const DisplayModeRecord mode = config.DisplayMode();
    EXPECT_EQ(mode.width, 640);
    EXPECT_EQ(mode.height, 480);
    EXPECT_EQ(mode.bitsPerPixel, 16);
    EXPECT_EQ(mode.refreshHz, 72);
    EXPECT_EQ(config.I32At(ConfigBlock::kSoundRateIndexOffset), 2);
    EXPECT_EQ(config.I32At(ConfigBlock::kSoundBufferIndexOffset), 0);
    EXPECT_EQ(config.I32At(ConfigBlock::kEngineVoiceIndexOffset), 2);
    EXPECT_EQ(config.U8At(ConfigBlock::kSoundOffOffset), 1);
    EXPECT_EQ(config.U8At(ConfigBlock::kDisplayOptionOffset), 0);
    EXPECT_EQ(probe.releases, releasesBefore + 1);
}

TEST(DeviceSetupDialog, AnUnusableLibraryNameBecomesTheBuiltInOne)
{
    for (const std::string& name : {std::string(), std::string(1024, 'x')})
    {
        ConfigBlock config = ChosenConfig();
        FakeProbe probe;
        DeviceSetupDialog dialog(config, {name}, probe, Language::English);
        ScriptedDialogHost host;
        dialog.OnInitDialog(host);
        dialog.OnOK(host);
        EXPECT_EQ(config.RenderLibraryName(), DeviceSetupDialog::kDefaultLibrary) << name.size();
        EXPECT_EQ(config.DisplayMode().width, 1024);  // no modes listed: the mode stays
    }
}
}  // namespace
