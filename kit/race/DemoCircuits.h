#pragma once

// The circuits of the demo installation: every circuit the menus and the calendar name, each a
// generated shape of its own, so that a whole championship can be raced. The first circuit
// ("ShahAlam") is the demo circuit itself; the others are smaller, so that the installation
// stays quick to write.

#include <span>
#include <string_view>

#include "kit/race/CircuitGenerator.h"

namespace kit
{
struct DemoCircuit
{
    std::string_view key;  // the circuit's file stem, as the circuit table names it
    CircuitShape shape;
};

std::span<const DemoCircuit> DemoCircuits();
}  // namespace kit
