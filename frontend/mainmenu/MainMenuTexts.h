#pragma once

// The texts of the main menu's panels in German and English, Windows-1252 bytes.

#include <array>
#include <cstddef>

#include "core/game/GameEnums.h"

struct PanelTitle
{
    const char* text;
    int32_t tiles;  // the title bar's length in 16-pixel tiles
};

struct MainMenuTexts
{
    PanelTitle modeTitle;
    PanelTitle levelTitle;
    PanelTitle quitTitle;
    PanelTitle infoTitle;
    std::array<const char*, 5> modeRows;  // game modes 0, 1, 2, 3, 5
    std::array<const char*, 3> levelRows;
    std::array<const char*, 2> quitLines;
    std::array<const char*, 2> networkErrorLines;
    const char* yes;
    const char* no;
    const char* ok;
    const char* loadGameTitle;
};

const MainMenuTexts& MainMenuTextsFor(Language language);
