#pragma once

// The 3D-device dialog: which render library, which of its devices and which 16-bit display
// mode and refresh rate the game starts with, and the sound choices; all of it lands in the 3D
// set-up record on OK and nothing on Cancel. The libraries' devices and modes come from a probe
// that loads a library and releases it again.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/config/ConfigBlock.h"
#include "core/game/GameEnums.h"
#include "setup/DialogHost.h"

struct ScreenModeChoice
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    std::vector<int32_t> refreshRatesHz;
};

struct RenderDeviceChoice
{
    std::string name;
    std::vector<ScreenModeChoice> modes;
};

class RenderLibraryProbe
{
public:
    virtual ~RenderLibraryProbe() = default;
    // Loads the library (releasing one loaded before) and lists its devices; none when it
    // cannot be loaded.
    virtual std::vector<RenderDeviceChoice> Devices(const std::string& library) = 0;
    virtual void Release() = 0;
};

class DeviceSetupDialog
{
public:
    static constexpr int32_t kLibraries = 1051;
    static constexpr int32_t kDevices = 1052;
    static constexpr int32_t kModes = 1053;
    static constexpr int32_t kRefreshRates = 1054;
    static constexpr int32_t kFullScreen = 1100;
    static constexpr int32_t kSoundGroup = 1101;
    static constexpr int32_t kFrequencies = 1002;
    static constexpr int32_t kBufferSizes = 1003;
    static constexpr int32_t kVoices = 1004;
    static constexpr int32_t kSoundOff = 1005;
    static constexpr int32_t kInterpolated = 1006;
    static constexpr int32_t kTitle = 0;
    static constexpr int32_t kOk = 1;
    static constexpr int32_t kCancel = 2;

    static constexpr std::array<int32_t, 3> kFrequencyHz = {11000, 22050, 44100};
    static constexpr std::array<int32_t, 5> kBufferSizeChoices = {256, 512, 1024, 2048, 4096};
    static constexpr std::array<int32_t, 3> kVoiceChoices = {4, 8, 16};
    static constexpr const char* kDefaultLibrary = "ZarvoGlide2.so";

    DeviceSetupDialog(ConfigBlock& config, std::vector<std::string> libraries,
                      RenderLibraryProbe& probe, Language language);

    void OnInitDialog(DialogHost& host);
    void OnLibraryChanged(DialogHost& host);
    void OnDeviceChanged(DialogHost& host);
    void OnModeChanged(DialogHost& host);
    void OnOK(DialogHost& host);
    void OnCancel(DialogHost& host);

private:
    const ScreenModeChoice* SelectedMode(const DialogHost& host) const;

    ConfigBlock& m_config;
    std::vector<std::string> m_libraries;
    RenderLibraryProbe& m_probe;
    Language m_language;
    std::vector<RenderDeviceChoice> m_devices;
    std::vector<size_t> m_shownModes;  // 16-bit modes of the selected device, by list entry
};
