#pragma once

// Generated circuits for the demo installation and for tests: a closed lap of straights and
// equal right-hand bends (a rounded regular polygon; two bends make an oval), drawn as a racing
// line with a passing lane either side, 27 start slots, three timing lines and flat ground that
// covers the track and a grass run-off on both sides.
//
// The racing line: main-line nodes 0..M-1 from the start line on, the side-0 lane (outside the
// bends) M..2M-1 and the side-1 lane (inside) 2M..3M-1, each node linked to the nodes beside
// it; no pit lane. Speed factors are the speed in m/s a machine of the class can hold there.
// Start slot 0 lies on the start line, slots 1..26 two abreast on the lanes behind it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/game/GameEnums.h"
#include "kit/world/TrackCollisionWriter.h"
#include "race/RacingLine.h"
#include "race/StandingsHeadRecord.h"

namespace kit
{
struct CircuitShape
{
    float lapLengthMetres = 977.0f;
    int32_t bends = 2;  // 2 or more
    float bendRadiusMetres = 60.0f;
    float trackHalfWidthMetres = 6.0f;
    float laneOffsetMetres = 3.0f;   // of the passing lanes from the line
    float runOffMetres = 12.0f;      // grass beyond each edge of the track
    float nodeSpacingMetres = 5.0f;  // at least lap / 800
    uint16_t fullRaceLaps = 12;
};

// Ground surface ids.
inline constexpr uint32_t kGrassSurface = 3;
inline constexpr uint32_t kTrackSurface = 4;

struct GeneratedCircuit
{
    std::unique_ptr<RacingLine> line;
    StandingsHeadRecord head;
    std::vector<TrackTriangle> ground;
};

// Nothing, with the reason, for a shape that cannot be built: straights too short for the grid,
// lanes off the track, or a run-off reaching past a bend's centre.
std::optional<GeneratedCircuit> GenerateCircuit(const CircuitShape& shape, BikeClass bikeClass,
                                                std::string& error);
}  // namespace kit
