#pragma once

// The field of a network race as the host's line-up enters it: who races from which grid
// place, every player's rider at the controls of its input ring (on every machine, the own
// as the others'), the computer riding the rest, each rider's ride aids and the race's chance
// table from the line-up, so that every machine starts the same race.

#include <cstdint>

#include "net/NetRaceMessages.h"

class RaceContext;

struct NetworkField
{
    uint32_t racingRiders = 0;  // a bit per rider in the race
    uint32_t otherPlayers = 0;  // a bit per other player's rider
};

NetworkField EnterNetworkField(RaceContext& race, const RaceLineup& lineup, uint32_t ownRider,
                               uint32_t laps);
