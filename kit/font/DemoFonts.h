#pragma once

// The fonts of the demo installation: a picture for every font sheet the menus, the head-up
// display and the telemetry screen load, with a glyph in each of the sheet's cells.

#include <span>
#include <string>
#include <string_view>

#include "frontend/toolkit/FontCharacterSets.h"
#include "kit/DemoInstallation.h"
#include "kit/font/FontPicture.h"
#include "kit/picture/Picture.h"

namespace kit
{

// The head-up display's digital font, whose characters only the kit lists; the other sheets
// take the game's character sets (FontCharacterSets.h).
inline constexpr std::string_view kDigitalCharacters = " 0123456789KMHPLAOS[]\\/.:+-";

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
