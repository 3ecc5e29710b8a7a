#include "race/RacingLineFile.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "core/util/ByteFields.h"

namespace
{
// Every field of the file in its order; Line and Head are const for writing.
template <typename Io, typename Line, typename Head>
void TransferFile(Io& io, Line& line, Head& head)
{
    for (auto* word : {&line.nodeCount, &line.pitLaneFirstNode, &line.pitLaneEndNode,
                       &line.linkLimit, &line.tvCameraCount})
    {
        io.Field(*word);
    }
    io.Field(line.headerWords0);
    io.Field(line.lapLengthUnits);
    io.Field(line.headerWords1);
    for (auto* value : {&line.lineAcceleration, &line.gripFactor, &line.speedScaleA,
                        &line.speedScaleB, &line.telemetryLimit, &line.lineConstant})
    {
        io.Field(*value);
    }
    for (auto& camera : line.tvCameras)
    {
        for (auto* value : {&camera.x, &camera.y, &camera.z})
        {
            io.Field(*value);
        }
    }
    io.Field(line.timingNodes);
    io.Field(line.finishZoneFirst);
    io.Field(line.finishZoneLast);
    for (auto& node : line.nodes)
    {
        for (auto* value : {&node.x, &node.y, &node.z, &node.speedFactor, &node.slope,
                            &node.heading, &node.edgeA, &node.edgeB, &node.edgeC})
        {
            io.Field(*value);
        }
        for (auto* word : {&node.next, &node.previous, &node.section, &node.sideLink0,
                           &node.sideLink1, &node.stepLength, &node.runAhead, &node.padding})
        {
            io.Field(*word);
        }
    }
    io.Field(line.aidZoneByNode);
    io.Field(line.tvCameraByNode);
    auto& slots = line.startSlots;
    io.Field(slots.count);
    io.Field(slots.firstPracticeSlot);
    io.Field(slots.gridHeading);
    io.Field(slots.x);
    io.Field(slots.z);
    io.Field(slots.node);

    io.Field(head.speedTrapLine);
    io.Field(head.padding);
    for (auto* lines : {&head.lineX, &head.lineZ})
    {
        for (auto& ends : *lines)
        {
            io.Field(ends);
        }
    }
    io.Field(head.lineSlope);
    io.Field(head.lineOffset);
}

bool IsNodeOrNone(const RacingLine& line, uint16_t node)
{
    return node < line.nodeCount || node == RacingLine::kNoNode;
}

bool HasUsableCounts(const RacingLine& line)
{
    return line.pitLaneFirstNode >= 1 && line.pitLaneFirstNode <= line.pitLaneEndNode &&
           line.pitLaneEndNode <= line.linkLimit && line.linkLimit <= line.nodeCount &&
           line.nodeCount <= RacingLine::kMaxNodes &&
           line.pitLaneFirstNode <= RacingLine::kAidZoneNodes &&
           line.tvCameraCount <= RacingLine::kMaxTvCameras &&
           line.startSlots.count <= StartSlots::kMaxSlots && std::isfinite(line.gripFactor) &&
           line.gripFactor > 0.0f;
}

bool HasUsableLinks(const RacingLine& line)
{
    for (uint16_t i = 0; i < line.nodeCount; ++i)
    {
        const RacingLineNode& node = line.nodes[i];
        const bool onMainLap = i < line.pitLaneFirstNode;
        const bool linked =
            onMainLap ? node.next < line.nodeCount && node.previous < line.nodeCount
                      : IsNodeOrNone(line, node.next) && IsNodeOrNone(line, node.previous);
        if (!linked)
        {
            return false;
        }
    }
    return true;
}

bool HasUsablePlaces(const RacingLine& line, const StandingsHeadRecord& head)
{
    const StartSlots& slots = line.startSlots;
    const auto onLine = [&](uint16_t node) { return node < line.nodeCount; };
    return std::all_of(slots.node.begin(), slots.node.begin() + slots.count, onLine) &&
           (slots.count == 0 || slots.firstPracticeSlot < slots.count) &&
           std::all_of(line.timingNodes.begin(), line.timingNodes.end(),
                       [&](uint16_t node) { return IsNodeOrNone(line, node); }) &&
           line.finishZoneFirst < line.pitLaneFirstNode &&
           line.finishZoneLast < line.pitLaneFirstNode &&
           head.speedTrapLine < StandingsHeadRecord::kLines;
}
}  // namespace

bool DecodeRacingLineFile(std::span<const uint8_t> bytes, RacingLine& line,
                          StandingsHeadRecord& head)
{
    if (bytes.size() < kRacingLineFileSize)
    {
        return false;
    }
    FieldReader reader(bytes);
    TransferFile(reader, line, head);
    return reader.Position() == kRacingLineFileSize;
}

std::vector<uint8_t> EncodeRacingLineFile(const RacingLine& line, const StandingsHeadRecord& head)
{
    FieldWriter writer(kRacingLineFileSize);
    TransferFile(writer, line, head);
    return writer.Take();
}

bool IsUsableRacingLine(const RacingLine& line, const StandingsHeadRecord& head)
{
    return HasUsableCounts(line) && HasUsableLinks(line) && HasUsablePlaces(line, head);
}
