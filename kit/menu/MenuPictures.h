#pragma once

// The pictures that the menu toolkit loads with the menu fonts: the mouse pointer, the class
// picture and the backgrounds of the file requester and of the yes/no requester.

#include <string>
#include <string_view>

#include "kit/CprWriter.h"
#include "kit/picture/Picture.h"

namespace kit
{
inline constexpr std::string_view kPointerPictureName = "mainmenu/cursor.bmp";
inline constexpr std::string_view kClassPictureName = "mainmenu/klassen.bmp";
inline constexpr std::string_view kFileRequesterPictureName = "mainmenu/filerequester.bmp";
inline constexpr std::string_view kAskRequesterPictureName = "mainmenu/Askrequester.bmp";

// 32 x 32: an arrow with its tip at the top-left corner, on black (left out when drawn).
RgbaPicture DemoPointerPicture();
// 160 x 93: one 31-pixel row per class, "125ccm", "250ccm", "500ccm".
RgbaPicture DemoClassPicture();
// 296 x 292: the requester window with the list, its scroll arrows, the name field and the
// three buttons where the requester expects them.
RgbaPicture DemoFileRequesterPicture();
// 296 x 184: the question window with its yes and no buttons.
RgbaPicture DemoAskRequesterPicture();

// Adds the four pictures, as 24-bit bitmaps, to the menu archive.
bool AddMenuPictures(CprWriter& menuArchive, std::string& error);
}  // namespace kit
