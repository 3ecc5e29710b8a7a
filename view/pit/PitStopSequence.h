#pragma once

// The pit-stop sequences a pit crew scene plays: one 450-frame animation of two mechanics and
// the stopping rider, cut into five segments. The scene waits at the end of its hold segment
// (repeating it when it loops) until the pit-stop code asks for the next phase.
//
//   segment  frames     loops  rider in the scene
//   0          0 - 105  no     no   the mechanics come to the bike
//   1        105 - 205  no     yes
//   2        205 - 250  yes    yes  phase 0: the work, repeated
//   3        250 - 310  no     yes
//   4        310 - 450  no     no   phase 1: the mechanics leave
//
// The four sequences differ only in their clips ("bs2" to "bs5"). The table has room for
// eight; the last four have no segments and are never picked.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct PitStopSegment
{
    uint32_t firstFrame;
    uint32_t lastFrame;
    uint8_t loop;
    uint8_t riderInScene;
};

struct PitStopSequence
{
    std::array<uint32_t, 2> phaseSegments{};  // the hold segment of phases 0 and 1
    std::array<uint32_t, 3> clipIds{};        // mechanic A, mechanic B, the rider
    uint32_t frameCount = 0;                  // the scene is done past this frame
    std::vector<PitStopSegment> segments;

    uint32_t SegmentCount() const { return static_cast<uint32_t>(segments.size()); }
};

inline constexpr size_t kPitStopSequenceRecords = 8;
inline constexpr uint32_t kPitStopSequencesInUse = 4;
using PitStopSequenceTable = std::array<PitStopSequence, kPitStopSequenceRecords>;

PitStopSequenceTable MakePitStopSequences();

// The race's table, built when a race loads and freed when it is unloaded.
extern std::optional<PitStopSequenceTable> g_pitStopSequences;
void BuildPitStopSequences();
void FreePitStopSequences();
