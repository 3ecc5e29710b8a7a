#include "kit/world/DemoObjects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kit
{
namespace
{
// A unit vector towards the light.
constexpr MeshPoint kLight = {0.267261f, 0.801784f, -0.534522f};
constexpr uint32_t kSphereLevelDetail[3][2] = {{12, 24}, {8, 16}, {4, 8}};

float Dot(const MeshPoint& a, const MeshPoint& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Grey by how much the surface faces the light, never below a third.
uint32_t Shade(const MeshPoint& normal)
{
    const float light = std::max(0.0f, Dot(normal, kLight));
    const auto level = static_cast<uint32_t>(85.0f + 170.0f * light);
    return level << 16 | level << 8 | level;
}

MeshPoint Along(const MeshPoint& centre, const MeshPoint& right, float r, const MeshPoint& up,
                float u)
{
    return {centre.x + right.x * r + up.x * u, centre.y + right.y * r + up.y * u,
            centre.z + right.z * r + up.z * u};
}

// Gives the polygon its plane, facing away from the origin.
void AddPolygon(Mesh& mesh, MeshPolygon polygon)
{
    polygon.plane = PlaneFacingAway(mesh, polygon.corners, {});
    mesh.polygons.push_back(std::move(polygon));
}

MeshPoint SpherePoint(float radius, int ring, int rings, int segment, int segments)
{
    const float latitude =
        std::numbers::pi_v<float> * (static_cast<float>(ring) / static_cast<float>(rings) - 0.5f);
    const float longitude = 2.0f * std::numbers::pi_v<float> * static_cast<float>(segment) /
                            static_cast<float>(segments);
    return {radius * std::cos(latitude) * std::sin(longitude), radius * std::sin(latitude),
            radius * std::cos(latitude) * std::cos(longitude)};
}

bool AddMember(CprWriter& archive, std::string_view name, const std::vector<uint8_t>& bytes,
               std::string& error)
{
    return archive.Add(name, bytes, MemberStorage::Smaller, error);
}
}  // namespace

Mesh TexturedBox(float halfSize, uint32_t textureNumber)
{
    struct Face
    {
        MeshPoint normal;
        MeshPoint right;  // as seen from outside
        MeshPoint up;
    };
    static constexpr Face kFaces[6] = {
        {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},
        {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},   {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    };
    Mesh mesh;
    mesh.textureNumbers = {textureNumber};
    for (const Face& face : kFaces)
    {
        const MeshPoint centre = {face.normal.x * halfSize, face.normal.y * halfSize,
                                  face.normal.z * halfSize};
        const auto first = static_cast<uint32_t>(mesh.vertices.size());
        static constexpr float kCornerSigns[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
        static constexpr float kCornerUv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
        MeshPolygon polygon;
        for (int corner = 0; corner < 4; ++corner)
        {
            mesh.vertices.push_back(Along(centre, face.right, kCornerSigns[corner][0] * halfSize,
                                          face.up, kCornerSigns[corner][1] * halfSize));
            polygon.corners.push_back(first + static_cast<uint32_t>(corner));
            polygon.textured.push_back(
                {kCornerUv[corner][0], kCornerUv[corner][1], Shade(face.normal)});
        }
        AddPolygon(mesh, std::move(polygon));
    }
    ChainConvexNodes(mesh);
    return mesh;
}

Mesh SphereMesh(float radius, int rings, int segments, uint32_t textureNumber)
{
    Mesh mesh;
    mesh.textureNumbers = {textureNumber};
    // Poles once, the rings between them.
    const auto vertexOf = [&](int ring, int segment) -> uint32_t
    {
        if (ring == 0)
        {
            return 0;
        }
        if (ring == rings)
        {
            return 1;
        }
        return static_cast<uint32_t>(2 + (ring - 1) * segments + segment % segments);
    };
    mesh.vertices.push_back(SpherePoint(radius, 0, rings, 0, segments));
    mesh.vertices.push_back(SpherePoint(radius, rings, rings, 0, segments));
    for (int ring = 1; ring < rings; ++ring)
    {
        for (int segment = 0; segment < segments; ++segment)
        {
            mesh.vertices.push_back(SpherePoint(radius, ring, rings, segment, segments));
        }
    }
    for (int ring = 0; ring < rings; ++ring)
    {
        for (int segment = 0; segment < segments; ++segment)
        {
            MeshPolygon polygon;
            const uint32_t corners[4] = {vertexOf(ring, segment), vertexOf(ring + 1, segment),
                                         vertexOf(ring + 1, segment + 1),
                                         vertexOf(ring, segment + 1)};
            for (const uint32_t corner : corners)
            {
                if (polygon.corners.empty() || polygon.corners.back() != corner)
                {
                    polygon.corners.push_back(corner);
                }
            }
            if (polygon.corners.back() == polygon.corners.front())
            {
                polygon.corners.pop_back();
            }
            AddPolygon(mesh, std::move(polygon));
            MeshPolygon& added = mesh.polygons.back();
            const MeshPoint normal = {added.plane[0], added.plane[1], added.plane[2]};
            added.textured.assign(added.corners.size(), {0.5f, 0.5f, Shade(normal)});
        }
    }
    ChainConvexNodes(mesh);
    return mesh;
}

Mesh GroundPlane(float halfSize, int tiles, uint32_t textureNumber)
{
    Mesh mesh;
    mesh.textureNumbers = {textureNumber};
    const float step = 2.0f * halfSize / static_cast<float>(tiles);
    const auto vertexOf = [tiles](int row, int column)
    { return static_cast<uint32_t>(row * (tiles + 1) + column); };
    for (int row = 0; row <= tiles; ++row)
    {
        for (int column = 0; column <= tiles; ++column)
        {
            mesh.vertices.push_back({-halfSize + step * static_cast<float>(column), 0.0f,
                                     halfSize - step * static_cast<float>(row)});
        }
    }
    MeshNode node;
    for (int row = 0; row < tiles; ++row)
    {
        for (int column = 0; column < tiles; ++column)
        {
            MeshPolygon polygon;
            polygon.plane = {0.0f, 1.0f, 0.0f, 0.0f};
            polygon.corners = {vertexOf(row, column), vertexOf(row, column + 1),
                               vertexOf(row + 1, column + 1), vertexOf(row + 1, column)};
            const uint32_t tint = (row + column) % 2 == 0 ? 0xFFFFFF : 0xC8D8C8;
            polygon.textured = {{0, 1, tint}, {1, 1, tint}, {1, 0, tint}, {0, 0, tint}};
            node.polygons.push_back(static_cast<uint32_t>(mesh.polygons.size()));
            mesh.polygons.push_back(std::move(polygon));
        }
    }
    mesh.nodes = {node};
    return mesh;
}

std::vector<Billboard> DemoBillboards(uint32_t textureNumber)
{
    std::vector<Billboard> billboards;
    constexpr int kCount = 8;
    for (int i = 0; i < kCount; ++i)
    {
        const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / kCount;
        billboards.push_back({40.0f * std::sin(angle), 0.0f, 40.0f * std::cos(angle), 3.0f,
                              8.0f + static_cast<float>(i % 3), textureNumber});
    }
    return billboards;
}

bool AddDemoObjects(CprWriter& objectsArchive, std::string& error)
{
    if (!AddMember(objectsArchive, kDemoBoxObject,
                   WriteObjectFile(TexturedBox(1.0f, kDemoBoxTexture)), error) ||
        !AddMember(objectsArchive, kDemoGroundObject,
                   WriteObjectFile(GroundPlane(50.0f, 10, kDemoGroundTexture)), error))
    {
        return false;
    }
    const std::string_view sphereNames[3] = {kDemoSphereObject, kDemoSphereLevels[0],
                                             kDemoSphereLevels[1]};
    for (int level = 0; level < 3; ++level)
    {
        const Mesh sphere =
            SphereMesh(1.0f, static_cast<int>(kSphereLevelDetail[level][0]),
                       static_cast<int>(kSphereLevelDetail[level][1]), kDemoSphereTexture);
        if (!AddMember(objectsArchive, sphereNames[level], WriteObjectFile(sphere), error))
        {
            return false;
        }
    }
    const std::vector<uint8_t> billboards =
        WriteBillboardList(DemoBillboards(kDemoBillboardTexture));
    for (const char* weather : {"S", "D", "R"})
    {
        const std::string name =
            "objekte/" + std::string(kDemoCircuitName) + "/Drehbar_" + weather + ".4dr";
        if (!AddMember(objectsArchive, name, billboards, error))
        {
            return false;
        }
    }
    return true;
}
}  // namespace kit
