#pragma once

// What the main menu shows in 3D in the demo installation: the sixteen nation flags that wave
// in its corner, the machine that turns on the rider page and, for every class, the machine
// pictures its riders' liveries dress it in.

#include <string>

#include "kit/CprWriter.h"

namespace kit
{
bool AddMenuFlagsAndPreview(CprWriter& menuArchive, std::string& error);
}  // namespace kit
