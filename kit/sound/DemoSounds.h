#pragma once

// The demo installation's engine-sound banks "Sound/125.std", "Sound/250.std" and
// "Sound/500.std", synthesised: two engine loops per class (low and high revs, crossfaded by
// the volume curves), two spare loops, and nine effect sounds (road and wind loops, tyre
// squeal, scrape, three crashes). Bit for bit the same on every machine.

#include <string>
#include <string_view>

#include "kit/CprWriter.h"
#include "kit/sound/SoundBankWriter.h"

namespace kit
{
inline constexpr uint32_t kDemoSoundRate = 22050;

// For classes 0, 1 and 2 (125, 250, 500 cc).
SoundBankContent DemoSoundBank(int bikeClass);
std::string_view DemoSoundBankName(int bikeClass);

// Adds the three banks to the archive the game reads them from (the menu archive).
bool AddDemoSounds(CprWriter& menuArchive, std::string& error);
}  // namespace kit
