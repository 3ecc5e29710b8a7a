#include "tests/app/world/TestMeshes.h"

#include <cmath>
#include <numbers>

namespace
{
void AddSquare(kit::Mesh& mesh, float halfSize, float z, uint32_t slot, uint32_t colour)
{
    const auto first = static_cast<uint32_t>(mesh.vertices.size());
    mesh.vertices.push_back({-halfSize, halfSize, z});
    mesh.vertices.push_back({halfSize, halfSize, z});
    mesh.vertices.push_back({halfSize, -halfSize, z});
    mesh.vertices.push_back({-halfSize, -halfSize, z});
    kit::MeshPolygon polygon;
    polygon.plane = {0.0f, 0.0f, -1.0f, z};
    polygon.corners = {first, first + 1, first + 2, first + 3};
    polygon.textureSlot = slot;
    polygon.textured = {{0, 1, colour}, {1, 1, colour}, {1, 0, colour}, {0, 0, colour}};
    mesh.polygons.push_back(polygon);
}
}  // namespace

kit::Mesh FacingSquare(float halfSize, float z, uint32_t slot, uint32_t colour)
{
    kit::Mesh mesh;
    mesh.textureNumbers = {1, 2, 3};
    AddSquare(mesh, halfSize, z, slot, colour);
    mesh.nodes = {kit::MeshNode{-1, -1, {0}}};
    return mesh;
}

kit::Mesh TwoWalls()
{
    kit::Mesh mesh;
    mesh.textureNumbers = {1, 2};
    AddSquare(mesh, 0.5f, -1.0f, 0, 0xFFFFFF);
    AddSquare(mesh, 2.0f, 1.0f, 1, 0xFFFFFF);
    mesh.nodes = {kit::MeshNode{1, -1, {0}}, kit::MeshNode{-1, -1, {1}}};
    return mesh;
}

kit::Mesh MixedMesh()
{
    kit::Mesh mesh;
    mesh.textureNumbers = {1, 2};
    mesh.vertices = {{-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {-1, -1, 0}};
    mesh.normals = {{0, 0, -1}, {0.6f, 0, -0.8f}};
    kit::MeshPolygon textured;
    textured.plane = {0, 0, -1, 0};
    textured.corners = {0, 1, 2};
    textured.textured = {{0, 1, 0xFF0000}, {1, 1, 0x00FF00}, {1, 0, 0x0000FF}};
    kit::MeshPolygon mapped;
    mapped.kind = kit::MeshPolygonKind::EnvironmentMapped;
    mapped.plane = {0, 0, -1, 0};
    mapped.corners = {0, 2, 3};
    mapped.textureSlot = 1;
    mapped.normals = {0, 1, 0};
    mesh.polygons = {textured, mapped};
    mesh.nodes = {kit::MeshNode{-1, 1, {0}}, kit::MeshNode{-1, -1, {1}}};
    return mesh;
}

kit::Mesh RegularPolygon(int corners, float radius, float z)
{
    kit::Mesh mesh;
    mesh.textureNumbers = {1};
    kit::MeshPolygon polygon;
    polygon.plane = {0.0f, 0.0f, -1.0f, z};
    for (int i = 0; i < corners; ++i)
    {
        const float angle =
            2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(corners);
        mesh.vertices.push_back({radius * std::sin(angle), radius * std::cos(angle), z});
        polygon.corners.push_back(static_cast<uint32_t>(i));
        polygon.textured.push_back({0.5f, 0.5f, 0xFFFFFF});
    }
    mesh.polygons = {polygon};
    mesh.nodes = {kit::MeshNode{-1, -1, {0}}};
    return mesh;
}
