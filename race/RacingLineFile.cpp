#include "race/RacingLineFile.h"

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <utility>

#include "core/util/LittleEndian.h"

namespace
{
class ImageReader
{
public:
    explicit ImageReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    void Field(uint16_t& value) { value = LoadLe16(Take(2)); }
    void Field(float& value) { value = std::bit_cast<float>(LoadLe32(Take(4))); }
    void Field(uint8_t& value) { value = *Take(1); }
    size_t Position() const { return at_; }

private:
    const uint8_t* Take(size_t count)
    {
        const uint8_t* field = &bytes_[at_];
        at_ += count;
        return field;
    }

    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

class ImageWriter
{
public:
    ImageWriter() { bytes_.reserve(kRacingLineFileSize); }
    void Field(uint16_t value) { StoreLe16(Put(2), value); }
    void Field(float value) { StoreLe32(Put(4), std::bit_cast<uint32_t>(value)); }
    void Field(uint8_t value) { bytes_.push_back(value); }
    size_t Position() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    uint8_t* Put(size_t count)
    {
        bytes_.resize(bytes_.size() + count);
        return &bytes_[bytes_.size() - count];
    }

    std::vector<uint8_t> bytes_;
};

template <typename Io, typename Array>
void Fields(Io& io, Array& values)
{
    for (auto& value : values)
    {
        io.Field(value);
    }
}

// Every field of the file in its order; Line and Head are const for writing.
template <typename Io, typename Line, typename Head>
void TransferFile(Io& io, Line& line, Head& head)
{
    for (auto* word : {&line.nodeCount, &line.pitLaneFirstNode, &line.pitLaneEndNode,
                       &line.linkLimit, &line.tvCameraCount})
    {
        io.Field(*word);
    }
    Fields(io, line.headerWords0);
    io.Field(line.lapLengthUnits);
    Fields(io, line.headerWords1);
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
    Fields(io, line.timingNodes);
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
    Fields(io, line.aidZoneByNode);
    Fields(io, line.tvCameraByNode);
    auto& slots = line.startSlots;
    io.Field(slots.count);
    io.Field(slots.firstPracticeSlot);
    io.Field(slots.gridHeading);
    Fields(io, slots.x);
    Fields(io, slots.z);
    Fields(io, slots.node);

    io.Field(head.speedTrapLine);
    io.Field(head.padding);
    for (auto* lines : {&head.lineX, &head.lineZ})
    {
        for (auto& ends : *lines)
        {
            Fields(io, ends);
        }
    }
    Fields(io, head.lineSlope);
    Fields(io, head.lineOffset);
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
           line.startSlots.count <= StartSlots::kMaxSlots;
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
    ImageReader reader(bytes);
    TransferFile(reader, line, head);
    return reader.Position() == kRacingLineFileSize;
}

std::vector<uint8_t> EncodeRacingLineFile(const RacingLine& line, const StandingsHeadRecord& head)
{
    ImageWriter writer;
    TransferFile(writer, line, head);
    return writer.Take();
}

bool IsUsableRacingLine(const RacingLine& line, const StandingsHeadRecord& head)
{
    return HasUsableCounts(line) && HasUsableLinks(line) && HasUsablePlaces(line, head);
}
