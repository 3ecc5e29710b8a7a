#include "setup/DeviceSetupDialog.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace
{
struct DeviceTexts
{
    std::string_view title;
    std::string_view fullScreen;
    std::string_view frequency;
    std::string_view bufferSize;
    std::string_view voices;
    std::string_view interpolated;
    std::string_view off;
    std::string_view cancel;
};

constexpr std::array<DeviceTexts, kLanguageCount> kTexts = {{
    {"3D - Device Auswahl", "Vollbild", "Frequenz",
     "Buffergr\xF6\xDF"
     "e",
     "Stimmen", "Interpoliert", "Aus", "Abbruch"},
    {"3D - Device Selection", "Fullscreen", "Frequency", "Buffersize", "Voices", "Interpolated",
     "Off", "Cancel"},
}};

// Control ids of the sound labels, beside their lists.
constexpr int32_t kFrequencyLabel = 2002;
constexpr int32_t kBufferLabel = 2003;
constexpr int32_t kVoicesLabel = 2004;

std::string Formatted(const char* format, int a, int b = 0, int c = 0)
{
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, a, b, c);
    return text.data();
}

// A stored index taken as a list entry; anything outside the list is its first entry.
int32_t Entry(int32_t stored, size_t count)
{
    return stored >= 0 && static_cast<size_t>(stored) < count ? stored : 0;
}
}  // namespace

DeviceSetupDialog::DeviceSetupDialog(ConfigBlock& config, std::vector<std::string> libraries,
                                     RenderLibraryProbe& probe, Language language)
    : m_config(config), m_libraries(std::move(libraries)), m_probe(probe), m_language(language)
{
}

void DeviceSetupDialog::OnInitDialog(DialogHost& host)
{
    const DeviceTexts& texts =
        kTexts[ToIndex(m_language) < kLanguageCount ? ToIndex(m_language) : 0];
    host.SetText(kTitle, texts.title);
    host.SetText(kFullScreen, texts.fullScreen);
    host.SetText(kSoundGroup, "Sound");
    host.SetText(kFrequencyLabel, texts.frequency);
    host.SetText(kBufferLabel, texts.bufferSize);
    host.SetText(kVoicesLabel, texts.voices);
    host.SetText(kInterpolated, texts.interpolated);
    host.SetText(kSoundOff, texts.off);
    host.SetText(kOk, "OK");
    host.SetText(kCancel, texts.cancel);

    host.ClearItems(kLibraries);
    int32_t chosen = 0;
    for (size_t i = 0; i < m_libraries.size(); ++i)
    {
        host.AddItem(kLibraries, m_libraries[i]);
        if (m_libraries[i] == m_config.RenderLibraryName())
        {
            chosen = static_cast<int32_t>(i);
        }
    }
    host.SetSel(kLibraries, m_libraries.empty() ? -1 : chosen);

    const auto fill = [&](int32_t control, auto choices, size_t stored)
    {
        host.ClearItems(control);
        for (const int32_t choice : choices)
        {
            host.AddItem(control, Formatted("%d", choice));
        }
        host.SetSel(control, Entry(m_config.I32At(stored), choices.size()));
    };
    fill(kFrequencies, kFrequencyHz, ConfigBlock::kSoundRateIndexOffset);
    fill(kBufferSizes, kBufferSizeChoices, ConfigBlock::kSoundBufferIndexOffset);
    fill(kVoices, kVoiceChoices, ConfigBlock::kEngineVoiceIndexOffset);
    host.SetCheck(kFullScreen, m_config.U8At(ConfigBlock::kDisplayOptionOffset) != 0);
    host.SetCheck(kInterpolated, m_config.U8At(ConfigBlock::kSampleOptionOffset) != 0);
    host.SetCheck(kSoundOff, m_config.U8At(ConfigBlock::kSoundOffOffset) != 0);
    OnLibraryChanged(host);
}

void DeviceSetupDialog::OnLibraryChanged(DialogHost& host)
{
    const int32_t library = host.GetSel(kLibraries);
    m_devices.clear();
    if (library >= 0 && static_cast<size_t>(library) < m_libraries.size())
    {
        m_devices = m_probe.Devices(m_libraries[static_cast<size_t>(library)]);
    }
    host.ClearItems(kDevices);
    int32_t chosen = 0;
    for (size_t i = 0; i < m_devices.size(); ++i)
    {
        host.AddItem(kDevices, m_devices[i].name);
        chosen = m_devices[i].name == m_config.DisplayText() ? static_cast<int32_t>(i) : chosen;
    }
    host.SetSel(kDevices, m_devices.empty() ? -1 : chosen);
    OnDeviceChanged(host);
}

void DeviceSetupDialog::OnDeviceChanged(DialogHost& host)
{
    const int32_t device = host.GetSel(kDevices);
    host.ClearItems(kModes);
    m_shownModes.clear();
    if (device < 0 || static_cast<size_t>(device) >= m_devices.size())
    {
        host.SetSel(kModes, -1);
        OnModeChanged(host);
        return;
    }
    const DisplayModeRecord current = m_config.DisplayMode();
    const auto& modes = m_devices[static_cast<size_t>(device)].modes;
    int32_t chosen = 0;
    for (size_t i = 0; i < modes.size(); ++i)
    {
        if (modes[i].bitsPerPixel != 16)
        {
            continue;
        }
        const auto entry = static_cast<int32_t>(m_shownModes.size());
        host.AddItem(kModes, Formatted("%d  %d x %d", entry, modes[i].width, modes[i].height));
        if (modes[i].width == current.width && modes[i].height == current.height)
        {
            chosen = entry;
        }
        m_shownModes.push_back(i);
    }
    host.SetSel(kModes, m_shownModes.empty() ? -1 : chosen);
    OnModeChanged(host);
}

const ScreenModeChoice* DeviceSetupDialog::SelectedMode(const DialogHost& host) const
{
    const int32_t device = host.GetSel(kDevices);
    const int32_t mode = host.GetSel(kModes);
    if (device < 0 || static_cast<size_t>(device) >= m_devices.size() || mode < 0 ||
        static_cast<size_t>(mode) >= m_shownModes.size())
    {
        return nullptr;
    }
    return &m_devices[static_cast<size_t>(device)].modes[m_shownModes[static_cast<size_t>(mode)]];
}

void DeviceSetupDialog::OnModeChanged(DialogHost& host)
{
    host.ClearItems(kRefreshRates);
    const ScreenModeChoice* mode = SelectedMode(host);
    if (mode == nullptr || mode->refreshRatesHz.empty())
    {
        host.SetSel(kRefreshRates, -1);
        return;
    }
    int32_t chosen = 0;
    for (size_t i = 0; i < mode->refreshRatesHz.size(); ++i)
    {
        host.AddItem(kRefreshRates, Formatted("%d Hz", mode->refreshRatesHz[i]));
        chosen = mode->refreshRatesHz[i] == m_config.DisplayMode().refreshHz
                     ? static_cast<int32_t>(i)
                     : chosen;
    }
    host.SetSel(kRefreshRates, chosen);
}

void DeviceSetupDialog::OnOK(DialogHost& host)
{
    const int32_t library = host.GetSel(kLibraries);
    std::string name = library >= 0 && static_cast<size_t>(library) < m_libraries.size()
                           ? m_libraries[static_cast<size_t>(library)]
                           : std::string();
    if (name.empty() || name.size() >= ConfigBlock::kTextSize)
    {
        name = kDefaultLibrary;
    }
    m_config.SetRenderLibraryName(name);
    const int32_t device = host.GetSel(kDevices);
    if (device >= 0 && static_cast<size_t>(device) < m_devices.size() &&
        m_devices[static_cast<size_t>(device)].name.size() < ConfigBlock::kTextSize)
    {
        m_config.SetDisplayText(m_devices[static_cast<size_t>(device)].name);
    }
    if (const ScreenModeChoice* mode = SelectedMode(host))
    {
        const int32_t rate = host.GetSel(kRefreshRates);
        const int32_t refresh = rate >= 0 && static_cast<size_t>(rate) < mode->refreshRatesHz.size()
                                    ? mode->refreshRatesHz[static_cast<size_t>(rate)]
                                    : 0;
        m_config.SetDisplayMode({mode->width, mode->height, 16, refresh, 0});
    }
    m_config.SetI32At(ConfigBlock::kSoundRateIndexOffset,
                      Entry(host.GetSel(kFrequencies), kFrequencyHz.size()));
    m_config.SetI32At(ConfigBlock::kSoundBufferIndexOffset,
                      Entry(host.GetSel(kBufferSizes), kBufferSizeChoices.size()));
    m_config.SetI32At(ConfigBlock::kEngineVoiceIndexOffset,
                      Entry(host.GetSel(kVoices), kVoiceChoices.size()));
    m_config.SetU8At(ConfigBlock::kDisplayOptionOffset, host.GetCheck(kFullScreen) ? 1 : 0);
    m_config.SetU8At(ConfigBlock::kSampleOptionOffset, host.GetCheck(kInterpolated) ? 1 : 0);
    m_config.SetU8At(ConfigBlock::kSoundOffOffset, host.GetCheck(kSoundOff) ? 1 : 0);
    m_probe.Release();
    host.End(DialogResult::Ok);
}

void DeviceSetupDialog::OnCancel(DialogHost& host)
{
    m_probe.Release();
    host.End(DialogResult::Cancel);
}
