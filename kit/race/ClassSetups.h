#pragma once

// The standard machine of each class, as the class set-up files "Raddaten/<class>Std.rdf"
// carry it: round figures for a 125, a 250 and a 500 ccm Grand Prix machine with its rider,
// whose power and drag give top speeds of about 210, 250 and 300 km/h, and gearing that lets
// sixth gear reach them near the power peak.

#include "core/game/GameEnums.h"
#include "race/BikeSetup.h"

namespace kit
{
BikeSetup ClassStandardSetup(BikeClass bikeClass);

// The speed (m/s) at which the machine's peak power meets its air drag.
double DragLimitedTopSpeed(const BikeSetup& setup);
// The speed (m/s) of the machine in sixth gear at the engine speed of its peak power.
double SixthGearSpeedAtPeak(const BikeSetup& setup);
}  // namespace kit
