#pragma once

// What one rider's dynamics step reads and writes besides the rider's record: the race's
// parameters and ground, the other riders, the step's random words, and the lists the step
// fills. Made by the tick for each step; main thread only.

#include <array>
#include <cstdint>
#include <span>

#include "race/BikeRecord.h"
#include "race/RaceParameters.h"

class ChannelList;
class GroundMesh;
class InputRing;
class RaceEvents;
class RaceStandings;
struct GroundQuery;
struct LapRecord;
class RacingLine;
class SkidMarkRing;

using PairDistances = std::array<std::array<float, kRiderCount>, kRiderCount>;

struct DynamicsContext
{
    const RaceParameters& params;
    const RacingLine& line;
    GroundQuery& ground;
    std::span<BikeRecord> records;  // the riders of the race
    const PairDistances& pairDistances;
    const std::array<const InputRing*, kRiderCount>& inputRings;
    ChannelList& channels;
    SkidMarkRing& skidMarks;
    RaceEvents& events;
    RaceStandings* standings;  // of the race, null for the bikes alone
    LapRecord* lapRecording;   // the player's lap, null likewise

    uint32_t step;
    uint32_t raceStartTick;
    float raceTime;          // seconds: step x 0.04
    float classFactor;       // grip use below which a hard-braking or accelerating rider slides
    float difficultyFactor;  // off-road blend of spring and vertical wheel loads
    uint32_t bikeClass;
    uint32_t random1;  // the random table's words of the step
    uint32_t random2;
    uint32_t playerRider;
    uint32_t cameraMode;  // the player's camera, for the look of the fork wobble only
};

inline bool IsInactive(const BikeRecord& bike)
{
    return (bike.flags & bike_flags::kInactive) != 0;
}
inline bool IsUprightAndActive(const BikeRecord& bike)
{
    return (bike.flags & (bike_flags::kDown | bike_flags::kInactive)) == 0;
}

// One upright, active rider by one 40 ms step.
void StepBike(DynamicsContext& context, uint32_t rider);
// The riders that are down or inactive: the engine runs down.
void IdleBike(BikeRecord& record);
// One pass of the track-edge contacts over every upright, active rider at status 0; true when
// one was pushed back.
bool TrackEdgePass(DynamicsContext& context, uint32_t riderCount);
