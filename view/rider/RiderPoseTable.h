#pragma once

// The key poses of a rider on his bike, "Motions/Motions.MDF": how far he hangs off follows
// the bike's lean, and a second set of poses (braking) fades in while the bike slows hard.
// Read once per race; every frame Update poses the body of each rider that no clip moves.
//
// The file is exactly 1800 bytes: ten rows of 180, little-endian. A row holds the hip node's
// placement (three f32), then joints 1..13 of three i32 angles in 16384 per turn as (heading,
// pitch, bank), then three unused words. Rows 0-4 are the riding poses at lean steps 0-4,
// rows 5-9 the braking poses at the same steps; a lean step is 1/3.9 of the lean.
//
// Each body node takes the joint its part code (low four bits of its user value) names; a
// negative lean mirrors the pose. Main thread only.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

struct BikeRecord;
struct WorldObject;

struct PoseRow
{
    std::array<float, 3> hip{};
    std::array<std::array<int32_t, 3>, 13> joints{};  // joint 1 first; heading, pitch, bank
};

inline constexpr size_t kPoseRows = 10;
inline constexpr size_t kPoseTableBytes = 1800;
using PoseRows = std::array<PoseRow, kPoseRows>;

class RiderPoseTable
{
public:
    static constexpr std::string_view kFileName = "Motions/Motions.MDF";

    RiderPoseTable() = default;
    virtual ~RiderPoseTable();

    // From the menu archive; false, with the table as it was, unless the file is exactly
    // 1800 bytes.
    bool Load();
    // Nothing unless the bytes are exactly one table.
    static std::optional<PoseRows> Parse(std::span<const uint8_t> bytes);

    // Poses every rider of the first count that neither plays a clip nor is out (the ghost
    // rider always), and moves each one's braking fade on by the frame's time.
    void Update(std::span<BikeRecord> bikes, uint32_t count, float frameDt,
                uint32_t ghostRider) const;

    const PoseRows& Rows() const { return rows_; }

private:
    PoseRows rows_{};
};

// Poses the hip node's subtree (at most 12 nodes, depth first, the hip's own next siblings
// included) from rows row, row + 1 (first set) and row + 5, row + 6 (second set).
// leanWeight and fadeWeight are 0..255; twist has its two low bits clear.
void BlendPose(const PoseRows& rows, WorldObject& hip, int32_t row, int32_t leanWeight,
               int32_t fadeWeight, bool rightSide, int32_t twist);

// The text after the last '\' or '/' of a path (a separator in the first place does not
// count); the path itself when it has none.
std::string_view StripPathCopy(std::string_view path);
