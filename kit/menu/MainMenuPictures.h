#pragma once

// The main menu's pictures in the demo installation: the button sheets, the label pictures of
// the main buttons, the headline sheets, the rider-number oval, the three frame kits and the
// rider and circuit page backgrounds.

#include <string>

#include "kit/CprWriter.h"
#include "kit/picture/Picture.h"

namespace kit
{
// 1216 x 94: the bottom bar's buttons at their sheet positions, lit or not.
RgbaPicture DemoButtonSheet(bool lit);
// 512 x 16: a row of frame tiles; each look has its own colour.
RgbaPicture DemoFrameKit(int look);
// 512 x 9 rows of 55: one headline per game mode.
RgbaPicture DemoHeadlineSheet();

bool AddMainMenuPictures(CprWriter& menuArchive, std::string& error);
}  // namespace kit
