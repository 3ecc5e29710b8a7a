#pragma once

// The cartoons of the main menu's start page, "mainmenu/test3.ani" to "mainmenu/test5.ani":
// a bike riding past by day, one riding back at dusk, and a waving chequered flag, drawn from
// nothing.

#include <string>
#include <string_view>

#include "kit/CprWriter.h"
#include "kit/anim/AnimationWriter.h"

namespace kit
{

inline constexpr int kDemoAnimationWidth = 176;
inline constexpr int kDemoAnimationHeight = 128;
inline constexpr int kDemoAnimationFrames = 65;  // 13 s at five frames a second

// index 0 to 2.
std::string_view DemoAnimationName(int index);
AnimationFrames DemoAnimationFrames(int index);

// Adds the three animations to the menu archive.
bool AddDemoAnimations(CprWriter& menuArchive, std::string& error);

}  // namespace kit
