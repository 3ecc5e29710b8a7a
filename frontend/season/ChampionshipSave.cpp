#include "frontend/season/ChampionshipSave.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/settings/MenuStateChecks.h"
#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"
#include "frontend/settings/MenuStateFile.h"
#include "race/RaceContext.h"
#include "setup/SetupStream.h"

namespace
{
constexpr uint32_t kCurrentVersion = 2;
constexpr uint32_t kOlderVersion = 1;
constexpr size_t kSizeField = 0;
constexpr size_t kVersionField = 4;

// Bytes that belong to this machine rather than to the championship: {offset, length}.
constexpr std::array<std::pair<size_t, size_t>, 8> kMachineBytes = {{
    {MenuState::kIntroOffset, 1},
    {MenuState::kVolumeOffset, 4},
    {MenuState::kMenuMusicOffOffset, 1},
    {MenuState::kRaceMusicOffOffset, 1},
    {MenuState::kViewDistanceOffset, 4},
    {MenuState::kModelDetailOffset, 1},
    {MenuState::kControlDeviceOffset, 4},
    {MenuState::kControlMapOffset, 9},  // the keys; the sensitivities come with the save
}};

std::optional<size_t> RecordSizeOfHead(std::span<const uint8_t> bytes)
{
    if (bytes.size() <= kVersionField + 4)
    {
        return std::nullopt;
    }
    const uint32_t size = LoadLe32(&bytes[kSizeField]);
    const uint32_t version = LoadLe32(&bytes[kVersionField]);
    if (size == MenuState::kSize && version == kCurrentVersion)
    {
        return MenuState::kSize;
    }
    if (size == MenuState::kOldSize && version == kOlderVersion)
    {
        return MenuState::kOldSize;
    }
    return std::nullopt;
}

void KeepMachineBytes(MenuState& settings, const MenuState& machine)
{
    for (const auto& [offset, length] : kMachineBytes)
    {
        std::copy_n(machine.Bytes().begin() + offset, length, settings.Bytes().begin() + offset);
    }
}

bool IsWithinRanges(const MenuState& settings)
{
    MenuState checked = settings;
    ReplaceOutOfRangeValues(checked);
    return checked == settings;
}

std::optional<std::vector<uint8_t>> ReadSavePrefix(std::string_view path)
{
    files::File file(path, files::File::Mode::Read);
    if (!file)
    {
        return std::nullopt;
    }
    // Bytes after the set-up stream are not read, however long the file.
    constexpr size_t kLongest = kChampionshipSaveHeadSize + MenuState::kSize + kSetupStreamSize;
    std::vector<uint8_t> bytes(std::min<uint64_t>(file.Size(), kLongest));
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return bytes;
}
}  // namespace

std::vector<uint8_t> EncodeChampionshipSave(const MenuState& settings, const BikeSetup& setup)
{
    std::vector<uint8_t> bytes(kChampionshipSaveHeadSize + MenuState::kSize + kSetupStreamSize, 0);
    StoreLe32(&bytes[kSizeField], MenuState::kSize);
    StoreLe32(&bytes[kVersionField], kCurrentVersion);
    const auto record = bytes.begin() + kChampionshipSaveHeadSize;
    std::ranges::copy(settings.Bytes(), record);
    std::ranges::copy(StoreSetupStream(setup), record + MenuState::kSize);
    return bytes;
}

std::optional<ChampionshipSaveContents> DecodeChampionshipSave(std::span<const uint8_t> bytes,
                                                               const MenuState& machine)
{
    const std::optional<size_t> recordSize = RecordSizeOfHead(bytes);
    if (!recordSize || bytes.size() < kChampionshipSaveHeadSize + *recordSize + kSetupStreamSize)
    {
        return std::nullopt;
    }
    ChampionshipSaveContents contents{.settings = machine, .setupStream = {}};
    MenuState& settings = contents.settings;
    std::copy_n(bytes.begin() + kChampionshipSaveHeadSize, *recordSize, settings.Bytes().begin());
    if (*recordSize == MenuState::kOldSize)
    {
        settings.SetControls(ControlsOfOlderRecord(settings));
    }
    KeepMachineBytes(settings, machine);
    if (!IsWithinRanges(settings))
    {
        return std::nullopt;
    }
    contents.setupStream = bytes.subspan(kChampionshipSaveHeadSize + *recordSize, kSetupStreamSize);
    return contents;
}

bool SaveChampionship(std::string_view path)
{
    const uint32_t rider = g_playerRider;
    if (rider >= kRiderCount)
    {
        return false;
    }
    return files::ReplaceAtomically(path,
                                    EncodeChampionshipSave(g_menuState, g_bikes[rider].setup));
}

bool LoadChampionship(std::string_view path)
{
    const std::optional<std::vector<uint8_t>> bytes = ReadSavePrefix(path);
    if (!bytes)
    {
        return false;
    }
    const std::optional<ChampionshipSaveContents> contents =
        DecodeChampionshipSave(*bytes, g_menuState);
    if (!contents)
    {
        return false;
    }
    g_menuState = contents->settings;
    ApplyMenuState();
    return LoadSetupStream(contents->setupStream, g_bikes[g_playerRider].setup);
}
