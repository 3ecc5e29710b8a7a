#pragma once

// The records of a mesh as the vector engine walks them: vertices, BSP nodes and polygon
// records, kept in the 3D region exactly as an object file holds them once its offsets have
// been turned into region links. Little-endian, every size and offset fixed.

#include <cstddef>
#include <cstdint>

#include "core/world/RegionRef.h"

struct Vector3
{
    float x;
    float y;
    float z;
};
static_assert(sizeof(Vector3) == 12);

// Front side where normal . p + d >= 0.
struct Plane
{
    Vector3 normal;
    float d;
};
static_assert(sizeof(Plane) == 16);

// Vertices and per-vertex normals alike: 16 bytes, the fourth word is not read.
struct MeshVertex
{
    Vector3 position;
    uint32_t unused;
};
static_assert(sizeof(MeshVertex) == 16);

// Polygon kinds, as byte offsets into the engine's handler table.
enum PolygonKind : uint32_t
{
    kPolygonTextured = 4,           // per corner u, v and colour
    kPolygonEnvironmentMapped = 8,  // per corner a normal
    kPolygonNestedObject = 16,      // a WorldObject placed into a BSP node's list
};

// What every entry of a BSP node's polygon list begins with: a polygon record, or a
// WorldObject (node word 16) placed there while its owner is drawn.
struct PolygonListEntry
{
    uint32_t kind;
    RegionRef<PolygonListEntry> next;  // null = end of the list
};
static_assert(sizeof(PolygonListEntry) == 8);

// Followed by cornerCount + 1 corner references (byte offsets into the vertex array, the
// first repeated at the end).
struct PolygonRecord
{
    PolygonListEntry entry;
    Plane plane;
    uint32_t cornerCount;
    RegionRef<uint32_t> cornerBlock;  // starts with the texture slot

    const uint32_t* Corners() const { return reinterpret_cast<const uint32_t*>(this + 1); }
    uint32_t* Corners() { return reinterpret_cast<uint32_t*>(this + 1); }
};
static_assert(sizeof(PolygonRecord) == 32);
static_assert(offsetof(PolygonRecord, entry) == 0);
static_assert(offsetof(PolygonRecord, plane) == 8);
static_assert(offsetof(PolygonRecord, cornerCount) == 24);
static_assert(offsetof(PolygonRecord, cornerBlock) == 28);

// One corner of a textured polygon's block, after the texture slot.
struct TexturedCorner
{
    float u;
    float v;
    uint32_t colour;  // 0x00RRGGBB
};
static_assert(sizeof(TexturedCorner) == 12);

// Bytes of a polygon record with its corner list, and of its per-corner block.
constexpr uint64_t PolygonHeadBytes(uint64_t cornerCount)
{
    return sizeof(PolygonRecord) + 4 * (cornerCount + 1);
}
constexpr uint64_t CornerBlockBytes(uint32_t kind, uint64_t cornerCount)
{
    return 4 + (kind == kPolygonTextured ? sizeof(TexturedCorner) : 4) * (cornerCount + 1);
}

struct BspNode
{
    RegionRef<BspNode> negativeChild;
    RegionRef<BspNode> positiveChild;
    Vector3 centre;  // of a sphere that holds the subtree
    float radius;
    RegionRef<PolygonRecord> firstPolygon;  // its plane splits the node; null = none
};
static_assert(sizeof(BspNode) == 28);
static_assert(offsetof(BspNode, positiveChild) == 4);
static_assert(offsetof(BspNode, centre) == 8);
static_assert(offsetof(BspNode, radius) == 20);
static_assert(offsetof(BspNode, firstPolygon) == 24);

// A ".4do" collision body: this header, then the file image.
struct CollisionBody
{
    int32_t vertexCount;
    RegionRef<MeshVertex> vertices;
    RegionRef<BspNode> nodes;
};
static_assert(sizeof(CollisionBody) == 12);

// A ".4co" circuit collision model: the record count, then the records. Links are byte offsets
// from the model's start, 0 = none; the other words belong to the collision code.
struct TrackCollisionRecord
{
    uint32_t head[5];
    uint32_t links[3];
    uint32_t tail[6];
};
static_assert(sizeof(TrackCollisionRecord) == 56);
static_assert(offsetof(TrackCollisionRecord, links) == 20);

struct TrackCollisionModel
{
    uint32_t recordCount;

    TrackCollisionRecord* Records()
    {
        return reinterpret_cast<TrackCollisionRecord*>(reinterpret_cast<uint8_t*>(this) + 4);
    }
};
