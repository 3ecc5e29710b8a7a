#include "frontend/season/SessionOptions.h"

namespace
{
bool On(const MenuState& settings, size_t offset)
{
    return settings.U8At(offset) == 0;
}
}  // namespace

SessionOptions SessionOptionsOf(const MenuState& settings)
{
    // Skidding and accidents are options that make them inactive: "Ein" keeps the rider up.
    return {.race = {.fallsEnabled = !On(settings, MenuState::kAccidentsInactiveOffset),
                     .slideFallsEnabled = !On(settings, MenuState::kSkiddingInactiveOffset),
                     .engineDamage = On(settings, MenuState::kEngineFailureOffset),
                     .engineConditions = On(settings, MenuState::kEngineTuningOffset),
                     .detailEffects = On(settings, MenuState::kTransparencyOffset)},
            .autoCentre = On(settings, MenuState::kAutoCentreOffset)};
}

SessionOptions TakeNetworkRaceOptions(MenuState& settings, SessionOptions options)
{
    options.race.fallsEnabled = false;
    options.race.slideFallsEnabled = false;
    options.race.engineDamage = false;
    options.race.engineConditions = false;
    const size_t raceOptions = MenuState::kNetworkOptionsOffset;
    settings.SetU8At(MenuState::kAutoCentreOffset, settings.U8At(raceOptions));
    settings.SetU8At(MenuState::kIdealLinesOffset, settings.U8At(raceOptions + 1));
    settings.SetU8At(MenuState::kBendIndicatorOffset, settings.U8At(raceOptions + 2));
    options.autoCentre = On(settings, MenuState::kAutoCentreOffset);
    return options;
}
