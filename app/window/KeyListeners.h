#pragma once

// Functions that the message pump tells of every key that goes down or up, in the order they
// were added, after the key table has taken the key; text entry and key assignment use them.
// A listener that returns 1 takes the key: the listeners after it do not hear of it.
// Main thread only.

#include <cstdint>

inline constexpr uint32_t kKeyWentDown = 0;
inline constexpr uint32_t kKeyWentUp = 1;

using KeyListener = int32_t (*)(uint32_t kind, uint32_t virtualKey);

void AddKeyListener(KeyListener listener);
// Removes every entry of the function.
void RemoveKeyListener(KeyListener listener);
// A listener may add or remove listeners while it is told; the change counts from the next key.
void NotifyKeyListeners(uint32_t kind, uint32_t virtualKey);
