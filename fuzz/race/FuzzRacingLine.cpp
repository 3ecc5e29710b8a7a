// Damages a sound racing-line file with the input and reads it as the game does: whatever the
// file holds is either refused, or a line every walk along it stays within.
//
// The input is a list of patches over the generated oval's file: u32 offset (little-endian,
// taken modulo the file's size), u8 length, then that many bytes; an input of four bytes
// alone cuts the file short at that length instead.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/util/LittleEndian.h"
#include "kit/race/CircuitGenerator.h"
#include "race/RacingLineFile.h"

namespace
{
std::vector<uint8_t> SoundFile()
{
    std::string error;
    const auto circuit = kit::GenerateCircuit(kit::CircuitShape{}, BikeClass::Class250, error);
    if (!circuit)
    {
        std::abort();
    }
    return EncodeRacingLineFile(*circuit->line, circuit->head);
}

void Patch(std::vector<uint8_t>& file, const uint8_t* data, size_t size)
{
    size_t at = 0;
    while (at + 5 <= size)
    {
        const size_t offset = LoadLe32(data + at) % file.size();
        const size_t length = data[at + 4];
        at += 5;
        for (size_t i = 0; i < length && at < size; ++i, ++at)
        {
            file[(offset + i) % file.size()] = data[at];
        }
    }
}

void Require(bool condition)
{
    if (!condition)
    {
        std::abort();
    }
}

// What the race does with a usable line: every node to its main-line node, every link and
// table entry it may follow or read.
void Walk(const RacingLine& line, const StandingsHeadRecord& head)
{
    for (uint16_t node = 0; node < line.nodeCount; ++node)
    {
        Require(line.CanonicalNode(node) < line.nodeCount);
        const RacingLineNode& n = line.nodes[node];
        for (const uint16_t link : {n.next, n.previous})
        {
            Require(link < line.nodeCount || link == RacingLine::kNoNode);
        }
    }
    uint16_t node = 0;
    for (uint16_t step = 0; step < line.pitLaneFirstNode; ++step)
    {
        Require(node < line.nodeCount);
        node = line.nodes[node].next;
    }
    for (uint16_t main = 0; main < line.pitLaneFirstNode; ++main)
    {
        Require(main < line.aidZoneByNode.size() && main < line.tvCameraByNode.size());
    }
    for (uint16_t slot = 0; slot < line.startSlots.count; ++slot)
    {
        Require(line.startSlots.node[slot] < line.nodeCount);
    }
    Require(head.speedTrapLine < StandingsHeadRecord::kLines);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<uint8_t> sound = SoundFile();
    std::vector<uint8_t> file = sound;
    if (size == 4)
    {
        file.resize(LoadLe32(data) % (file.size() + 1));
    }
    Patch(file, data, size);
    static const auto line = std::make_unique<RacingLine>();
    StandingsHeadRecord head;
    if (DecodeRacingLineFile(file, *line, head) && IsUsableRacingLine(*line, head))
    {
        Walk(*line, head);
    }
    return 0;
}
