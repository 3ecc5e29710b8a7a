#pragma once

// Provisional: the racing-line fields the bike dynamics read, until the racing line and its
// loader land with the full image layout.

#include <array>
#include <cstdint>

struct RacingLineNode
{
    float x, y, z;
    float speedFactor;
    float slope;
    float heading;
    float lineA, lineB, lineC;  // edge equation: |A x + B z + C| is the distance from the line
    uint16_t next;
    uint16_t previous;
    uint16_t section;
    uint16_t sideLink0, sideLink1;
    uint16_t stepLength;
    uint16_t runAhead;
    uint16_t spare;
};
static_assert(sizeof(RacingLineNode) == 52);

struct RacingLine
{
    static constexpr uint32_t kMaxNodes = 4750;

    uint16_t nodeCount = 0;
    uint16_t pitLaneFirstNode = 0;
    uint16_t pitLaneEndNode = 0;
    uint16_t linkLimit = 0;
    std::array<RacingLineNode, kMaxNodes> nodes{};
    std::array<uint8_t, 800> aidZoneByNode{};

    uint32_t CanonicalNode(uint32_t node) const;
};
