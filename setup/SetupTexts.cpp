#include "setup/SetupTexts.h"

namespace
{
constexpr std::array<SetupTexts, kLanguageCount> kTexts = {{
    {
        .tyreCategory = {"slick", "intermediate", "regen"},
        .tyreCategoryNotSet = "-",
        .brakeCharacteristic = {"dynamisch", "normal", "tr\xE4ge/hart"},
        .coolingOpen = "%d%% offen",
        .coolingLabel = "K\xFChlung %d%%",
        .suspension = {"sehr weich", "weich", "mittel", "hart", "sehr hart"},
        .gearing = {"kurz", "normal", "lang"},
        .loadTitle = "Setup Laden",
        .saveTitle = "Setup Sichern",
        .airLabels = {"Luftdruck", "Lufttemperatur", "Luftfeuchtigkeit"},
    },
    {
        .tyreCategory = {"slick", "intermediate", "wet"},
        .tyreCategoryNotSet = "-",
        .brakeCharacteristic = {"dynamic", "normal", "sluggish"},
        .coolingOpen = "%d%% open",
        .coolingLabel = "Cooling %d%%",
        .suspension = {"very soft", "soft", "medium", "hard", "very hard"},
        .gearing = {"short", "normal", "long"},
        .loadTitle = "Load Setup",
        .saveTitle = "Save Setup",
        .airLabels = {"Air Pressure", "Temperature", "Humidity"},
    },
}};
}  // namespace

const SetupTexts& SetupTextsOf(Language language)
{
    return kTexts[ToIndex(language) < kLanguageCount ? ToIndex(language) : 0];
}
