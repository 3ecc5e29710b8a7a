#include "race/RacingLine.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "core/util/ByteFields.h"

namespace
{
constexpr float kPositionScale = 25.0f;
constexpr double kHeadingScale = 651.8986469044033;  // 4096 steps a turn
constexpr float kSpeedFactorScale = 256.0f;

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

// The archive forms' order of the seven links; Node is const for storing.
template <typename Io, typename Node>
void TransferLinks(Io& io, Node& node)
{
    for (auto* link : {&node.next, &node.previous, &node.section, &node.sideLink1, &node.sideLink0,
                       &node.stepLength, &node.runAhead})
    {
        io.Field(*link);
    }
}

void Append(std::vector<uint8_t>& out, FieldWriter& writer)
{
    const std::vector<uint8_t> bytes = writer.Take();
    out.insert(out.end(), bytes.begin(), bytes.end());
}
}  // namespace

void RacingLineNode::Store(std::vector<uint8_t>& out) const
{
    FieldWriter writer(kArchiveSize);
    for (const float value : {x, z, speedFactor, heading})
    {
        writer.Field(value);
    }
    TransferLinks(writer, *this);
    Append(out, writer);
}

bool RacingLineNode::Load(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kArchiveSize)
    {
        return false;
    }
    RacingLineNode loaded{};
    FieldReader reader(bytes);
    for (float* value : {&loaded.x, &loaded.z, &loaded.speedFactor, &loaded.heading})
    {
        reader.Field(*value);
    }
    TransferLinks(reader, loaded);
    *this = loaded;
    return true;
}

void RacingLineNode::StoreCompact(std::vector<uint8_t>& out) const
{
    FieldWriter writer(kCompactSize);
    writer.Field(CompactWord(static_cast<double>(x * kPositionScale)));
    writer.Field(CompactWord(static_cast<double>(z * kPositionScale)));
    writer.Field(CompactWord(static_cast<double>(heading) * kHeadingScale));
    writer.Field(CompactWord(static_cast<double>(speedFactor * kSpeedFactorScale)));
    TransferLinks(writer, *this);
    Append(out, writer);
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
