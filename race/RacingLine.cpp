#include "race/RacingLine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "core/util/LittleEndian.h"

namespace
{
constexpr float kPositionScale = 25.0f;
constexpr double kHeadingScale = 651.8986469044033;  // 4096 steps a turn
constexpr float kSpeedFactorScale = 256.0f;

void AppendLe16(std::vector<uint8_t>& out, uint16_t value)
{
    const size_t at = out.size();
    out.resize(at + 2);
    StoreLe16(&out[at], value);
}

// Truncated toward zero and kept as its low 16 bits; a value no 32-bit integer holds gives 0.
uint16_t CompactWord(double value)
{
    const double truncated = std::trunc(value);
    if (!(truncated > std::numeric_limits<int32_t>::min() &&
          truncated < std::numeric_limits<int32_t>::max()))
    {
        return 0;
    }
    return static_cast<uint16_t>(static_cast<int32_t>(truncated));
}

std::array<uint16_t, 7> Links(const RacingLineNode& node)
{
    return {node.next,      node.previous,   node.section, node.sideLink1,
            node.sideLink0, node.stepLength, node.runAhead};
}
}  // namespace

void RacingLineNode::Store(std::vector<uint8_t>& out) const
{
    for (const float value : {x, z, speedFactor, heading})
    {
        AppendLe32(out, std::bit_cast<uint32_t>(value));
    }
    for (const uint16_t link : Links(*this))
    {
        AppendLe16(out, link);
    }
}

bool RacingLineNode::Load(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kArchiveSize)
    {
        return false;
    }
    const auto floatAt = [&](size_t offset)
    { return std::bit_cast<float>(LoadLe32(&bytes[offset])); };
    const auto wordAt = [&](size_t index) { return LoadLe16(&bytes[16 + 2 * index]); };
    *this = RacingLineNode{.x = floatAt(0),
                           .y = 0.0f,
                           .z = floatAt(4),
                           .speedFactor = floatAt(8),
                           .slope = 0.0f,
                           .heading = floatAt(12),
                           .edgeA = 0.0f,
                           .edgeB = 0.0f,
                           .edgeC = 0.0f,
                           .next = wordAt(0),
                           .previous = wordAt(1),
                           .section = wordAt(2),
                           .sideLink0 = wordAt(4),
                           .sideLink1 = wordAt(3),
                           .stepLength = wordAt(5),
                           .runAhead = wordAt(6),
                           .padding = 0};
    return true;
}

void RacingLineNode::StoreCompact(std::vector<uint8_t>& out) const
{
    AppendLe16(out, CompactWord(static_cast<double>(x * kPositionScale)));
    AppendLe16(out, CompactWord(static_cast<double>(z * kPositionScale)));
    AppendLe16(out, CompactWord(static_cast<double>(heading) * kHeadingScale));
    AppendLe16(out, CompactWord(static_cast<double>(speedFactor * kSpeedFactorScale)));
    for (const uint16_t link : Links(*this))
    {
        AppendLe16(out, link);
    }
}

void RacingLineNode::CopyFrom(const RacingLineNode& other)
{
    *this = other;
}

void RacingLine::Reset()
{
    lapLengthUnits = kDefaultLapLengthUnits;
    nodeCount = 0;
    pitLaneFirstNode = 0;
    pitLaneEndNode = 0;
    linkLimit = 0;
    timingNodes.fill(kNoNode);
}

uint16_t RacingLine::CanonicalNode(uint16_t node) const
{
    const auto follow = [&](uint16_t RacingLineNode::*link)
    {
        while (node < nodeCount)
        {
            const uint16_t beside = nodes[node].*link;
            if (beside >= linkLimit || beside >= node)
            {
                break;
            }
            node = beside;
        }
    };
    follow(&RacingLineNode::sideLink1);
    follow(&RacingLineNode::sideLink0);
    return node;
}

std::string RacingLine::MakeFileName(std::string_view circuitName, uint32_t bikeClass)
{
    const uint32_t fileClass = std::min<uint32_t>(bikeClass & 3, 2);
    return "Streckendaten/" + std::string(circuitName) + std::to_string(fileClass) + ".wgf";
}
