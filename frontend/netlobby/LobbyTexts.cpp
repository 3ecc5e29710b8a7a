#include "frontend/netlobby/LobbyTexts.h"

namespace
{
constexpr LobbyTexts kGerman{
    "Port",
    "Auto",
    "Frei",
    "L\xE4uft",
    "Ein",
    "Aus",
    "Normal",
    "Versetzt",
    {"125 ccm", "250 ccm", "500 ccm"},
    {"Anf\xE4nger", "Amateur", "Profi"},
    {"Sonne", "Bew\xF6lkung", "Regen", "Wechselhaft", "Zuf\xE4llig"},
    {"Nach Punkten", "Zuf\xE4llig"},
    {"MAL", "JAP", "SPA", "ITA", "OES", "FRA", "HOL", "IMO", "DTL", "BRA", "GBR", "CZE", "CAT",
     "IND", "AUS", "ZS1", "ZS2", "ZS3"},
    "Server %s auf port 0x%.4x",
    "Status:",
    "Latenz:",
    "Klasse:",
    "Level:",
    "Wetter:",
    "Runden:",
    "Startaufstellung:",
    "Fahreranzahl:",
    "Strecken:",
    "busy",
    "ready",
};

constexpr LobbyTexts kEnglish{
    "Port",
    "Auto",
    "Vacant",
    "Busy",
    "On",
    "Off",
    "Normal",
    "Transferred",
    {"125 ccm", "250 ccm", "500 ccm"},
    {"Novice", "Amateur", "Professional"},
    {"Sunny", "Cloudy", "Rainy", "Changeable", "Random"},
    {"Points", "Random"},
    {"MAL", "JAP", "ESP", "ITA", " A ", "FRA", "NED", "IMO", "GER", "BRA", "GBR", "CZE", "CAT",
     "IND", "AUS", "BT1", "BT2", "BT3"},
    "Server %s on port 0x%.4x",
    "Status:",
    "Latency:",
    "Class:",
    "Level:",
    "Weather:",
    "No. of Laps:",
    "Starting Grid:",
    "No. of Riders:",
    "Tracks:",
    "busy",
    "ready",
};
}  // namespace

const LobbyTexts& LobbyTextsFor(Language language)
{
    return language == Language::English ? kEnglish : kGerman;
}
