#pragma once

// The kit's own checks of a generated circuit, the ones the race relies on: a usable racing
// line; ground triangles wound the same way and linked both ways; every node of the line and
// every start slot inside exactly one triangle, on the track; and the timing lines crossed
// forwards in lap order, 0, 1, 2, by a rider on each lane and from each grid slot, at short and
// at long steps, under the standings' crossing rule.

#include <string>
#include <vector>

#include "kit/race/CircuitGenerator.h"

namespace kit
{
// What is wrong with the circuit; empty when nothing is.
std::vector<std::string> CheckCircuit(const GeneratedCircuit& circuit);
}  // namespace kit
