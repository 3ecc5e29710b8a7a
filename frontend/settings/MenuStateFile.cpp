#include "frontend/settings/MenuStateFile.h"

#include <optional>
#include <string_view>

#include "app/archive/ArchiveSet.h"
#include "app/game/CurrentRace.h"
#include "app/settings/MenuStateChecks.h"
#include "core/files/FileSystem.h"
#include "race/RaceContext.h"

namespace
{
constexpr std::string_view kSettingsFileName = "menustate.dat";
constexpr uint32_t kKeyboardDevice = 1;
constexpr uint8_t kClutchOnZAxis = 8;

std::optional<MenuState> ReadSettingsFile()
{
    files::File file(kSettingsFileName, files::File::Mode::Read);
    if (!file)
    {
        return std::nullopt;
    }
    const uint64_t length = file.Size();
    if (length != MenuState::kSize && length != MenuState::kOldSize)
    {
        return std::nullopt;
    }
    MenuState state;
    if (file.Read(state.Bytes().data(), length) != length)
    {
        return std::nullopt;
    }
    if (length == MenuState::kOldSize)
    {
        state.SetControls(ControlsOfOlderRecord(state));
    }
    return state;
}
}  // namespace

// The older record kept eight keys of its own and nothing of the joystick: a keyboard player
// keeps the keys, a joystick player gets the stick's standard buttons and axes.
ControlMap ControlsOfOlderRecord(const MenuState& state)
{
    if (state.U32At(MenuState::kControlDeviceOffset) != kKeyboardDevice)
    {
        return {.throttle = 7,
                .brake = 6,
                .left = 5,
                .right = 4,
                .clutchSelector = kClutchOnZAxis,
                .shiftUp = 0,
                .shiftDown = 2,
                .wheelie = 1,
                .lookBack = 3,
                .throttleSensitivity = 0x64,
                .brakeSensitivity = 0x64,
                .steeringSensitivity = 0x50};
    }
    const auto key = [&state](size_t index)
    { return state.U8At(MenuState::kOldControlKeysOffset + index); };
    return {.throttle = key(0),
            .brake = key(1),
            .left = key(2),
            .right = key(3),
            .clutchSelector = kClutchOnZAxis,
            .shiftUp = key(4),
            .shiftDown = key(5),
            .wheelie = key(6),
            .lookBack = key(7),
            .throttleSensitivity = 0x32,
            .brakeSensitivity = 0x64,
            .steeringSensitivity = 0x50};
}

void LoadMenuState()
{
    g_menuState = ReadSettingsFile().value_or(MenuState());
    g_menuState.SetU32At(MenuState::kSessionOffset, 0);
    g_menuState.SetU8At(MenuState::kTimeLimitOnOffset, 0);
    ApplyMenuState();
}

bool SaveMenuState()
{
    return files::ReplaceAtomically(kSettingsFileName, g_menuState.Bytes());
}

void ApplyMenuState()
{
    ReplaceOutOfRangeValues(g_menuState);
    g_language = static_cast<Language>(g_menuState.U32At(MenuState::kLanguageOffset));
    g_playerRider = g_menuState.U32At(MenuState::kPlayerRiderOffset);
    g_circuitIndex = static_cast<CircuitId>(g_menuState.U32At(MenuState::kCircuitOffset));
    g_bikeClass = static_cast<BikeClass>(g_menuState.U32At(MenuState::kBikeClassOffset));
    g_gameMode = static_cast<GameMode>(g_menuState.U32At(MenuState::kGameModeOffset));
    g_raceContext.LoadClassBikeSetups(g_archiveMenu, g_bikeClass);
}
