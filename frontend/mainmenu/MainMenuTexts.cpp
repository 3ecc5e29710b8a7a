#include "frontend/mainmenu/MainMenuTexts.h"

namespace
{
constexpr MainMenuTexts kGerman = {
    {"Modus", 3},
    {"Level", 3},
    {"Beenden", 4},
    {"Info", 2},
    {"Testfahrt", "Rennen", "Grand Prix", "Weltmeisterschaft", "Netzwerk"},
    {"Anf\xE4nger", "Amateur", "Profi"},
    {"Wollen Sie das Spiel", "wirklich beenden"},
    {"Ein Netzwerkfehler", "ist aufgetreten"},
    "Ja",
    "Nein",
    "OK",
    "Spielstand Laden",
};

constexpr MainMenuTexts kEnglish = {
    {"Mode", 2},
    {"Level", 3},
    {"Quit", 2},
    {"Info", 2},
    {"Test Ride", "Race", "Grand Prix", "World Championship", "Network"},
    {"Novice", "Amateur", "Professional"},
    {"Do you really want", "to end the game"},
    {"A network error", "has occured"},
    "Yes",
    "No",
    "OK",
    "Load Game",
};
}  // namespace

const MainMenuTexts& MainMenuTextsFor(Language language)
{
    return language == Language::English ? kEnglish : kGerman;
}
