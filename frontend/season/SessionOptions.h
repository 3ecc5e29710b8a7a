#pragma once

// The settings' riding options of a session ("Ein", stored as 0, switches an option on): what
// they switch on in the race and at the steering.

#include "app/settings/MenuState.h"
#include "race/RaceParameters.h"

struct SessionOptions
{
    SessionSwitches race;
    bool autoCentre = false;  // released steering returns to the centre
};

SessionOptions SessionOptionsOf(const MenuState& settings);

// Every machine of a network race must step the same race, so the switches that only this
// machine's settings chose are off there; the network race's own option bytes take the place
// of the settings' auto-centre, ideal lines and bend indicator.
SessionOptions TakeNetworkRaceOptions(MenuState& settings, SessionOptions options);
