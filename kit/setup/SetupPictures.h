#pragma once

// The set-up screen's pictures: the page pictures, the summary bars, the icon strip, the gadget
// sheets (each gadget's picture at its own screen place), the class tyre pictures, the tyre
// texts and the slider knob; drawn where the screen expects them.

#include <string>

#include "kit/DemoInstallation.h"

namespace kit
{
// The English menu archive gets its own pictures with words on them (the page titles and the
// tyre buttons); the others are the German archive's.
bool AddSetupPictures(DemoArchives& archives, std::string& error);
}  // namespace kit
