#pragma once

// The client's side of the state check: the host's state blocks of a step go into the
// lock-step state's host ring, and are compared with the client's own checksums of that step
// when it has already simulated it. The race compares the other way round when its step comes
// after the host's message, and rolls back to the first step that differed.

#include "net/NetRaceMessages.h"
#include "race/LockstepState.h"

void TakeHostStateCheck(LockstepState& lockstep, const StateCheckView& check);

class NetSession;

// The host's side: the rider's state block, as entry `index` of the state check of the step.
void AddRiderToStateCheck(NetSession& session, const BikeRecord& bike, uint32_t step,
                          uint32_t rider, uint32_t index);
