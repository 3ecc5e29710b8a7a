#include "kit/font/DemoFonts.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "kit/picture/BmpWriter.h"

namespace kit
{
namespace
{

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSilver = 0xC8C8D4;
constexpr uint32_t kCream = 0xFFF4DC;
constexpr uint32_t kSand = 0xD8C8A0;
constexpr DemoArchive kMenu = DemoArchive::Menu;
constexpr DemoArchive kTextures = DemoArchive::Textures;

// Cell width and height, glyph scale across and down, bold, top and bottom colour.
constexpr DemoFont kFonts[] = {
    {kMenu, "fonts/Chicago16.bmp", kCharacterSetA, {20, 20, 2, 2, false, kWhite, kSilver}},
    {kMenu, "fonts/Chicago16blau.bmp", kCharacterSetA, {20, 20, 2, 2, false, 0x9CC8FF, 0x3C64DC}},
    {kMenu, "fonts/Chicago18.bmp", kCharacterSetA, {24, 24, 2, 2, false, kWhite, kSilver}},
    {kMenu, "fonts/Chicago18Light.bmp", kCharacterSetA, {24, 24, 2, 2, false, 0xFFFFE8, 0xF0E8B4}},
    {kMenu, "fonts/Chicago18Gelb.bmp", kCharacterSetA, {24, 24, 2, 2, false, 0xFFF050, 0xE0B000}},
    {kMenu, "fonts/chicago12.bmp", kCharacterSetA, {12, 14, 1, 1, true, kWhite, kSilver}},
    {kMenu, "fonts/zeichen.bmp", kRaceSymbolCharacters, {32, 32, 1, 1, false, kWhite, kWhite}},
    {kMenu, "fonts/bigzahl.bmp", kBigDigitCharacters, {24, 25, 2, 2, true, kWhite, kSilver}},
    {kMenu, "fonts/tvfont2.bmp", kCharacterSetB, {19, 22, 2, 2, false, kWhite, kSilver}},
    {kMenu, "fonts/balmoral.bmp", kCharacterSetA, {24, 24, 2, 2, true, kCream, kSand}},
    {kMenu, "fonts/filerequesterfont.bmp", kCharacterSetC, {8, 12, 1, 1, false, kWhite, kWhite}},
    {kMenu, "fonts/skalafont1.bmp", kCharacterSetA, {16, 16, 1, 1, true, kWhite, kSilver}},
    {kMenu, "fonts/klein.bmp", kCharacterSetA, {16, 16, 1, 1, true, kWhite, kSilver}},
    {kMenu, "fonts/superklein.bmp", kCharacterSetA, {8, 10, 1, 1, false, kWhite, kSilver}},
    {kTextures,
     "texturen/fonts/digi3.bmp",
     kDigitalCharacters,
     {16, 16, 1, 1, true, 0xA0FFA0, 0x40C040}},
    {kTextures,
     "texturen/fonts/balmoral16.bmp",
     kCharacterSetA,
     {16, 16, 1, 1, true, kCream, kSand}},
    {kTextures,
     "texturen/fonts/tvfont1.bmp",
     kCharacterSetB,
     {19, 22, 2, 2, false, kWhite, kSilver}},
    {kTextures,
     "texturen/fonts/tvfont3.bmp",
     kCharacterSetB,
     {19, 22, 2, 2, false, kWhite, kSilver}},
    {kTextures,
     "texturen/fonts/tvkleingelb.bmp",
     kBigDigitCharacters,
     {8, 10, 1, 1, false, 0xFFE860, 0xE8C020}},
    {kTextures,
     "texturen/spezial/Anzeigefont.bmp",
     kBigDigitCharacters,
     {10, 10, 1, 1, true, 0xFFA060, 0xE06020}},
};

// The pictograms of the race symbols: A and B together the position label, D the lap label,
// E the number label, F and G the two lines of the grid label.
constexpr std::array<CellLabel, 12> kPictograms{{
    {"POSI", LabelPlace::Right},
    {"TION", LabelPlace::Left},
    {},
    {"LAP"},
    {"NO."},
    {"START"},
    {"GRID"},
    {},
    {},
    {},
    {},
    {},
}};

// In the fonts of character set B four signs stand for the ordinal suffixes of places.
constexpr std::array<std::pair<char, std::string_view>, 4> kOrdinalCells = {
    {{'!', "st"}, {'"', "nd"}, {'#', "rd"}, {'$', "th"}}};

RgbaPicture WithOrdinalCells(RgbaPicture picture, const DemoFont& font)
{
    std::vector<CellLabel> labels(font.characters.size());
    for (const auto& [sign, suffix] : kOrdinalCells)
    {
        labels[font.characters.find(sign)] = {suffix, LabelPlace::Left};
    }
    // Two letters at the sheet's own width would not fit a cell.
    FontStyle narrow = font.style;
    narrow.scaleX = 1;
    const RgbaPicture suffixes = DrawLabelPicture(labels, narrow);
    const int cell = font.style.cellWidth;
    for (const auto& [sign, suffix] : kOrdinalCells)
    {
        const auto left = static_cast<size_t>(font.characters.find(sign)) * cell;
        for (int y = 0; y < picture.height; ++y)
        {
            const size_t row = static_cast<size_t>(y) * picture.width;
            std::copy_n(suffixes.rgba.begin() + static_cast<ptrdiff_t>((row + left) * 4), cell * 4,
                        picture.rgba.begin() + static_cast<ptrdiff_t>((row + left) * 4));
        }
    }
    return picture;
}

}  // namespace

std::span<const DemoFont> DemoFonts()
{
    return kFonts;
}

RgbaPicture DemoFontPicture(const DemoFont& font)
{
    if (font.characters == kRaceSymbolCharacters)
    {
        return DrawLabelPicture(kPictograms, font.style);
    }
    if (font.characters == kCharacterSetB)
    {
        return WithOrdinalCells(DrawFontPicture(font.characters, font.style), font);
    }
    return DrawFontPicture(font.characters, font.style);
}

bool AddDemoFonts(DemoArchives& archives, std::string& error)
{
    for (const DemoFont& font : kFonts)
    {
        CprWriter& archive = font.archive == kMenu ? archives.menu : archives.textures;
        if (!archive.Add(font.name, WriteBmp24(DemoFontPicture(font)), MemberStorage::Smaller,
                         error))
        {
            return false;
        }
    }
    return true;
}

}  // namespace kit
