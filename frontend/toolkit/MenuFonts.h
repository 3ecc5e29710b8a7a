#pragma once

// The bitmap fonts and pictures of the menus, and the fonts of the race screens, the file
// requester and the telemetry screen: loaded from the menu archive of the language, kept until they
// are freed. A font or picture that cannot be loaded stays null; text in a null font, or a null
// picture, draws nothing. Main thread only.

#include <cstddef>

struct GameFont;
struct Texture;

enum class MenuFont
{
    Menu16,
    Menu16Blue,
    Menu18,
    Menu12,
    Menu12Fixed,  // every character 7 pixels wide
};
inline constexpr size_t kMenuFontCount = 5;

enum class RaceFont
{
    RaceSymbols,
    BigDigits,
    TvFont,
    Balmoral,
    Requester,
};
inline constexpr size_t kRaceFontCount = 5;

// The telemetry screen's: its scales, its read-out and its lap lists.
enum class TelemetryFont
{
    Scale,
    Small,
    Tiny,
};
inline constexpr size_t kTelemetryFontCount = 3;

enum class MenuPicture
{
    Chicago18Light,   // the menu 18 font's glyphs, light
    Chicago18Yellow,  // and yellow
    Pointer,
    ClassPicture,  // one 31-pixel row per class
    FileRequester,
    AskRequester,
};
inline constexpr size_t kMenuPictureCount = 6;

// Once; a second call while they are loaded does nothing.
void LoadMenuFonts();
void FreeMenuFonts();
void LoadRaceFonts();
void FreeRaceFonts();
void LoadTelemetryFonts();
void FreeTelemetryFonts();

GameFont* GetMenuFont(MenuFont font);
// The picture a menu font was made from, to give it back after another one.
Texture* GetMenuFontPicture(MenuFont font);
Texture* GetMenuPicture(MenuPicture picture);
GameFont* GetRaceFont(RaceFont font);
GameFont* GetTelemetryFont(TelemetryFont font);
