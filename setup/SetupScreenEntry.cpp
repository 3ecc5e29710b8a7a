#include "setup/SetupScreenEntry.h"

#include <algorithm>
#include <cstring>

#include "app/settings/MenuState.h"
#include "race/RaceContext.h"

std::unique_ptr<SetupScreen> CreatePlayerSetupScreen(Language language,
                                                     bool engineConditionsAfterwards)
{
    const uint32_t player = std::min<uint32_t>(g_playerRider.load(), kRiderCount - 1);
    const RiderProfile& profile = g_riderProfiles[player];
    SetupScreenContext context;
    context.player = &g_bikes[player];
    context.race = &g_raceContext.current;
    context.language = language;
    context.topSpeedReference = g_race.telemetryLimit;
    context.riderName =
        profile.displayNames[std::min(profile.shownName, RiderProfile::kDisplayNames - 1)];
    context.riderTeam.assign(profile.infoText.data(),
                             strnlen(profile.infoText.data(), profile.infoText.size()));
    context.engineConditionsAfterwards = engineConditionsAfterwards;
    context.settings = &g_menuState;
    context.session = static_cast<int32_t>(g_menuState.U32At(MenuState::kSessionOffset));
    return std::make_unique<SetupScreen>(context);
}
