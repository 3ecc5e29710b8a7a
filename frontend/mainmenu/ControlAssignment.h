#pragma once

// The controls panel's assignment: the nine control rows of the settings' control map (codes
// of ControlMap.h), the names of the codes a row can take, and how a key or a joystick
// deflection pressed for a waiting row moves the codes so that no code drives two controls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/input/JoystickBlock.h"
#include "core/game/GameEnums.h"

inline constexpr size_t kControlRows = 9;
inline constexpr size_t kClutchRow = 4;  // takes a whole joystick axis
using ControlCodes = std::span<uint8_t, kControlRows>;

// 0 for a code no row can take, else the code's place in the name table (1..63).
uint8_t ControlCodePermission(uint8_t code);
// The name shown for a code; a code without a name shows the first one.
const char* ControlCodeName(uint8_t code, Language language);

// A key pressed while a row waits. The key takes the row; a row that held the key gets the
// row's old code. Keys without a name, joystick codes and keys while the clutch row waits
// change nothing; nor does the key of the clutch. Returns true when the map changed.
bool AssignKey(ControlCodes codes, size_t waiting, uint8_t key);

// A joystick button (0..3) or axis direction (4..11) read for the waiting row. Swaps as
// AssignKey does, keeping the clutch on a whole axis: a direction of the clutch's axis moves
// the clutch to the waiting row's old axis. Returns false when the row keeps waiting.
bool AssignJoystickCode(ControlCodes codes, size_t waiting, uint8_t code);

// Reads the joystick for a waiting row: the lowest button held, else the one axis pushed past
// halfway from its centre. An axis must come back to the centre before it counts again, so
// that a stick held over gives one code, not one per frame.
class JoystickCodeReader
{
public:
    void Disarm() { armed_.fill(false); }
    std::optional<uint8_t> Read(const JoystickBlock& joystick);

private:
    std::array<bool, kJoystickAxisCount> armed_{};
};
