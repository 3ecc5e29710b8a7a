#pragma once

// A small racing line for tests: a closed main lap of nodes on a circle, ridden clockwise seen
// from above (+y), with start slots on its first nodes and the start line across node 0.

#include <cmath>
#include <cstdint>
#include <memory>

#include "race/RacingLine.h"
#include "race/StandingsHeadRecord.h"

inline std::unique_ptr<RacingLine> MakeRingLine(uint16_t nodeCount, float radius = 50.0f)
{
    auto line = std::make_unique<RacingLine>();
    line->nodeCount = nodeCount;
    line->pitLaneFirstNode = nodeCount;
    line->pitLaneEndNode = nodeCount;
    line->linkLimit = nodeCount;
    line->lapLengthUnits = 12;
    line->lineAcceleration = 6.0f;
    for (uint16_t i = 0; i < nodeCount; ++i)
    {
        const float angle = 6.2831853f * static_cast<float>(i) / static_cast<float>(nodeCount);
        RacingLineNode& node = line->nodes[i];
        node.x = radius * std::cos(angle);
        node.z = -radius * std::sin(angle);
        node.speedFactor = 20.0f;
        node.heading = angle + 3.1415927f;
        node.next = static_cast<uint16_t>((i + 1) % nodeCount);
        node.previous = static_cast<uint16_t>((i + nodeCount - 1) % nodeCount);
        node.section = i;
        node.sideLink0 = RacingLine::kNoNode;
        node.sideLink1 = RacingLine::kNoNode;
        node.stepLength = 4;
        node.runAhead = 255;
    }
    line->startSlots.count = 3;
    for (uint16_t slot = 0; slot < 3; ++slot)
    {
        line->startSlots.node[slot] = slot;
        line->startSlots.x[slot] = line->nodes[slot].x;
        line->startSlots.z[slot] = line->nodes[slot].z;
    }
    return line;
}
