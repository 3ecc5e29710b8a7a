#pragma once

// The pit box's pictures in the demo installation: page backgrounds, the headline strips and
// the button sheets of every page in the menu archive, the ghost page's in the patch archive.

#include <string>

#include "kit/CprWriter.h"

namespace kit
{
bool AddPitBoxPictures(CprWriter& menuArchive, CprWriter& patchArchive, std::string& error);
}  // namespace kit
