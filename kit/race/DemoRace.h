#pragma once

// The race simulation's part of the demo installation, for every circuit of DemoCircuits (the
// first, "ShahAlam", is the demo circuit): its generated racing line for every class and
// difficulty in the data archive, its ground model in the objects archive; the classes'
// standard set-ups in the menu archive, and as plain files the rider data of every class and
// an empty record table.

#include <string>

#include "kit/DemoInstallation.h"
#include "kit/race/CircuitGenerator.h"

namespace kit
{
inline constexpr const char* kDemoRaceCircuitName = "ShahAlam";

// The demo circuit's shape: the length the circuit texts give it.
CircuitShape DemoCircuitShape();

bool AddDemoRace(DemoArchives& archives, const std::string& directory, std::string& error);
}  // namespace kit
