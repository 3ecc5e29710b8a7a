#include "kit/world/ObjectFileWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint32_t kVertexBytes = 16;
constexpr uint32_t kNodeBytes = 28;

class ByteWriter
{
public:
    void Word(uint32_t value)
    {
        uint8_t bytes[4];
        StoreLe32(bytes, value);
        bytes_.insert(bytes_.end(), bytes, bytes + 4);
    }
    void Tag(const char (&tag)[5]) { bytes_.insert(bytes_.end(), tag, tag + 4); }
    void Float(float value) { Word(std::bit_cast<uint32_t>(value)); }
    void Point(const MeshPoint& point)
    {
        Float(point.x);
        Float(point.y);
        Float(point.z);
    }
    void Chunk(uint32_t id, const ByteWriter& data)
    {
        Word(id);
        Word(static_cast<uint32_t>(data.bytes_.size()));
        bytes_.insert(bytes_.end(), data.bytes_.begin(), data.bytes_.end());
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

uint32_t PolygonBytes(const MeshPolygon& polygon)
{
    const auto corners = static_cast<uint32_t>(polygon.corners.size());
    const uint32_t perCorner = polygon.kind == MeshPolygonKind::Textured ? 12 : 4;
    return 32 + 4 * (corners + 1) + 4 + perCorner * (corners + 1);
}

float Distance(const MeshPoint& a, const MeshPoint& b)
{
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

struct Sphere
{
    MeshPoint centre;
    float radius = 0.0f;
};

void CollectVertices(const Mesh& mesh, int32_t node, std::vector<uint32_t>& vertices)
{
    if (node < 0)
    {
        return;
    }
    const MeshNode& bsp = mesh.nodes[static_cast<size_t>(node)];
    for (const uint32_t polygon : bsp.polygons)
    {
        const std::vector<uint32_t>& corners = mesh.polygons[polygon].corners;
        vertices.insert(vertices.end(), corners.begin(), corners.end());
    }
    CollectVertices(mesh, bsp.negativeChild, vertices);
    CollectVertices(mesh, bsp.positiveChild, vertices);
}

// Around the middle of the subtree's bounding box.
Sphere SubtreeSphere(const Mesh& mesh, int32_t node)
{
    std::vector<uint32_t> vertices;
    CollectVertices(mesh, node, vertices);
    if (vertices.empty())
    {
        return {};
    }
    MeshPoint low = mesh.vertices[vertices[0]];
    MeshPoint high = low;
    for (const uint32_t index : vertices)
    {
        const MeshPoint& point = mesh.vertices[index];
        low = {std::min(low.x, point.x), std::min(low.y, point.y), std::min(low.z, point.z)};
        high = {std::max(high.x, point.x), std::max(high.y, point.y), std::max(high.z, point.z)};
    }
    Sphere sphere;
    sphere.centre = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    for (const uint32_t index : vertices)
    {
        sphere.radius = std::max(sphere.radius, Distance(sphere.centre, mesh.vertices[index]));
    }
    return sphere;
}

ByteWriter PolygonChunk(const Mesh& mesh, const std::vector<uint32_t>& offsets,
                        const std::vector<uint32_t>& next)
{
    ByteWriter chunk;
    for (size_t i = 0; i < mesh.polygons.size(); ++i)
    {
        const MeshPolygon& polygon = mesh.polygons[i];
        const auto cornerCount = static_cast<uint32_t>(polygon.corners.size());
        chunk.Word(static_cast<uint32_t>(polygon.kind));
        chunk.Word(next[i]);
        for (const float word : polygon.plane)
        {
            chunk.Float(word);
        }
        chunk.Word(cornerCount);
        chunk.Word(offsets[i] + 32 + 4 * (cornerCount + 1));
        for (uint32_t k = 0; k <= cornerCount; ++k)
        {
            chunk.Word(polygon.corners[k % cornerCount] * kVertexBytes);
        }
        chunk.Word(polygon.textureSlot);
        for (uint32_t k = 0; k <= cornerCount; ++k)
        {
            if (polygon.kind == MeshPolygonKind::Textured)
            {
                const TexturedCornerData& corner = polygon.textured[k % cornerCount];
                chunk.Float(corner.u);
                chunk.Float(corner.v);
                chunk.Word(corner.colour);
            }
            else
            {
                chunk.Word(polygon.normals[k % cornerCount] * kVertexBytes);
            }
        }
    }
    return chunk;
}
}  // namespace

std::vector<uint8_t> WriteObjectFile(const Mesh& mesh)
{
    std::vector<uint32_t> offsets;
    uint32_t offset = 0;
    for (const MeshPolygon& polygon : mesh.polygons)
    {
        offsets.push_back(offset);
        offset += PolygonBytes(polygon);
    }
    std::vector<uint32_t> next(mesh.polygons.size(), kNone);
    for (const MeshNode& node : mesh.nodes)
    {
        for (size_t i = 1; i < node.polygons.size(); ++i)
        {
            next[node.polygons[i - 1]] = offsets[node.polygons[i]];
        }
    }

    ByteWriter vertices;
    for (const MeshPoint& point : mesh.vertices)
    {
        vertices.Point(point);
        vertices.Word(0);
    }
    ByteWriter nodes;
    for (size_t i = 0; i < mesh.nodes.size(); ++i)
    {
        const MeshNode& node = mesh.nodes[i];
        const auto child = [](int32_t index)
        { return index < 0 ? kNone : static_cast<uint32_t>(index) * kNodeBytes; };
        nodes.Word(child(node.negativeChild));
        nodes.Word(child(node.positiveChild));
        const Sphere sphere = SubtreeSphere(mesh, static_cast<int32_t>(i));
        nodes.Point(sphere.centre);
        nodes.Float(sphere.radius);
        nodes.Word(node.polygons.empty() ? kNone : offsets[node.polygons.front()]);
    }
    float ownRadius = 0.0f;
    for (const MeshPoint& point : mesh.vertices)
    {
        ownRadius = std::max(ownRadius, Distance({}, point));
    }
    ByteWriter info;
    info.Word(0);
    info.Word(0);
    info.Float(ownRadius);
    info.Word(static_cast<uint32_t>(mesh.textureNumbers.size()));
    ByteWriter textures;
    for (const uint32_t number : mesh.textureNumbers)
    {
        textures.Word(number);
    }

    ByteWriter file;
    file.Tag("_4DO");
    file.Chunk(1, vertices);
    file.Chunk(2, PolygonChunk(mesh, offsets, next));
    file.Chunk(3, nodes);
    file.Chunk(4, info);
    file.Chunk(5, textures);
    if (!mesh.normals.empty())
    {
        ByteWriter normals;
        for (const MeshPoint& normal : mesh.normals)
        {
            normals.Point(normal);
            normals.Word(0);
        }
        file.Chunk(8, normals);
    }
    return file.Take();
}

PlaneWords PlaneFacingAway(const Mesh& mesh, const std::vector<uint32_t>& corners,
                           const MeshPoint& inside)
{
    const MeshPoint& a = mesh.vertices[corners[0]];
    const MeshPoint& b = mesh.vertices[corners[1]];
    const MeshPoint& c = mesh.vertices[corners[2]];
    const MeshPoint ab = {b.x - a.x, b.y - a.y, b.z - a.z};
    const MeshPoint ac = {c.x - a.x, c.y - a.y, c.z - a.z};
    MeshPoint n = {ab.y * ac.z - ab.z * ac.y, ab.z * ac.x - ab.x * ac.z, ab.x * ac.y - ab.y * ac.x};
    const float length = Distance({}, n);
    n = {n.x / length, n.y / length, n.z / length};
    float d = -(n.x * a.x + n.y * a.y + n.z * a.z);
    if (n.x * inside.x + n.y * inside.y + n.z * inside.z + d > 0.0f)
    {
        n = {-n.x, -n.y, -n.z};
        d = -d;
    }
    return {n.x, n.y, n.z, d};
}

void ChainConvexNodes(Mesh& mesh)
{
    mesh.nodes.clear();
    for (uint32_t i = 0; i < mesh.polygons.size(); ++i)
    {
        MeshNode node;
        node.polygons = {i};
        if (i + 1 < mesh.polygons.size())
        {
            node.negativeChild = static_cast<int32_t>(i + 1);
        }
        mesh.nodes.push_back(node);
    }
}
}  // namespace kit
