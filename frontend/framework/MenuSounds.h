#pragma once

// The sounds of the menu buttons, played from the menu-sound table of the sound manager.
// Main thread only.

#include <cstdint>

struct Gadget;

// The first variant of the entry when variant is non-zero, else the second; nothing when the
// entry's sample is not loaded.
void PlayMenuSound(uint32_t event, int32_t variant);
void PlayGadgetSound(const Gadget& gadget, int32_t variant);
