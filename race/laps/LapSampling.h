#pragma once

// One lap sample taken from a bike in the race: its place, the telemetry channels scaled as the
// lap file stores them, and the pose of its nodes. Values beyond a channel's range are held at
// its ends.

#include "race/laps/LapRecord.h"

struct BikeRecord;

LapSample SampleBike(const BikeRecord& bike, float raceTime);
// A bike that fell or left the race spoils the lap it rides.
bool IsResetOrInactive(const BikeRecord& bike);
