#pragma once

// The texts of the main menu's option panels in German and English, Windows-1252 bytes.

#include <array>
#include <cstddef>

#include "core/game/GameEnums.h"
#include "frontend/mainmenu/MainMenuTexts.h"
#include "frontend/mainmenu/OptionPanels.h"

struct OptionPanelTexts
{
    PanelTitle title;
    std::array<const char*, kMostOptionRows> captions;
};

struct OptionValueTexts
{
    std::array<const char*, 2> onOff;       // byte 0, 1
    std::array<const char*, 2> startPoint;  // normal, transferred
    std::array<const char*, 2> training;    // 30 minutes, 12 laps
    const char* realDistance;               // laps 21 and above
    std::array<const char*, 3> weather;
    std::array<const char*, 3> persistency;
    std::array<const char*, 3> opponentLevel;
    std::array<const char*, 3> opponentBehaviour;
    std::array<const char*, 3> detail;
};

const OptionPanelTexts& OptionPanelTextsFor(OptionPanelId panel, Language language);
const OptionValueTexts& OptionValueTextsFor(Language language);
