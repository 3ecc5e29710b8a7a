#include "kit/menu/MenuPreviewPictures.h"

#include <array>
#include <cstdio>
#include <vector>

#include "kit/content/ContentMeshes.h"
#include "kit/content/ContentPictures.h"
#include "kit/world/ObjectFileWriter.h"

namespace kit
{
namespace
{
// Three bands per flag, in the nation's colours: top to bottom, or left to right.
struct NationFlag
{
    const char* name;
    std::array<uint32_t, 3> bands;
    bool upright;
};
constexpr std::array<NationFlag, 16> kNationFlags = {{
    {"Mala", {0x010066, 0xFFCC00, 0xCC0001}, false},
    {"JPN", {0xFFFFFF, 0xBC002D, 0xFFFFFF}, true},
    {"Es", {0xAA151B, 0xF1BF00, 0xAA151B}, false},
    {"I", {0x009246, 0xFFFFFF, 0xCE2B37}, true},
    {"A", {0xED2939, 0xFFFFFF, 0xED2939}, false},
    {"F", {0x0055A4, 0xFFFFFF, 0xEF4135}, true},
    {"Nl", {0xAE1C28, 0xFFFFFF, 0x21468B}, false},
    {"San", {0xFFFFFF, 0x5EB6E4, 0x5EB6E4}, false},
    {"D", {0x000000, 0xDD0000, 0xFFCE00}, false},
    {"Bra", {0x009C3B, 0xFFDF00, 0x009C3B}, false},
    {"Gb", {0x012169, 0xC8102E, 0x012169}, false},
    {"Tch", {0xFFFFFF, 0xD7141A, 0x11457E}, false},
    {"C", {0xD80621, 0xFFFFFF, 0xD80621}, true},
    {"Indo", {0xCE1126, 0xCE1126, 0xFFFFFF}, false},
    {"Aus", {0x00008B, 0xFFFFFF, 0x00008B}, false},
    {"Qimrn", {0x3C3C3C, 0xF0F0F0, 0x3C3C3C}, true},
}};

RgbaPicture FlagPicture(const NationFlag& flag)
{
    constexpr int kWidth = 64;
    constexpr int kHeight = 64;
    RgbaPicture picture{kWidth, kHeight, std::vector<uint8_t>(kWidth * kHeight * 4)};
    for (int y = 0; y < kHeight; ++y)
    {
        for (int x = 0; x < kWidth; ++x)
        {
            const uint32_t colour =
                flag.bands[static_cast<size_t>((flag.upright ? x : y) * 3 / kWidth)];
            uint8_t* pixel = &picture.rgba[static_cast<size_t>(y * kWidth + x) * 4];
            pixel[0] = static_cast<uint8_t>(colour >> 16);
            pixel[1] = static_cast<uint8_t>(colour >> 8);
            pixel[2] = static_cast<uint8_t>(colour);
            pixel[3] = 0xFF;
        }
    }
    return picture;
}

// Texture numbers 1..19 in slots 0..18 of the model's list, as the menu loads them.
uint32_t Slot(uint32_t texture)
{
    return texture - 1;
}

// A machine seen from the side: two wheels with their rims, a fairing in the paint, a tank and
// seat, a tail, the number plates, the exhaust and the screen; about 2 m long.
Mesh PreviewMachine()
{
    std::vector<uint32_t> textures(19);
    for (uint32_t texture = 1; texture <= 19; ++texture)
    {
        textures[texture - 1] = texture;
    }
    ShapeBuilder machine(textures);
    machine.Wheel({0.0f, 0.3f, -0.66f}, 0.3f, 0.16f, 12, {Slot(8), Slot(15)}, {Slot(19), Slot(19)});
    machine.Wheel({0.0f, 0.3f, 0.68f}, 0.3f, 0.12f, 12, {Slot(10), Slot(15)}, {Slot(19), Slot(19)});
    machine.Box({-0.17f, 0.32f, -0.25f}, {0.17f, 0.8f, 0.78f},
                {Slot(2), Slot(7), Slot(16), Slot(16), Slot(18), Slot(3)});
    machine.Box({-0.15f, 0.75f, -0.55f}, {0.15f, 0.95f, 0.15f},
                {Slot(14), Slot(14), Slot(14), Slot(14), Slot(14), Slot(3)});
    machine.Box({-0.11f, 0.62f, -0.85f}, {0.11f, 0.86f, -0.5f},
                {Slot(9), Slot(11), Slot(11), Slot(11), Slot(9), Slot(3)});
    machine.Box({-0.05f, 0.25f, -0.9f}, {0.05f, 0.35f, -0.3f},
                {Slot(5), Slot(6), Slot(6), Slot(6), Slot(6), Slot(6)});
    machine.Box({-0.13f, 0.8f, 0.55f}, {0.13f, 1.05f, 0.75f},
                {Slot(1), Slot(13), Slot(12), Slot(12), Slot(1), Slot(4)});
    machine.Box({-0.03f, 0.3f, 0.6f}, {0.03f, 0.85f, 0.7f},
                {Slot(17), Slot(17), Slot(17), Slot(17), Slot(17), Slot(17)});
    return machine.Finish();
}

RgbaPicture MachinePicture(const std::string& name, const std::string& colourKey, bool numbered)
{
    const uint32_t colour = ColourOfName(colourKey);
    return numbered ? MakePicture(32, 32, 0xF0F0F0, colour, PicturePattern::Stripes)
                    : MakePicture(32, 32, colour, ColourOfName(name), PicturePattern::Plain);
}

// Every picture the livery loader may ask for: start numbers 1..30, paints 1..20, wheels
// 1..8 and the parts every machine shares; one size for each, so that a rider's pictures can
// take another's place.
bool AddMachinePictures(CprWriter& archive, std::string& error)
{
    constexpr std::array<const char*, 3> kFolders = {"125er", "250er", "500er"};
    constexpr std::array<const char*, 9> kCommon = {"scheibe.TGA", "dark.bmp",  "schwi.TGA",
                                                    "auspe.TGA",   "auspu.BMP", "blech.bmp",
                                                    "cockp.bmp",   "reife.bmp", "gabel.bmp"};
    const auto add = [&](const std::string& name, const RgbaPicture& picture)
    { return archive.Add(name, PictureFile(name, picture), MemberStorage::Smaller, error); };
    bool added = add("MainMenu/001lack1.tga",
                     MakePicture(32, 32, 0xD0D0D8, 0xFFFFFF, PicturePattern::Gradient));
    for (const char* folder : kFolders)
    {
        const std::string base(folder);
        const char digit = folder[0];
        char name[64];
        for (unsigned number = 1; added && number <= 30; ++number)
        {
            for (const char side : {'s', 'v'})
            {
                std::snprintf(name, sizeof(name), "%s/nummern/%c%.2unummer%c.bmp", folder, digit,
                              number, side);
                added = added && add(name, MachinePicture(name, std::to_string(number), true));
            }
        }
        for (unsigned paint = 1; added && paint <= 20; ++paint)
        {
            for (const char* part : {"bodyl.bmp", "heck.bmp", "sitz.bmp"})
            {
                std::snprintf(name, sizeof(name), "%s/%c%.2ubike/%c%.2u%s", folder, digit, paint,
                              digit, paint, part);
                const std::string paintKey = base + std::to_string(paint * 7);
                added = added && add(name, MachinePicture(name, paintKey, false));
            }
        }
        for (unsigned wheel = 1; added && wheel <= 8; ++wheel)
        {
            for (const char* part : {"hrad.TGA", "vrad.TGA", "felge.bmp"})
            {
                std::snprintf(name, sizeof(name), "%s/alle/0%.2u%s", folder, wheel, part);
                added = added &&
                        add(name, MachinePicture(name, "wheel" + std::to_string(wheel), false));
            }
        }
        for (const char* part : kCommon)
        {
            std::snprintf(name, sizeof(name), "%s/alle/001%s", folder, part);
            added = added && add(name, MachinePicture(name, part, false));
        }
    }
    return added;
}
}  // namespace

bool AddMenuFlagsAndPreview(CprWriter& menuArchive, std::string& error)
{
    bool added = true;
    for (const NationFlag& flag : kNationFlags)
    {
        const std::string name = std::string("flaggen/") + flag.name + ".bmp";
        added = added && menuArchive.Add(name, PictureFile(name, FlagPicture(flag)),
                                         MemberStorage::Smaller, error);
    }
    return added &&
           menuArchive.Add("501_motokompl.4do", WriteObjectFile(PreviewMachine()),
                           MemberStorage::Smaller, error) &&
           AddMachinePictures(menuArchive, error);
}
}  // namespace kit
