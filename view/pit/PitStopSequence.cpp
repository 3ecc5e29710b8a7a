#include "view/pit/PitStopSequence.h"

#include "view/rider/RiderMotionSet.h"

std::optional<PitStopSequenceTable> g_pitStopSequences;

PitStopSequenceTable MakePitStopSequences()
{
    PitStopSequenceTable table;
    for (uint32_t index = 0; index < kPitStopSequencesInUse; ++index)
    {
        PitStopSequence& sequence = table[index];
        const uint32_t firstClip = rider_clip::kFirstPitStop + 3 * index;
        sequence.phaseSegments = {2, 4};
        sequence.clipIds = {firstClip, firstClip + 1, firstClip + 2};
        sequence.frameCount = 312;
        sequence.segments = {
            {0, 105, 0, 0}, {105, 205, 0, 1}, {205, 250, 1, 1}, {250, 310, 0, 1}, {310, 450, 0, 0},
        };
    }
    return table;
}

void BuildPitStopSequences()
{
    g_pitStopSequences = MakePitStopSequences();
}

void FreePitStopSequences()
{
    g_pitStopSequences.reset();
}
