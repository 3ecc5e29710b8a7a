#include "frontend/pitbox/PitBoxTexts.h"

namespace
{
constexpr PitBoxTexts kGerman{
    .statusWords = {"Abbruch", "Kollision", "Motor", "Sturz", "Ausschlu\xDF", "Sturz", "Getriebe",
                    "", "Abbruch"},
    .oneLapBehind = "1 Runde",
    .lapsWord = "Runden",
    .lapWord = "Runde",
    .pointsFormat = "%i Punkte",
    .theoretical = "theoretisch",
    .personalHeadings = {"Runde", "Gesamtzeit", "1.Sektor", "2.Sektor", "3.Sektor"},
    .gridHeadings = {"Pos", "Name", "Bestzeit", "1.Qualify", "2.Qualify", "aktuell"},
    .raceResultHeadings = {"Pos", "Name", "Gesamtzeit", "Bestzeit", "km/h", "Abstand"},
    .classificationHeadings = {"Pos", "Name", "Gesamtzeit", "Abstand", "km/h", "Bestzeit"},
    .sessionTabs = {"Training", "Qualify", "Warm Up", "Rennen"},
    .dayNames = {"Freitag", "Samstag", "Sonntag"},
    .timesTitles = {"Allgemeine Bestzeiten", "Pers\xF6nliche Rundenzeiten"},
    .timesHeadings = {"Name", "Gesamtzeit", "1.Sektor", "2.Sektor", "3.Sektor"},
    .circuitCodes = {"MAL", "JAP", "SPA", "ITA", "OES", "FRA", "HOL", "IMO", "DTL", "BRA", "GBR",
                     "CZE", "CAT", "IND", "AUS", "ZS1", "ZS2", "ZS3"},
    .difficultyWords = {"Anf\xE4nger", "Amateur", "Profi"},
    .weatherWords = {"Sonne", "Bew\xF6lkung", "Regen"},
    .chooseGhost = "GHOST W\xC4HLEN",
    .newGhost = "NEUER GHOST",
    .noGhostTitle = "keine Ghostdatei laden",
    .noGhostRider = "ohne Ghost fahren",
    .quitCaption = "Beenden",
    .quitGrandPrix = {"Wollen Sie wirklich den", "Grand Prix abbrechen", ""},
    .quitChampionship = {"Wollen Sie wirklich die", "Weltmeisterschaft abbrechen", ""},
    .loadGame = "Spielstand Laden",
    .saveGame = "Spielstand Sichern",
};

constexpr PitBoxTexts kEnglish{
    .statusWords = {"Abort", "Collision", "Motor", "Crash", "Disqualif.", "Crash", "Gearbox", "",
                    "Abort"},
    .oneLapBehind = "1 Lap",
    .lapsWord = "Laps",
    .lapWord = "Lap",
    .pointsFormat = "%i Points",
    .theoretical = "theoretically",
    .personalHeadings = {"Lap", "Total Time", "Sector 1", "Sector 2", "Sector 3"},
    .gridHeadings = {"Pos", "Name", "Best Time", "1.Qualify", "2.Qualify", "current"},
    .raceResultHeadings = {"Pos", "Name", "Total Time", "Best Time", "km/h", "Gap"},
    .classificationHeadings = {"Pos", "Name", "Total Time", "Gap", "km/h", "Best Time"},
    .sessionTabs = {"Training", "Qualify", "Warm Up", "Race"},
    .dayNames = {"Friday", "Saturday", "Sunday"},
    .timesTitles = {"General Best Times", "Personal Lap Times"},
    .timesHeadings = {"Name", "Total Time", "Sector 1", "Sector 2", "Sector 3"},
    .circuitCodes = {"MAL", "JAP", "ESP", "ITA", " A ", "FRA", "NED", "IMO", "GER", "BRA", "GBR",
                     "CZE", "CAT", "IND", "AUS", "BT1", "BT2", "BT3"},
    .difficultyWords = {"Novice", "Amateur", "Professional"},
    .weatherWords = {"Sunny", "Cloudy", "Rainy"},
    .chooseGhost = "SELECT GHOST",
    .newGhost = "NEW GHOST",
    .noGhostTitle = "no ghost",
    .noGhostRider = "riding without ghost",
    .quitCaption = "Quit",
    .quitGrandPrix = {"Do you really want", "to end the Grand Prix", ""},
    .quitChampionship = {"Do you really want", "to end the", "World Championship"},
    .loadGame = "Load Game",
    .saveGame = "Save Game",
};
}  // namespace

const PitBoxTexts& PitBoxTextsOf(Language language)
{
    return language == Language::English ? kEnglish : kGerman;
}
