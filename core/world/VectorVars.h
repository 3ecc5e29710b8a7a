#pragma once

// The view block: 24 words the game keeps and hands to the vector engine on every camera
// update, and that screens with a scene of their own save and restore whole. Its links (the
// arena, the three caches, the world) are 3D-region offsets like every link the engine
// follows; the engine turns them into addresses when it takes the block.

#include <cstddef>
#include <cstdint>

#include "core/world/RegionRef.h"

struct WorldObject;

// The vertex cache: one entry per vertex, indexed by the vertex's byte offset / 16.
struct VertexCacheEntry
{
    uint32_t stamp;  // valid when it equals the engine's frame stamp
    float viewX;
    float viewY;
    float viewZ;
    int32_t screenX;
    int32_t screenY;
    float q;  // 1 / z, or z itself for a vertex nearer than the near plane
    uint32_t unused;
};
static_assert(sizeof(VertexCacheEntry) == 32);

// The normal cache: 16-byte entries at the normal's byte offset.
struct NormalCacheEntry
{
    uint32_t stamp;
    float u;
    float v;
    uint32_t unused;
};
static_assert(sizeof(NormalCacheEntry) == 16);

inline constexpr uint32_t kCacheRecordBytes = 32;
inline constexpr uint32_t kVertexCacheRecords = 20000;
inline constexpr uint32_t kNormalCacheRecords = 1000;
inline constexpr uint32_t kThirdCacheRecords = 1000;
// What the caches can take of one level of detail.
inline constexpr uint32_t kMaxLevelVertices = kVertexCacheRecords;
inline constexpr uint32_t kMaxLevelNormals =
    kNormalCacheRecords * kCacheRecordBytes / sizeof(NormalCacheEntry);

struct VectorVars
{
    RegionRef<uint8_t> arenaBase;  // VectorMem
    RegionRef<VertexCacheEntry> vertexCache;
    RegionRef<NormalCacheEntry> normalCache;
    RegionRef<uint8_t> thirdCache;
    uint32_t arenaUsed;
    uint32_t recordCounts[3];
    uint32_t recordCapacities[3];
    RegionRef<WorldObject> world;  // the camera: root of the drawn tree
    uint32_t arenaSize;
    int32_t viewportWidth;
    int32_t viewportHeight;
    uint32_t centreX;
    uint32_t centreY;
    float farDistance;
    float nearDistance;
    float fieldOfViewFactor;  // field of view / 640
    float aspect;
    float scales[2];
    float secondFieldOfView;
};
inline constexpr size_t kVectorVarsWords = 24;
static_assert(sizeof(VectorVars) == kVectorVarsWords * 4);
static_assert(offsetof(VectorVars, vertexCache) == 1 * 4);
static_assert(offsetof(VectorVars, arenaUsed) == 4 * 4);
static_assert(offsetof(VectorVars, recordCounts) == 5 * 4);
static_assert(offsetof(VectorVars, recordCapacities) == 8 * 4);
static_assert(offsetof(VectorVars, world) == 11 * 4);
static_assert(offsetof(VectorVars, arenaSize) == 12 * 4);
static_assert(offsetof(VectorVars, viewportWidth) == 13 * 4);
static_assert(offsetof(VectorVars, centreX) == 15 * 4);
static_assert(offsetof(VectorVars, farDistance) == 17 * 4);
static_assert(offsetof(VectorVars, nearDistance) == 18 * 4);
static_assert(offsetof(VectorVars, fieldOfViewFactor) == 19 * 4);
static_assert(offsetof(VectorVars, aspect) == 20 * 4);
static_assert(offsetof(VectorVars, scales) == 21 * 4);
static_assert(offsetof(VectorVars, secondFieldOfView) == 23 * 4);
