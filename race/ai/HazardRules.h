#pragma once

// The per-step rules of hazard zones: which riders ride inside the zone, the reference place
// each keeps there, and the penalty for places gained inside it, served at the timing lines.

#include <cstdint>

class RaceAi;
class RaceContext;

// The zone flags of one rider and the penalty for places it gained inside the zone.
void UpdateHazardFlags(RaceAi& ai, RaceContext& race, uint32_t rider);
// The rider crossed a timing line with its penalty pending.
void CountPenaltyCrossing(RaceContext& race, uint32_t rider);
