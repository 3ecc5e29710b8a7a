#pragma once

// The pre-race screen's two button sheets, "streckeninfo/ButtonsA.bmp" as the buttons stand and
// "streckeninfo/ButtonsH.bmp" lit under the pointer: back, set-up and start stacked in a 66
// pixel wide column, 29, 36 and 38 pixels high.

#include <string>

#include "kit/CprWriter.h"

namespace kit
{
bool AddPreRacePictures(CprWriter& menuArchive, std::string& error);
}  // namespace kit
