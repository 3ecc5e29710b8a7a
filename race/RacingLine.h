#pragma once

// The racing line of the current circuit: a graph of up to 4750 nodes that the computer riders
// follow, with the pit lane, the trackside camera zones and the start slots. Its fields are in
// the order and at the offsets of the racing-line file image (RacingLineFile.h), which a load
// replaces whole.
//
// Index spaces: nodes below pitLaneFirstNode form the closed main lap; the pit lane runs up to
// pitLaneEndNode, branch lines that lead back to the main line up to linkLimit; nodes from
// linkLimit up to nodeCount have positions but are never the target of a side link. A side
// link at or above linkLimit is no link; a next or previous link at or above nodeCount leads
// nowhere.
//
// Positions in metres in the x/z ground plane; headings in radians with forward = (sin, cos).
// Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct RacingLineNode
{
    static constexpr size_t kArchiveSize = 30;
    static constexpr size_t kCompactSize = 22;

    float x;
    float y;
    float z;
    // The target speed of a computer rider here is speedFactor x its performance root.
    float speedFactor;
    float slope;  // height change per metre towards the next node
    float heading;
    // The line towards the next node as a x + b z + c = 0, (a, b) of unit length: the signed
    // distance of a point from the line.
    float edgeA;
    float edgeB;
    float edgeC;
    uint16_t next;
    uint16_t previous;
    uint16_t section;    // riders on nodes of one section are on the same stretch
    uint16_t sideLink0;  // the node beside this one on the parallel line to either side
    uint16_t sideLink1;
    uint16_t stepLength;  // line units to the next node, less one
    uint16_t runAhead;    // nodes the line continues ahead; 0 where it ends
    uint16_t padding;

    // The archive form: x, z, speedFactor, heading and the seven links; loading zeroes the
    // other floats. Load takes kArchiveSize bytes and is false for fewer.
    void Store(std::vector<uint8_t>& out) const;
    bool Load(std::span<const uint8_t> bytes);
    // Eleven u16: x and z x 25, the heading in 4096ths of a turn, speedFactor x 256 (each
    // truncated toward zero), then the seven links.
    void StoreCompact(std::vector<uint8_t>& out) const;
    // The nine floats and the seven links.
    void CopyFrom(const RacingLineNode& other);
};
static_assert(sizeof(RacingLineNode) == 52);
static_assert(offsetof(RacingLineNode, speedFactor) == 12);
static_assert(offsetof(RacingLineNode, slope) == 16);
static_assert(offsetof(RacingLineNode, heading) == 20);
static_assert(offsetof(RacingLineNode, edgeA) == 24);
static_assert(offsetof(RacingLineNode, next) == 36);
static_assert(offsetof(RacingLineNode, previous) == 38);
static_assert(offsetof(RacingLineNode, section) == 40);
static_assert(offsetof(RacingLineNode, sideLink0) == 42);
static_assert(offsetof(RacingLineNode, sideLink1) == 44);
static_assert(offsetof(RacingLineNode, stepLength) == 46);
static_assert(offsetof(RacingLineNode, runAhead) == 48);

// The start positions, each with the racing-line node beside it.
struct StartSlots
{
    static constexpr size_t kMaxSlots = 70;

    uint16_t count;
    uint16_t firstPracticeSlot;  // where practice placement and the pit boxes begin
    float gridHeading;
    std::array<float, kMaxSlots> x;
    std::array<float, kMaxSlots> z;
    std::array<uint16_t, kMaxSlots> node;
};
static_assert(sizeof(StartSlots) == 708);
static_assert(offsetof(StartSlots, x) == 8);
static_assert(offsetof(StartSlots, z) == 288);
static_assert(offsetof(StartSlots, node) == 568);

struct TvCameraPosition
{
    float x;
    float y;
    float z;
};

class RacingLine
{
public:
    static constexpr size_t kMaxNodes = 4750;
    static constexpr size_t kMaxTvCameras = 40;
    static constexpr size_t kAidZoneNodes = 800;   // main-line nodes with an aid-zone byte
    static constexpr size_t kTvCameraNodes = 860;  // main-line nodes with a camera byte
    static constexpr size_t kTimingLines = 4;
    static constexpr uint16_t kNoNode = 0xFFFF;
    static constexpr uint16_t kDefaultLapLengthUnits = 999;
    static constexpr float kDefaultTelemetryLimit = 200.0f;
    static constexpr float kDefaultLineConstant = 65.0f;
    // aidZoneByNode: the curve sign ahead of a bend (0..7, 8 and more none), the steering-aid
    // zone and the node's television class.
    static constexpr uint8_t kCurveSignMask = 0x0F;
    static constexpr uint8_t kNoCurveSign = 0x08;
    static constexpr uint8_t kAidZoneMask = 0x30;
    static constexpr uint8_t kTvClassMask = 0xC0;
    static constexpr uint8_t kNoTvCamera = 0xFF;

    uint16_t nodeCount = 0;
    uint16_t pitLaneFirstNode = 0;
    uint16_t pitLaneEndNode = 0;
    uint16_t linkLimit = 0;
    uint16_t tvCameraCount = 0;
    std::array<uint8_t, 18> headerWords0{};            // travel with the image
    uint16_t lapLengthUnits = kDefaultLapLengthUnits;  // laps of the full race distance
    std::array<uint8_t, 6> headerWords1{};
    float lineAcceleration = 0.0f;
    float gripFactor = 1.0f;
    float speedScaleA = 0.0f;  // the tyre preparation's front and rear targets
    float speedScaleB = 0.0f;
    float telemetryLimit = kDefaultTelemetryLimit;  // the circuit's top-speed reference
    float lineConstant = kDefaultLineConstant;
    std::array<TvCameraPosition, kMaxTvCameras> tvCameras{};
    std::array<uint16_t, kTimingLines> timingNodes = {kNoNode, kNoNode, kNoNode, kNoNode};
    uint16_t finishZoneFirst = 0;  // main-line nodes that bound the finish zone
    uint16_t finishZoneLast = 0;
    std::array<RacingLineNode, kMaxNodes> nodes{};
    std::array<uint8_t, kAidZoneNodes> aidZoneByNode{};
    std::array<uint8_t, kTvCameraNodes> tvCameraByNode{};
    StartSlots startSlots{};

    // The empty line: no nodes, the defaults above.
    RacingLine() = default;

    // Back to an empty line's counts, lap length and timing nodes.
    void Reset();

    // The main-line node beside any node: from it, follows sideLink1 while that leads to a
    // lower index, then sideLink0 likewise. A main-line node maps to itself.
    uint16_t CanonicalNode(uint16_t node) const;

    // "Streckendaten/<circuit><class>.wgf", the class at most 2.
    static std::string MakeFileName(std::string_view circuitName, uint32_t bikeClass);
};
static_assert(offsetof(RacingLine, nodeCount) == 0);
static_assert(offsetof(RacingLine, pitLaneFirstNode) == 2);
static_assert(offsetof(RacingLine, pitLaneEndNode) == 4);
static_assert(offsetof(RacingLine, linkLimit) == 6);
static_assert(offsetof(RacingLine, tvCameraCount) == 8);
static_assert(offsetof(RacingLine, lapLengthUnits) == 28);
static_assert(offsetof(RacingLine, lineAcceleration) == 36);
static_assert(offsetof(RacingLine, gripFactor) == 40);
static_assert(offsetof(RacingLine, speedScaleA) == 44);
static_assert(offsetof(RacingLine, speedScaleB) == 48);
static_assert(offsetof(RacingLine, telemetryLimit) == 52);
static_assert(offsetof(RacingLine, lineConstant) == 56);
static_assert(offsetof(RacingLine, tvCameras) == 60);
static_assert(offsetof(RacingLine, timingNodes) == 540);
static_assert(offsetof(RacingLine, finishZoneFirst) == 548);
static_assert(offsetof(RacingLine, finishZoneLast) == 550);
static_assert(offsetof(RacingLine, nodes) == 552);
static_assert(offsetof(RacingLine, aidZoneByNode) == 247552);
static_assert(offsetof(RacingLine, tvCameraByNode) == 248352);
static_assert(offsetof(RacingLine, startSlots) == 249212);
static_assert(sizeof(RacingLine) == 249920);
