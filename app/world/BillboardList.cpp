// ".4dr" billboard lists: textured quads that always face the camera, one node each with a
// one-polygon mesh of its own, built in the arena from a list of placements.

#include <bit>
#include <cstddef>
#include <string>
#include <vector>

#include "app/archive/ArchiveSet.h"
#include "app/world/ObjectWorld.h"
#include "app/world/VectorMem.h"
#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"

namespace
{
constexpr uint32_t kRecordBytes = 40;
constexpr uint16_t kBillboardFlags = 4 | object_flags::kFaceCamera;
constexpr float kBillboardGroupRadius = 20.0f;
constexpr uint32_t kWhite = 0xFFFFFF;

// A billboard's BSP node and its one textured polygon, with the polygon's corner data.
struct BillboardGeometry
{
    BspNode node;
    PolygonRecord polygon;
    uint32_t corners[5];
    uint32_t textureSlot;
    TexturedCorner cornerData[5];
};
static_assert(sizeof(BillboardGeometry) == 144);
static_assert(offsetof(BillboardGeometry, polygon) == 28);
static_assert(offsetof(BillboardGeometry, textureSlot) == 80);

// Everything one billboard takes of the arena.
struct Billboard
{
    WorldObject node;
    BillboardGeometry geometry;
    MeshVertex vertices[4];
    uint32_t textureList[3];  // the number, 0, and the end mark every list carries
};

struct BillboardRecord
{
    Vector3 placement;
    float halfWidth;
    float height;
    uint32_t textureNumber;
};

float FloatAt(const uint8_t* bytes)
{
    return std::bit_cast<float>(LoadLe32(bytes));
}

BillboardRecord ReadRecord(const uint8_t* bytes)
{
    return {{FloatAt(bytes), FloatAt(bytes + 4), FloatAt(bytes + 8)},
            FloatAt(bytes + 12),
            FloatAt(bytes + 16),
            LoadLe32(bytes + 36)};
}

void BuildGeometry(BillboardGeometry& geometry, float height)
{
    geometry.node.centre = {0.0f, height / 2.0f, 0.0f};
    geometry.node.radius = height;
    geometry.node.firstPolygon.set(&geometry.polygon);
    geometry.polygon.entry.kind = kPolygonTextured;
    geometry.polygon.plane = {{0.0f, 0.0f, -1.0f}, 0.0f};
    geometry.polygon.cornerCount = 4;
    geometry.polygon.cornerBlock.set(&geometry.textureSlot);
    static constexpr uint32_t kCorners[5] = {0, 16, 32, 48, 0};
    static constexpr float kU[5] = {0.0f, 1.0f, 1.0f, 0.0f, 0.0f};
    static constexpr float kV[5] = {1.0f, 1.0f, 0.0f, 0.0f, 1.0f};
    for (int corner = 0; corner < 5; ++corner)
    {
        geometry.corners[corner] = kCorners[corner];
        geometry.cornerData[corner] = {kU[corner], kV[corner], kWhite};
    }
}

void BuildBillboard(Billboard& billboard, const BillboardRecord& record, float range)
{
    const float w = record.halfWidth;
    const float h = record.height;
    WorldObject& node = billboard.node;
    node.entry.kind = kNodeWord;
    node.flags = kBillboardFlags;
    node.ownRadius = w * w;
    node.groupRadius = w * w;
    node.distanceLimit = 10000.0f;
    billboard.textureList[0] = record.textureNumber;
    billboard.textureList[2] = kTextureListEnd;
    node.textureList.set(billboard.textureList);
    billboard.vertices[0].position = {-w, h, 0.0f};
    billboard.vertices[1].position = {w, h, 0.0f};
    billboard.vertices[2].position = {w, 0.0f, 0.0f};
    billboard.vertices[3].position = {-w, 0.0f, 0.0f};
    BuildGeometry(billboard.geometry, h);
    node.firstLevel.maxDistanceKey = range * range;
    node.firstLevel.vertices.set(billboard.vertices);
    node.firstLevel.vertexCount = 4;
    node.firstLevel.bspRoot.set(&billboard.geometry.node);
}

const char* WeatherLetter(int32_t weather)
{
    switch (weather)
    {
        case 0:
            return "S";
        case 1:
            return "D";
        case 2:
            return "R";
        default:
            return nullptr;
    }
}
}  // namespace

void ObjectWorld::LoadRotatingObjects(WorldObject* parent, float range,
                                      std::string_view circuitName, int32_t weather)
{
    const char* letter = WeatherLetter(weather);
    if (parent == nullptr || letter == nullptr)
    {
        return;
    }
    const std::string name = "objekte/" + std::string(circuitName) + "/Drehbar_" + letter + ".4dr";
    DAFile file(g_archiveObjects);
    if (!file.Exists(name) || !file.Open(name))
    {
        return;
    }
    const int32_t length = file.GetLength();
    std::vector<uint8_t> bytes(static_cast<size_t>(length > 0 ? length : 0));
    if (bytes.size() < 4 ||
        file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size())
    {
        return;
    }
    const auto count = static_cast<int32_t>(LoadLe32(bytes.data()));
    if (count < 0 || static_cast<uint64_t>(count) > (bytes.size() - 4) / kRecordBytes)
    {
        return;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        const BillboardRecord record = ReadRecord(bytes.data() + 4 + kRecordBytes * i);
        auto* billboard =
            reinterpret_cast<Billboard*>(AllocateZeroedInArena(*vars_, sizeof(Billboard)));
        if (billboard == nullptr)
        {
            return;
        }
        BuildBillboard(*billboard, record, range);
        AttachObject(&billboard->node, parent, record.placement.x, record.placement.y,
                     record.placement.z, kAttachChild, kBillboardGroupRadius);
    }
}
