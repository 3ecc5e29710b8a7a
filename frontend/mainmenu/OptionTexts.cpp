#include "frontend/mainmenu/OptionTexts.h"

namespace
{
// A title bar is one tile for every two letters.
constexpr PanelTitle Title(const char* text)
{
    int32_t length = 0;
    while (text[length] != '\0')
    {
        ++length;
    }
    return {text, (length + 1) / 2};
}

using PanelTable = std::array<OptionPanelTexts, kOptionPanelCount>;

// In the order of OptionPanelId.
constexpr PanelTable kGerman = {{
    {Title("Fahrhilfen"),
     {"Schaltautomatik", "Autom. Kupplung", "Bremsautomatik", "Lenkhilfe", "Ideallinien",
      "Kurvenhinweise", "Rutschen inaktiv", "Unf\xE4lle inaktiv", "Autom. Aufrichten", "Alle"}},
    {Title("Realismus"), {"Fahrhilfen", "Wetter", "Gegnercharakter", "Einstellungen"}},
    {Title("Sch\xE4"
           "den"),
     {"Motor", "Getriebe", "Bremsen", "Federung", "Kupplungszug", "Alle"}},
    {Title("Wetter"), {"Wetterlage:", "Best\xE4ndigkeit:"}},
    {Title("Gegnercharakter"), {"Niveau:", "Verhalten:"}},
    {Title("Einstellungen"),
     {"Rundenanzahl:", "Anzahl Gegner:", "Startposition:", "Training", "Startpunkt",
      "Motorsch\xE4"
      "den",
      "Motortuning", "Zeitstrafe"}},
    {Title("Optionen"), {"Grafik", "Sound", "Steuerung", "Intro-Video"}},
    {Title("Grafik"), {"Sichtweite", "Details", "Transparenzeffekte"}},
    {Title("Sound"),
     {"Lautst\xE4rke", "Musik", "Musik im Rennen", "Sampling Rate",
      "Buffergr\xF6\xDF"
      "e",
      "Stimmen", "Interpoliert"}},
    {Title("Steuerung"),
     {"Gas", "Bremse", "Links", "Rechts", "Kupplung (nur analog)", "Hochschalten", "Runterschalten",
      "Wheely", "Umschauen", "Empfindlichkeit Gas", "Empfindlichkeit Bremse",
      "Empfindlichkeit Lenkung"}},
    {Title("Netzwerk"), {"Neues Spiel starten", "In ein Spiel einsteigen"}},
}};

constexpr PanelTable kEnglish = {{
    {Title("Ride aid"),
     {"Auto Gear", "Auto Clutch", "Auto Braking", "Steering Aid", "Ideal Lines", "Bend Indicator",
      "Skidding Inactive", "Accidents Inactive", "Auto Centre", "All"}},
    {Title("Realism"), {"Riding Aids", "Weather", "Opponent character", "Settings"}},
    {Title("Damage"), {"Engine", "Gears", "Brakes", "Damping", "Clutch grip", "All"}},
    {Title("Weather"), {"Weather:", "Persistency:"}},
    {Title("Opposition"), {"Level:", "Behaviour:"}},
    {Title("Settings"),
     {"No. of Laps:", "No. of Opponents:", "Start Position:", "Training", "Start Point",
      "Engine Failure", "Engine Tuning", "Time Penalty"}},
    {Title("Options"), {"Graphics", "Sound", "Controls", "Intro-Video"}},
    {Title("Graphics"), {"Visibility", "Details", "Transparency Effects"}},
    {Title("Sound"),
     {"Volume", "Music", "In-Race Music", "Sampling Rate", "Buffersize", "Voices", "Interpolated"}},
    {Title("Controls"),
     {"Throttle", "Brakes", "Left", "Right", "Clutch (analog only)", "Shift Up", "Shift Down",
      "Wheely", "Look Back", "Sensitivity - Throttle", "Sensitivity - Brakes",
      "Sensitivity - Steering"}},
    {Title("Network"), {"New Session", "Join Session"}},
}};

constexpr OptionValueTexts kGermanValues = {
    {"Ein", "Aus"},
    {"Normal", "Versetzt"},
    {"30 Min.", "12 Runden"},
    "real",
    {"Sonne", "Bew\xF6lkung", "Regen"},
    {"Wechselhaft", "Konstant", "Festgelegt"},
    {"Identisch", "Realistisch", "Zuf\xE4llig"},
    {"Aggressiv", "Normal",
     "Zur\xFC"
     "ckhaltend"},
    {"Niedrig", "Normal", "Hoch"},
};

constexpr OptionValueTexts kEnglishValues = {
    {"On", "Off"},
    {"Normal", "Transferred"},
    {"30 min.", "12 Laps"},
    "real",
    {"Sunny", "Cloudy", "Rainy"},
    {"Changeable", "Constant", "Fixed"},
    {"Identical", "Realistic", "Random"},
    {"Aggressive", "Normal", "Cautious"},
    {"Low", "Normal", "High"},
};
}  // namespace

const OptionPanelTexts& OptionPanelTextsFor(OptionPanelId panel, Language language)
{
    const PanelTable& table = language == Language::English ? kEnglish : kGerman;
    return table.at(static_cast<size_t>(panel));
}

const OptionValueTexts& OptionValueTextsFor(Language language)
{
    return language == Language::English ? kEnglishValues : kGermanValues;
}
