#pragma once

// The incidents the race's drop-out schedule asks for, staged near the rider the viewer
// watches: a back-marker's charge, a technical failure, a crash and a fall. A kind that finds
// no candidate stays asked for and is tried again next step.

#include <cstdint>

#include "race/ai/RiderStep.h"

class CollisionManager;

void StageIncident(RiderStep& step, CollisionManager& collisions, uint32_t randomWord);
