#pragma once

// The set-up screen's pictures: the page pictures, the summary bars, the icon strip, the gadget
// sheets (each gadget's picture at its own screen place), the class tyre pictures, the tyre
// texts and the slider knob; drawn where the screen expects them.

#include <string>

#include "kit/CprWriter.h"

namespace kit
{
bool AddSetupPictures(CprWriter& menuArchive, std::string& error);
}  // namespace kit
