#pragma once

// The demo installation's start screen: the picture the main menu shows after start-up.

#include <string>

#include "kit/CprWriter.h"
#include "kit/picture/Picture.h"

namespace kit
{
inline constexpr const char* kStartScreenName = "MainMenu/startscreen.jpg";

// 640 x 480: a road running towards the horizon under an evening sky. The same on every
// machine.
RgbaPicture DemoStartScreen();

// Adds the start screen to the menu archive.
bool AddStartScreen(CprWriter& menuArchive, std::string& error);
}  // namespace kit
