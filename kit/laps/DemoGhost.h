#pragma once

// The demo installation's ghost: a lap of the demo circuit on a 125, ridden at a steady pace
// and saved as the player's first ghost file, "save/ghost/GhostFile0.fhr".

#include <string>

#include "kit/laps/LapFileWriter.h"

namespace kit
{
inline constexpr const char* kDemoGhostPath = "save/ghost/GhostFile0.fhr";

// The lap; nothing, with the reason, when the demo circuit cannot be built.
bool MakeDemoGhost(LapFileContent& lap, std::string& error);

bool AddDemoGhost(const std::string& directory, std::string& error);
}  // namespace kit
