#pragma once

// The fonts of the demo installation: a picture for every font sheet the menus, the head-up
// display and the telemetry screen load, with a glyph in each of the sheet's cells.

#include <span>
#include <string>
#include <string_view>

#include "kit/DemoInstallation.h"
#include "kit/font/FontPicture.h"
#include "kit/picture/Picture.h"

namespace kit
{

// The character sets of the game's fonts, as Windows-1252 strings in cell order.
inline constexpr std::string_view kCharacterSetA =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz:.,-()\xB0%/?0123456789"
    "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xE1\xE2\xE0\xE9\xEA\xE8\xED\xEE\xEC\xF3\xF4\xF2\xFA\xFB\xF9";
inline constexpr std::string_view kCharacterSetB =
    "\tABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890.:\xB4-#!$\"";
inline constexpr std::string_view kCharacterSetC =
    "\tABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz:.,-()\xB0^%/?0123456789"
    "\xC4\xD6\xDC\xE4\xF6\xFC\xDF";
inline constexpr std::string_view kDigitalCharacters = " 0123456789KMHPLAOS[]\\/.:+-";
inline constexpr std::string_view kDigitCharacters = "0123456789.:";
inline constexpr std::string_view kPictogramCharacters = "ABCDEFGHIJKL";

enum class DemoArchive
{
    Menu,
    Textures,
};

struct DemoFont
{
    DemoArchive archive;
    std::string_view name;  // as the game loads it
    std::string_view characters;
    FontStyle style;
};

// Every font sheet the game loads.
std::span<const DemoFont> DemoFonts();

// The picture of a font sheet.
RgbaPicture DemoFontPicture(const DemoFont& font);

// Adds every sheet, as a 24-bit bitmap, to the archive the game reads it from.
bool AddDemoFonts(DemoArchives& archives, std::string& error);

}  // namespace kit
