#pragma once

// The race object's computer-rider level over the racing line: the rider being worked on, the
// ghost lap, the session's rider count and laps, and who takes part. Each step of the race the
// simulation calls HoldStartRevs before the start and UpdateRiders from the start on; they work
// on the race the object is part of (Attach). Main thread only.

#include <array>
#include <cstdint>
#include <string>

#include "race/BikeRecord.h"
#include "race/RacingLine.h"

class CprArchive;
class RaceContext;
class RaceSim;
struct CurrentRace;
struct LapRecord;
struct StandingsHeadRecord;

class RaceAi : public RacingLine
{
public:
    static constexpr uint32_t kNoGhost = 100;
    static constexpr uint16_t kDefaultTotalLaps = 35;

    RaceAi() = default;
    ~RaceAi() { Reset(); }
    RaceAi(const RaceAi&) = delete;
    RaceAi& operator=(const RaceAi&) = delete;

    // Replaces the line with the current circuit's for the class (at most 2, written back into
    // the race) from the data archive: "Streckendaten/<circuit><n>.wgf", n the class plus 3 at
    // difficulty 2, else "Streckendaten/<circuit>/<circuit><class>.weg"; the file's timing lines
    // go into head. A file that is missing, short or not usable (IsUsableRacingLine) counts as
    // missing, and without a usable file the line, the head and the grip offset stay as they
    // were: false.
    bool LoadRacingLine(CprArchive* dataArchive, CurrentRace& race, StandingsHeadRecord& head);

    // The race whose riders, profiles, choices and standings this object works on; attached
    // once by the race context that holds it.
    void Attach(RaceContext& context) { context_ = &context; }

    // Before the race-start step: the grid's riders hold their revs; armed once the start
    // lights have begun.
    void HoldStartRevs(bool armed);
    // One step of every rider of the race from the start on: the riders 0..riderCount-1 of
    // the step's simulation.
    void UpdateRiders(RaceSim& sim, uint32_t riderCount);

    BikeRecord* currentBike = nullptr;  // the rider the computer-rider code works on
    uint32_t currentRider = 0;
    LapRecord* ghostRecord = nullptr;  // owned by the ghost session
    uint32_t ghostTag = kNoGhost;      // the ghost's lap count, kNoGhost without one
    std::string ghostFileName = "GhostFile";
    uint16_t riderCount = 0;  // riders of the session: g_bikes and the profiles up to it
    uint16_t totalLaps = kDefaultTotalLaps;
    uint32_t startPhase = 0;
    uint32_t startLineBound = 0;  // node bound of the start line
    uint32_t startGridMode = 0;   // riders were placed behind the start line for a flying start
    std::array<uint32_t, kRiderCount> inRace{};  // 1 while the rider takes part
    // The circuit's grip from the line's grip factor; the track surface grips 1.0 + 0.18 x it.
    float gripOffset = 0.0f;
    std::string scratchName;

private:
    RaceContext* context_ = nullptr;
};
