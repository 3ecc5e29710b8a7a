#pragma once

// The display's texts in both languages (Windows-1252), and the ordinal suffixes of places.

#include <cstdint>

#include "core/game/GameEnums.h"

enum class HudText
{
    WrongWay,
    Disqualified,
    ObservationMode,
    EndOfQualifying,
    EndOfTraining,
    EndOfWarmUp,
    PositionLine,
    PersonalBest,
    FastestLap,
    RaceOver,
    Place,
    Winner,
    PersonalRecord,
};

const char* GetHudText(HudText text, Language language);

// The character that stands for the suffix in the TV fonts: '!' st, '"' nd, '#' rd, '$' th;
// th also for 11, 12 and 13 and their hundreds.
char OrdinalSuffix(int32_t place);
