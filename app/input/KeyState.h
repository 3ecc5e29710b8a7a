#pragma once

// The key-state table: one byte per Windows virtual-key code (mouse buttons at 1 and 2).
// Bit 1 is held, bit 0 is pressed since the last read and stays latched until a read takes
// it. The message pump sets the bits on the main thread while the input step reads and
// unlatches them on the timer thread, so every change is one atomic read-modify-write and
// neither side can lose the other's.

#include <array>
#include <atomic>
#include <cstdint>

inline constexpr uint8_t kKeyPressed = 1;
inline constexpr uint8_t kKeyHeld = 2;

extern std::array<std::atomic<uint8_t>, 256> g_keyState;

// The key went down: held and pressed.
void PressKey(uint32_t vk);
// The key went up: no longer held; a press not read yet stays latched.
void ReleaseKey(uint32_t vk);

// The key's state, taking its pressed bit. Shift, Ctrl and Alt (16, 17, 18) answer for
// either side: the generic, left and right bytes together. A code outside the table
// reads 0.
uint8_t ReadKey(uint32_t vk);

void ClearKey(uint32_t vk);
void ClearAllKeys();
