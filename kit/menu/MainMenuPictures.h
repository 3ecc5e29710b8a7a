#pragma once

// The main menu's pictures in the demo installation: the button sheets, the label pictures of
// the main buttons, the headline sheets, the rider-number oval, the three frame kits and the
// rider and circuit page backgrounds.

#include <string>

#include "core/game/GameEnums.h"
#include "kit/CprWriter.h"
#include "kit/picture/Picture.h"

namespace kit
{
// 1228 x 94: the bottom bar's and the panels' buttons at their sheet positions, lit or not.
RgbaPicture DemoButtonSheet(bool lit, Language language);
// 512 x 16: a row of frame tiles; each look has its own colour.
RgbaPicture DemoFrameKit(int look);
// 512 x 9 rows of 55: one headline per game mode.
RgbaPicture DemoHeadlineSheet(Language language);

// The English archive gets only the pictures with words on them; the others are the German
// archive's.
bool AddMainMenuPictures(CprWriter& menuArchive, Language language, std::string& error);
}  // namespace kit
