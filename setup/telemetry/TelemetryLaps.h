#pragma once

// The laps of the session that the telemetry screen offers: "Tempdaten/Daten_Runde%d.fhr",
// numbered from 1 with no gap, the last 12 of them at most.

#include <cstdint>
#include <memory>
#include <span>

#include "race/laps/LapRecord.h"

struct OfferedLaps
{
    static constexpr int32_t kMaxShown = 12;
    static constexpr int32_t kMaxCounted = 99;

    int32_t count = 0;      // lap files 1..count exist
    int32_t lapOffset = 0;  // entry i of the lap lists is lap file lapOffset + 1 + i
    int32_t lapsShown = 0;
};

// Counts from lap 1 until a lap file cannot be read.
OfferedLaps FindOfferedLaps();

// Entry i of the lap lists, read and prepared for plotting: times from the lap's first sample
// and the ground distance along its samples. Null when the file is missing or damaged.
std::unique_ptr<LapRecord> LoadOfferedLap(const OfferedLaps& offered, int32_t entry);

// Sample times from the first sample, and each sample's distance from the first (the running
// sum of the ground steps between samples).
void PrepareLapAxes(LapRecord& lap);

// The last sample's value of the axis; 0 for an empty lap.
float LapDuration(const LapRecord& lap);
float LapLength(const LapRecord& lap);
