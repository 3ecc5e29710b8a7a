#pragma once

// The scene node both deliverables share: exactly 240 bytes, zero-filled when made, living in
// the 3D region. The game links and places nodes; the vector engine writes its results (sines,
// matrix, view translation, distance key, clip code, sort links) into them.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/world/MeshRecords.h"
#include "core/world/RegionRef.h"

// One level of detail of a mesh; the first one is embedded at the end of every WorldObject,
// further (coarser) ones are chained behind it.
struct LevelOfDetail
{
    float maxDistanceKey;  // the largest distance key at which this level is used
    RegionRef<LevelOfDetail> next;
    RegionRef<MeshVertex> vertices;
    uint32_t vertexCount;  // kept for the game's own writers; the engine follows the polygons
    RegionRef<MeshVertex> normals;  // may be null
    RegionRef<BspNode> bspRoot;
};
static_assert(sizeof(LevelOfDetail) == 24);
static_assert(offsetof(LevelOfDetail, next) == 4);
static_assert(offsetof(LevelOfDetail, vertices) == 8);
static_assert(offsetof(LevelOfDetail, vertexCount) == 12);
static_assert(offsetof(LevelOfDetail, normals) == 16);
static_assert(offsetof(LevelOfDetail, bspRoot) == 20);

// The level's vertices, as many as its maker counted: a writer of vertices stays inside them.
inline std::span<MeshVertex> LevelVertices(const LevelOfDetail& level)
{
    MeshVertex* first = level.vertices.get();
    return first != nullptr ? std::span<MeshVertex>(first, level.vertexCount)
                            : std::span<MeshVertex>();
}

namespace object_flags
{
inline constexpr uint16_t kRotationOrderMask = 0x7;
inline constexpr uint16_t kDepthWriteOff = 0x8;
inline constexpr uint16_t kHidden = 0x10;  // with kDrawAtOnce
inline constexpr uint16_t kCollision = 0x20;
inline constexpr uint16_t kClipTested = 0x40;
inline constexpr uint16_t kNoOwnPolygons = 0x80;
inline constexpr uint16_t kDepthTestOff = 0x100;
inline constexpr uint16_t kFrameSorted = 0x200;
inline constexpr uint16_t kFaceCamera = 0x800;
inline constexpr uint16_t kConstantColour = 0x1000;
inline constexpr uint16_t kPointSampled = 0x2000;
inline constexpr uint16_t kAlternatePrimitive = 0x4000;
inline constexpr uint16_t kDrawAtOnce = 0x8000;
}  // namespace object_flags

// Rotation about x (a, pitch), y (b, heading) and z (c, bank).
struct SineCosine
{
    float sine;
    float cosine;
};

struct WorldObject
{
    // kind 16: a node placed into a BSP node's polygon list is drawn as a nested object
    PolygonListEntry entry;
    uint32_t userValue;
    RegionRef<WorldObject> nextSibling;
    RegionRef<WorldObject> previousSibling;
    RegionRef<WorldObject> firstChild;      // attach mode 0
    RegionRef<WorldObject> firstSubObject;  // attach mode 1
    RegionRef<WorldObject> firstBspObject;  // attach mode 2
    RegionRef<WorldObject> followOn;
    float distanceKey;
    RegionRef<WorldObject> sortNear;
    RegionRef<WorldObject> sortFar;
    RegionRef<PolygonListEntry> polygonListPrevious;
    RegionRef<WorldObject> parent;
    float angles[3];
    SineCosine sineCosine[3];
    Vector3 placement;
    Vector3 pivot;
    float matrix[9];  // rows
    Vector3 viewTranslation;
    float groupRadius;
    float ownRadius;
    uint16_t flags;
    uint8_t mark;      // set while the node sits in a BSP polygon list
    uint8_t clipCode;  // bit 7: the group sphere is inside the view
    uint32_t unused1[2];
    RegionRef<uint8_t> fogTable;  // a 64-entry fog table, or null
    uint32_t fogColour;
    uint32_t colour;
    float distanceLimit;  // the object's own far distance
    uint32_t unused2[2];
    RegionRef<CollisionBody> collisionBody;
    RegionRef<uint32_t> textureList;  // texture numbers, ended by 0xFFFFFFFF
    LevelOfDetail firstLevel;
};

inline constexpr uint32_t kNodeWord = kPolygonNestedObject;
inline constexpr uint32_t kTextureListEnd = 0xFFFFFFFF;
inline constexpr uint8_t kGroupVisible = 0x80;

static_assert(sizeof(WorldObject) == 240);
static_assert(offsetof(WorldObject, entry) == 0);
static_assert(offsetof(WorldObject, userValue) == 8);
static_assert(offsetof(WorldObject, nextSibling) == 12);
static_assert(offsetof(WorldObject, previousSibling) == 16);
static_assert(offsetof(WorldObject, firstChild) == 20);
static_assert(offsetof(WorldObject, firstSubObject) == 24);
static_assert(offsetof(WorldObject, firstBspObject) == 28);
static_assert(offsetof(WorldObject, followOn) == 32);
static_assert(offsetof(WorldObject, distanceKey) == 36);
static_assert(offsetof(WorldObject, sortNear) == 40);
static_assert(offsetof(WorldObject, sortFar) == 44);
static_assert(offsetof(WorldObject, polygonListPrevious) == 48);
static_assert(offsetof(WorldObject, parent) == 52);
static_assert(offsetof(WorldObject, angles) == 56);
static_assert(offsetof(WorldObject, sineCosine) == 68);
static_assert(offsetof(WorldObject, placement) == 92);
static_assert(offsetof(WorldObject, pivot) == 104);
static_assert(offsetof(WorldObject, matrix) == 116);
static_assert(offsetof(WorldObject, viewTranslation) == 152);
static_assert(offsetof(WorldObject, groupRadius) == 164);
static_assert(offsetof(WorldObject, ownRadius) == 168);
static_assert(offsetof(WorldObject, flags) == 172);
static_assert(offsetof(WorldObject, mark) == 174);
static_assert(offsetof(WorldObject, clipCode) == 175);
static_assert(offsetof(WorldObject, fogTable) == 184);
static_assert(offsetof(WorldObject, fogColour) == 188);
static_assert(offsetof(WorldObject, colour) == 192);
static_assert(offsetof(WorldObject, distanceLimit) == 196);
static_assert(offsetof(WorldObject, collisionBody) == 208);
static_assert(offsetof(WorldObject, textureList) == 212);
static_assert(offsetof(WorldObject, firstLevel) == 216);

// A node in a polygon list is reached through its list entry, its first member.
inline WorldObject* NodeOfEntry(PolygonListEntry* entry)
{
    return reinterpret_cast<WorldObject*>(entry);
}
inline PolygonRecord* PolygonOfEntry(PolygonListEntry* entry)
{
    return reinterpret_cast<PolygonRecord*>(entry);
}

// Sets entry `slot` of the node's texture list when the list reaches that far.
inline void SetTextureEntry(WorldObject& node, size_t slot, uint32_t texture)
{
    uint32_t* list = node.textureList.get();
    if (list == nullptr)
    {
        return;
    }
    for (size_t i = 0; i <= slot; ++i)
    {
        if (list[i] == kTextureListEnd)
        {
            return;
        }
    }
    list[slot] = texture;
}
