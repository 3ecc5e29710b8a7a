#pragma once

// The words of the set-up screen by language (German first), as Windows-1252 bytes.

#include <array>
#include <string_view>

#include "core/game/GameEnums.h"

struct SetupTexts
{
    std::array<std::string_view, 3> tyreCategory;
    std::string_view tyreCategoryNotSet;
    std::array<std::string_view, 3> brakeCharacteristic;
    std::string_view coolingOpen;   // "%d%% offen"
    std::string_view coolingLabel;  // "Kühlung %d%%"
    std::array<std::string_view, 5> suspension;
    std::array<std::string_view, 3> gearing;  // by top-speed state
    std::string_view loadTitle;
    std::string_view saveTitle;
    std::array<std::string_view, 3> airLabels;
};

const SetupTexts& SetupTextsOf(Language language);
