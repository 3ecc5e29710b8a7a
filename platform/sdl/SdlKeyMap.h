#pragma once

// SDL keys as Windows virtual-key codes. Letters and digits follow the layout, as they do on
// Windows: the key labelled Y is 'Y' whether it sits where a German or an English board puts
// it. Every other key goes by its position, so that the punctuation keys keep one code
// whatever the layout prints on them.

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include <cstdint>
#include <vector>

// 0 when the key has no virtual-key code.
uint8_t VirtualKeyFromSdl(SDL_Keycode keycode, SDL_Scancode scancode);

// The physical keys that give a virtual-key code on the current layout; the generic Shift,
// Ctrl and Alt codes take both sides. Empty when no key gives it. Reads SDL's keymap, so it
// belongs to the thread that pumps SDL's events.
std::vector<SDL_Scancode> ScancodesOfVirtualKey(uint8_t virtualKey);
