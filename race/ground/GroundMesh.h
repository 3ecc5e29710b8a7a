#pragma once

// The circuit's ground: the triangle list of its ".4co" collision model, checked once when a
// race binds it, so that the ground queries can follow its links without checking them again.
//
// The list is the model as the object world holds it: a u32 triangle count, then 56-byte
// triangle records. A triangle is named by the byte offset of its record from the start of
// the list (4 + 56 * index); neighbour links use the same offsets, 0 = border.
//
// The mesh does not own the list: the object world keeps it for the race. Main thread only.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct TrackCollisionModel;

// One ground triangle, decoded from its record.
struct GroundTriangle
{
    static constexpr uint32_t kBorder = 0;

    uint32_t surface;        // 0..31
    float a, b, c, d;        // plane a x + b y + c z + d = 0, b not 0
    uint32_t neighbours[3];  // across edges 0 (vertex 0 -> 1), 1 (1 -> 2), 2 (2 -> 0)
    float x[3];
    float z[3];

    // Ground height at (x, z) on the triangle's plane.
    float HeightAt(float qx, float qz) const { return -(a * qx + c * qz + d) / b; }
    // Whether (qx, qz) lies inside: no edge value has its sign bit set, so a point on an edge
    // with +0.0 is inside and one with -0.0 is not.
    bool Contains(float qx, float qz) const;
    // The index (0, 1, 2) of the first edge the point lies outside of, -1 when inside.
    int32_t FirstEdgeOutside(float qx, float qz) const;
    // Edge value of the point against edge 0..2: negative outside.
    float EdgeValue(int edge, float qx, float qz) const;
};

class GroundMesh
{
public:
    static constexpr uint32_t kRecordBytes = 56;
    static constexpr uint32_t kFirstRecord = 4;
    static constexpr uint32_t kSurfaceCount = 32;
    // More triangles than any circuit has; keeps every offset inside 32 bits.
    static constexpr uint32_t kMaxTriangles = 1u << 24;

    // The list in bytes as it lies in memory (count word and records). Nothing when the list
    // is not whole or a triangle is unsound: a link that names no triangle, a surface id
    // above 31, a plane that cannot give a height (b zero) or a value that is not finite.
    static std::optional<GroundMesh> Bind(std::span<const std::byte> list);
    // The same for a loaded model, whose size the loader has checked against its file.
    static std::optional<GroundMesh> Bind(const TrackCollisionModel& model);

    uint32_t Count() const { return count_; }
    // Whether the offset names a triangle of this list.
    bool IsTriangle(uint32_t offset) const
    {
        return offset >= kFirstRecord && (offset - kFirstRecord) % kRecordBytes == 0 &&
               (offset - kFirstRecord) / kRecordBytes < count_;
    }
    static constexpr uint32_t OffsetOf(uint32_t index)
    {
        return kFirstRecord + index * kRecordBytes;
    }
    static constexpr uint32_t IndexOf(uint32_t offset)
    {
        return (offset - kFirstRecord) / kRecordBytes;
    }

    // The triangle at a valid offset (IsTriangle).
    GroundTriangle Triangle(uint32_t offset) const;

private:
    GroundMesh(const std::byte* list, uint32_t count) : list_(list), count_(count) {}

    const std::byte* list_;
    uint32_t count_;
};
