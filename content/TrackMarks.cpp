// The tyre-and-gravel mark object: a node built by hand with 200 triangles (100 quads) whose
// vertices wait below the ground until the race lays marks with them. Its blocks live in the
// object world's arena, so they go with the world.

#include <cstring>

#include "app/device/RenderDevice.h"
#include "content/LoadSession.h"
#include "core/world/SceneLinks.h"
#include "core/world/WorldObject.h"

namespace content
{
namespace
{
constexpr uint32_t kTriangles = 200;
constexpr uint32_t kVertices = 400;
constexpr uint32_t kTextureChoices = 6;
constexpr float kMarksRadius = 10000.0f;
constexpr float kHiddenHeight = -100.0f;
// The gravel-trail pictures of both dust sets and the four tyre tracks.
constexpr uint32_t kMarkTextures[kTextureChoices] = {1201, 1206, 1025, 1026, 1027, 1028};

// A triangle record: the polygon head, then its three corners and the first again.
struct MarkTriangle
{
    PolygonRecord polygon;
    uint32_t corners[4];
};
static_assert(sizeof(MarkTriangle) == 48);

// The texture choice, then four corners (the first repeated).
struct MarkCorners
{
    uint32_t textureChoice;
    TexturedCorner corners[4];
};
static_assert(sizeof(MarkCorners) == 52);

template <class T>
T* Allocate(RenderDevice& device, uint32_t count)
{
    auto* block = static_cast<T*>(device.AllocRaw(count * sizeof(T)));
    if (block != nullptr)
    {
        std::memset(static_cast<void*>(block), 0, count * sizeof(T));
    }
    return block;
}

void FillCorners(MarkCorners* records)
{
    static constexpr TexturedCorner kFirstHalf[4] = {
        {0, 0, 0xFFFFFF}, {1, 0, 0xFFFFFF}, {1, 1, 0xFFFFFF}, {0, 0, 0xFFFFFF}};
    static constexpr TexturedCorner kSecondHalf[4] = {
        {1, 1, 0xFFFFFF}, {0, 1, 0xFFFFFF}, {0, 0, 0xFFFFFF}, {1, 1, 0xFFFFFF}};
    for (uint32_t choice = 0; choice < kTextureChoices; ++choice)
    {
        MarkCorners& first = records[2 * choice];
        MarkCorners& second = records[2 * choice + 1];
        first.textureChoice = choice;
        second.textureChoice = choice;
        std::memcpy(first.corners, kFirstHalf, sizeof kFirstHalf);
        std::memcpy(second.corners, kSecondHalf, sizeof kSecondHalf);
    }
}

void FillTriangles(MarkTriangle* triangles, MarkCorners* corners)
{
    for (uint32_t index = 0; index < kTriangles; ++index)
    {
        MarkTriangle& triangle = triangles[index];
        triangle.polygon.entry.kind = kPolygonTextured;
        if (index + 1 < kTriangles)
        {
            triangle.polygon.entry.next.set(&triangles[index + 1].polygon.entry);
        }
        triangle.polygon.plane = {{0.0f, -1.0f, 0.0f}, 0.0f};
        triangle.polygon.cornerCount = 3;
        const uint32_t q = 64 * (index / 2);
        const bool even = index % 2 == 0;
        triangle.polygon.cornerBlock.set(
            reinterpret_cast<uint32_t*>(even ? &corners[0] : &corners[1]));
        const uint32_t offsets[3] = {even ? q : q + 48, even ? q + 16 : q + 32, even ? q + 48 : q};
        for (uint32_t corner = 0; corner < 3; ++corner)
        {
            triangle.corners[corner] = offsets[corner];
        }
        triangle.corners[3] = offsets[0];
    }
}

void FillVertices(MeshVertex* vertices)
{
    for (uint32_t quad = 0; quad < kVertices / 4; ++quad)
    {
        vertices[4 * quad + 0].position = {0.0f, kHiddenHeight, 0.0f};
        vertices[4 * quad + 1].position = {0.1f, kHiddenHeight, 0.0f};
        vertices[4 * quad + 2].position = {0.1f, kHiddenHeight, -0.1f};
        vertices[4 * quad + 3].position = {0.0f, kHiddenHeight, -0.1f};
    }
}
}  // namespace

void BuildTrackMarks(LoadSession& session)
{
    RenderDevice& device = session.device;
    auto* node = Allocate<WorldObject>(device, 1);
    auto* triangles = Allocate<MarkTriangle>(device, kTriangles);
    auto* vertices = Allocate<MeshVertex>(device, kVertices);
    auto* mesh = Allocate<BspNode>(device, 1);
    auto* corners = Allocate<MarkCorners>(device, 2 * kTextureChoices);
    auto* textures = Allocate<uint32_t>(device, kTextureChoices + 1);
    if (node == nullptr || triangles == nullptr || vertices == nullptr || mesh == nullptr ||
        corners == nullptr || textures == nullptr)
    {
        return;
    }
    std::memcpy(textures, kMarkTextures, sizeof kMarkTextures);
    textures[kTextureChoices] = kTextureListEnd;
    mesh->radius = 10000.0f;
    mesh->firstPolygon.set(&triangles[0].polygon);

    node->entry.kind = kNodeWord;
    node->groupRadius = kMarksRadius;
    node->ownRadius = kMarksRadius;
    node->flags = 0x802c;
    node->distanceLimit = 300.0f;
    node->firstLevel.maxDistanceKey = 10000.0f;
    node->textureList.set(textures);
    node->firstLevel.vertices.set(vertices);
    node->firstLevel.vertexCount = kVertices;
    node->firstLevel.bspRoot.set(mesh);
    FillTriangles(triangles, corners);
    FillVertices(vertices);
    FillCorners(corners);

    session.scene.trackMarks = device.AttachObject(node, session.scene.sceneGroup, 0.0f, 0.0f, 0.0f,
                                                   kAttachSubObject, kMarksRadius);
    node->flags |= 0x4;
    node->userValue = 7;
}
}  // namespace content
