#include "frontend/toolkit/MenuFonts.h"

#include <array>
#include <cstdint>

#include "app/archive/ArchiveSet.h"
#include "app/device/RenderDevice.h"
#include "core/game/GameEnums.h"
#include "frontend/toolkit/FontCharacterSets.h"

namespace
{
enum class FontKind
{
    Kerning,  // the argument is the spacing
    Fixed,    // the argument is the width of every character
};

struct FontSpec
{
    const char* picture;
    const char* characters;
    int32_t cellWidth;
    int32_t cellHeight;
    FontKind kind;
    int32_t argument;
};

constexpr std::array<FontSpec, kMenuFontCount> kMenuFontSpecs = {{
    {"fonts/Chicago16.bmp", kCharacterSetA, 20, 20, FontKind::Kerning, 0},
    {"fonts/Chicago16blau.bmp", kCharacterSetA, 20, 20, FontKind::Kerning, 0},
    {"fonts/Chicago18.bmp", kCharacterSetA, 24, 24, FontKind::Kerning, 0},
    {"fonts/chicago12.bmp", kCharacterSetA, 12, 14, FontKind::Kerning, 1},
    {"fonts/chicago12.bmp", kCharacterSetA, 12, 14, FontKind::Fixed, 7},
}};

constexpr std::array<FontSpec, kRaceFontCount> kRaceFontSpecs = {{
    {"fonts/zeichen.bmp", kRaceSymbolCharacters, 32, 32, FontKind::Fixed, 32},
    {"fonts/bigzahl.bmp", kBigDigitCharacters, 24, 25, FontKind::Kerning, 1},
    {"fonts/tvfont2.bmp", kCharacterSetB, 19, 22, FontKind::Kerning, 1},
    {"fonts/balmoral.bmp", kCharacterSetA, 24, 24, FontKind::Kerning, 1},
    {"fonts/filerequesterfont.bmp", kCharacterSetC, 8, 12, FontKind::Fixed, 7},
}};

constexpr std::array<FontSpec, kTelemetryFontCount> kTelemetryFontSpecs = {{
    {"fonts/skalafont1.bmp", kCharacterSetA, 16, 16, FontKind::Fixed, 7},
    {"fonts/klein.bmp", kCharacterSetA, 16, 16, FontKind::Fixed, 7},
    {"fonts/superklein.bmp", kCharacterSetA, 8, 10, FontKind::Kerning, 1},
}};

constexpr std::array<const char*, kMenuPictureCount> kMenuPictureNames = {
    "fonts/Chicago18Light.bmp", "fonts/Chicago18Gelb.bmp",    "mainmenu/cursor.bmp",
    "mainmenu/klassen.bmp",     "mainmenu/filerequester.bmp", "mainmenu/Askrequester.bmp",
};

struct LoadedFont
{
    Texture* picture = nullptr;
    GameFont* font = nullptr;
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

LoadedFont LoadFont(const FontSpec& spec)
{
    LoadedFont loaded{LoadPicture(spec.picture), nullptr};
    if (loaded.picture == nullptr)
    {
        return loaded;  // the library takes a font's picture unchecked
    }
    loaded.font =
        spec.kind == FontKind::Fixed
            ? g_renderDevice.CreateFixed(spec.characters, loaded.picture, spec.cellWidth,
                                         spec.cellHeight, spec.argument)
            : g_renderDevice.CreateKerning(spec.characters, loaded.picture, spec.cellWidth,
                                           spec.cellHeight, spec.argument);
    return loaded;
}

void FreeFont(LoadedFont& loaded)
{
    if (loaded.font != nullptr)
    {
        g_renderDevice.FreeGameFont(loaded.font);
        loaded.font = nullptr;
    }
    FreePicture(loaded.picture);
}

template <size_t Count>
struct FontSet
{
    bool loaded = false;
    std::array<LoadedFont, Count> fonts{};

    // From the menu archive of the language; false when the set was loaded already.
    bool Load(const std::array<FontSpec, Count>& specs)
    {
        if (loaded)
        {
            return false;
        }
        g_renderDevice.SetArchive(g_archiveMenu);
        for (size_t index = 0; index < Count; ++index)
        {
            fonts[index] = LoadFont(specs[index]);
        }
        loaded = true;
        return true;
    }

    void Free()
    {
        for (LoadedFont& font : fonts)
        {
            FreeFont(font);
        }
        loaded = false;
    }
};

FontSet<kMenuFontCount> g_menuFonts;
std::array<Texture*, kMenuPictureCount> g_menuPictures{};
FontSet<kRaceFontCount> g_raceFonts;
FontSet<kTelemetryFontCount> g_telemetryFonts;
}  // namespace

void LoadMenuFonts()
{
    if (!g_menuFonts.Load(kMenuFontSpecs))
    {
        return;
    }
    for (size_t index = 0; index < kMenuPictureCount; ++index)
    {
        g_menuPictures[index] = LoadPicture(kMenuPictureNames[index]);
    }
}

void FreeMenuFonts()
{
    g_menuFonts.Free();
    for (Texture*& picture : g_menuPictures)
    {
        FreePicture(picture);
    }
}

void LoadRaceFonts()
{
    g_raceFonts.Load(kRaceFontSpecs);
}

void FreeRaceFonts()
{
    g_raceFonts.Free();
}

void LoadTelemetryFonts()
{
    g_telemetryFonts.Load(kTelemetryFontSpecs);
}

void FreeTelemetryFonts()
{
    g_telemetryFonts.Free();
}

GameFont* GetMenuFont(MenuFont font)
{
    return g_menuFonts.fonts[ToIndex(font)].font;
}

Texture* GetMenuFontPicture(MenuFont font)
{
    return g_menuFonts.fonts[ToIndex(font)].picture;
}

Texture* GetMenuPicture(MenuPicture picture)
{
    return g_menuPictures[ToIndex(picture)];
}

GameFont* GetRaceFont(RaceFont font)
{
    return g_raceFonts.fonts[ToIndex(font)].font;
}

GameFont* GetTelemetryFont(TelemetryFont font)
{
    return g_telemetryFonts.fonts[ToIndex(font)].font;
}
