#include "view/hud/HudResources.h"

#include <cstdio>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "core/archive/DAFile.h"
#include "frontend/toolkit/FontCharacterSets.h"
#include "frontend/toolkit/MenuFonts.h"

namespace
{
enum class Sheet : size_t
{
    Digital,
    Balmoral16,
    TvFont1,
    TvFont3,
    SmallYellow,
    InstrumentDigits,
};

constexpr std::array<const char*, 6> kSheetNames = {
    "texturen/fonts/digi3.bmp",       "texturen/fonts/balmoral16.bmp",
    "texturen/fonts/tvfont1.bmp",     "texturen/fonts/tvfont3.bmp",
    "texturen/fonts/tvkleingelb.bmp", "texturen/spezial/Anzeigefont.bmp",
};

constexpr const char* kDigitalCharacters = " 0123456789KMHPLAOS[]\\/.:+-";
constexpr const char* kFigureCharacters = "0123456789.:";

constexpr std::array<const char*, 8> kCurveSignNames = {
    "texturen/spezial/Kurve_li0.bmp", "texturen/spezial/Kurve_re0.bmp",
    "texturen/spezial/Kurve_li1.bmp", "texturen/spezial/Kurve_re1.bmp",
    "texturen/spezial/Kurve_li2.bmp", "texturen/spezial/Kurve_re2.bmp",
    "texturen/spezial/Kurve_li3.bmp", "texturen/spezial/Kurve_re3.bmp",
};

constexpr std::array<const char*, kBikeClassCount> kPortraitFolders = {
    "texturen\\fressen\\125Fressen\\",
    "texturen\\fressen\\250Fressen\\",
    "texturen\\fressen\\500Fressen\\",
};

Texture* LoadPicture(const char* name)
{
    Texture* picture = nullptr;
    g_renderDevice.LoadMemoryTexture(name, &picture);
    return picture;
}

void FreePicture(Texture*& picture)
{
    if (picture != nullptr)
    {
        g_renderDevice.FreeMemoryTexture(&picture);
    }
}

void FreeFont(GameFont*& font)
{
    if (font != nullptr)
    {
        g_renderDevice.FreeGameFont(font);
        font = nullptr;
    }
}
}  // namespace

std::array<char, 64> PortraitName(BikeClass bikeClass, size_t rider)
{
    std::array<char, 64> name{};
    std::snprintf(name.data(), name.size(), "%s%.2d.bmp", kPortraitFolders[ToIndex(bikeClass)],
                  static_cast<int>(rider + 1));
    return name;
}

HudResources::~HudResources()
{
    Free();
}

void HudResources::Load(BikeClass bikeClass)
{
    Free();
    g_renderDevice.SetArchive(g_archiveTextures);
    for (size_t index = 0; index < sheets_.size(); ++index)
    {
        sheets_[index] = LoadPicture(kSheetNames[index]);
    }
    logo_ = LoadPicture("texturen/spezial/QimLive.bmp");
    instrumentCalm_ = LoadPicture("texturen/spezial/a1.bmp");
    instrumentRedline_ = LoadPicture("texturen/spezial/a2.bmp");
    startLights_ = LoadPicture("texturen/spezial/amblneu.bmp");
    keyLamps_ = LoadPicture("texturen/spezial/tasten.bmp");
    for (size_t index = 0; index < curveSigns_.size(); ++index)
    {
        curveSigns_[index] = LoadPicture(kCurveSignNames[index]);
    }
    const DAFile menu(g_archiveMenu);
    for (size_t rider = 0; rider < portraits_.size(); ++rider)
    {
        const std::array<char, 64> name = PortraitName(bikeClass, rider);
        if (g_archiveMenu != nullptr && menu.Exists(name.data()))
        {
            portraits_[rider] = LoadPicture(name.data());
        }
    }

    // The library takes a font's sheet unchecked: no sheet, no font.
    const auto make = [this](HudFont font, Sheet sheet, auto create)
    {
        if (Texture* picture = sheets_[static_cast<size_t>(sheet)]; picture != nullptr)
        {
            fonts_[static_cast<size_t>(font)] = create(picture);
        }
    };
    RenderDevice& device = g_renderDevice;
    make(HudFont::Name, Sheet::Balmoral16,
         [&](Texture* p) { return device.CreateKerning(kCharacterSetA, p, 16, 16, 0); });
    make(HudFont::Time, Sheet::Balmoral16,
         [&](Texture* p) { return device.CreateFixed(kCharacterSetA, p, 16, 16, 10); });
    make(HudFont::Digital, Sheet::Digital,
         [&](Texture* p) { return device.CreateFixed(kDigitalCharacters, p, 16, 16, 14); });
    make(HudFont::Tv1, Sheet::TvFont1,
         [&](Texture* p) { return device.CreateProportional(kCharacterSetB, p, 19, 22, 0); });
    make(HudFont::Tv3, Sheet::TvFont3,
         [&](Texture* p) { return device.CreateProportional(kCharacterSetB, p, 19, 22, 0); });
    make(HudFont::Tv3Fixed, Sheet::TvFont3,
         [&](Texture* p) { return device.CreateFixed(kCharacterSetB, p, 19, 22, 10); });
    make(HudFont::SmallYellow, Sheet::SmallYellow,
         [&](Texture* p) { return device.CreateFixed(kFigureCharacters, p, 8, 10, 6); });
    make(HudFont::InstrumentDigits, Sheet::InstrumentDigits,
         [&](Texture* p) { return device.CreateFixed(kFigureCharacters, p, 10, 10, 8); });
}

void HudResources::Free()
{
    for (size_t index = 0; index < static_cast<size_t>(HudFont::Balmoral); ++index)
    {
        FreeFont(fonts_[index]);
    }
    for (Texture*& sheet : sheets_)
    {
        FreePicture(sheet);
    }
    FreePicture(logo_);
    FreePicture(instrumentCalm_);
    FreePicture(instrumentRedline_);
    FreePicture(startLights_);
    FreePicture(keyLamps_);
    for (Texture*& sign : curveSigns_)
    {
        FreePicture(sign);
    }
    for (Texture*& portrait : portraits_)
    {
        FreePicture(portrait);
    }
}

GameFont* HudResources::Font(HudFont font) const
{
    switch (font)
    {
        case HudFont::Balmoral:
            return GetRaceFont(RaceFont::Balmoral);
        case HudFont::BigDigits:
            return GetRaceFont(RaceFont::BigDigits);
        case HudFont::Tv:
            return GetRaceFont(RaceFont::TvFont);
        case HudFont::Zeichen:
            return GetRaceFont(RaceFont::RaceSymbols);
        default:
            return fonts_[static_cast<size_t>(font)];
    }
}

Texture* HudResources::Picture(PictureRef picture) const
{
    const auto index = static_cast<size_t>(picture.index);
    switch (picture.picture)
    {
        case HudPicture::Logo:
            return logo_;
        case HudPicture::InstrumentCalm:
            return instrumentCalm_;
        case HudPicture::InstrumentRedline:
            return instrumentRedline_;
        case HudPicture::InstrumentDigits:
            return sheets_[static_cast<size_t>(Sheet::InstrumentDigits)];
        case HudPicture::StartLights:
            return startLights_;
        case HudPicture::CurveSign:
            return index < curveSigns_.size() ? curveSigns_[index] : nullptr;
        case HudPicture::KeyLamps:
            return keyLamps_;
        case HudPicture::Portrait:
            return index < portraits_.size() ? portraits_[index] : nullptr;
    }
    return nullptr;
}
