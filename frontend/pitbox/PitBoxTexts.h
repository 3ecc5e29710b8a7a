#pragma once

// The words of the pit box, per language (Windows-1252 bytes): the lists' status words and
// headings, the times page, the points pages, the ghost page and the calendar's questions.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/game/GameEnums.h"

struct PitBoxTexts
{
    // By classification code -1 .. -9 (index 0 = -1); -8 is never shown.
    std::array<std::string_view, 9> statusWords;
    std::string_view oneLapBehind;  // "1 Runde"
    std::string_view lapsWord;      // after a count of 2 or more
    std::string_view lapWord;       // "Runde": the personal list's lap column
    std::string_view pointsFormat;  // "%i Punkte"
    std::string_view theoretical;   // the ideal lap of the personal list
    std::array<std::string_view, 5> personalHeadings;
    std::array<std::string_view, 6> gridHeadings;
    // Place, name, total, best lap, average speed, gap.
    std::array<std::string_view, 6> raceResultHeadings;
    // Place, name, total, gap, average speed, best lap.
    std::array<std::string_view, 6> classificationHeadings;
    std::array<std::string_view, 4> sessionTabs;
    std::array<std::string_view, 3> dayNames;
    std::array<std::string_view, 2> timesTitles;    // general best times, personal lap times
    std::array<std::string_view, 5> timesHeadings;  // the first is "Name"; "Runde" on lap lists
    std::array<std::string_view, kCircuitCount> circuitCodes;
    std::array<std::string_view, 3> difficultyWords;  // by the lap header's level
    std::array<std::string_view, 3> weatherWords;
    std::string_view chooseGhost;
    std::string_view newGhost;
    std::string_view noGhostTitle;
    std::string_view noGhostRider;
    std::string_view quitCaption;
    std::array<std::string_view, 3> quitGrandPrix;     // lines of the confirmation
    std::array<std::string_view, 3> quitChampionship;  // the third may be empty
    std::string_view loadGame;
    std::string_view saveGame;
};

const PitBoxTexts& PitBoxTextsOf(Language language);
