#include "race/ground/GroundMesh.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "core/util/LittleEndian.h"
#include "core/world/MeshRecords.h"

namespace
{
float LoadFloat(const std::byte* bytes)
{
    return std::bit_cast<float>(LoadLe32(reinterpret_cast<const uint8_t*>(bytes)));
}

uint32_t LoadWord(const std::byte* bytes)
{
    return LoadLe32(reinterpret_cast<const uint8_t*>(bytes));
}

bool AllFinite(const GroundTriangle& triangle)
{
    const float values[] = {triangle.a,    triangle.b,    triangle.c,    triangle.d,
                            triangle.x[0], triangle.x[1], triangle.x[2], triangle.z[0],
                            triangle.z[1], triangle.z[2]};
    for (const float value : values)
    {
        if (!std::isfinite(value))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

float GroundTriangle::EdgeValue(int edge, float qx, float qz) const
{
    const int from = edge;
    const int to = edge == 2 ? 0 : edge + 1;
    return (z[to] - z[from]) * (qx - x[from]) - (x[to] - x[from]) * (qz - z[from]);
}

bool GroundTriangle::Contains(float qx, float qz) const
{
    return FirstEdgeOutside(qx, qz) < 0;
}

int32_t GroundTriangle::FirstEdgeOutside(float qx, float qz) const
{
    for (int edge = 0; edge < 3; ++edge)
    {
        if (std::signbit(EdgeValue(edge, qx, qz)))
        {
            return edge;
        }
    }
    return -1;
}

std::optional<GroundMesh> GroundMesh::Bind(std::span<const std::byte> list)
{
    if (list.size() < kFirstRecord)
    {
        return std::nullopt;
    }
    const uint32_t count = LoadWord(list.data());
    if (count > kMaxTriangles || (list.size() - kFirstRecord) / kRecordBytes < count)
    {
        return std::nullopt;
    }
    const GroundMesh mesh(list.data(), count);
    for (uint32_t index = 0; index < count; ++index)
    {
        const GroundTriangle triangle = mesh.Triangle(OffsetOf(index));
        if (triangle.surface >= kSurfaceCount || triangle.b == 0.0f || !AllFinite(triangle))
        {
            return std::nullopt;
        }
        for (const uint32_t link : triangle.neighbours)
        {
            if (link != GroundTriangle::kBorder && !mesh.IsTriangle(link))
            {
                return std::nullopt;
            }
        }
    }
    return mesh;
}

std::optional<GroundMesh> GroundMesh::Bind(const TrackCollisionModel& model)
{
    const uint32_t count = model.recordCount;
    if (count > kMaxTriangles)
    {
        return std::nullopt;
    }
    return Bind(std::span(reinterpret_cast<const std::byte*>(&model),
                          kFirstRecord + size_t{count} * kRecordBytes));
}

GroundTriangle GroundMesh::Triangle(uint32_t offset) const
{
    const std::byte* record = list_ + offset;
    GroundTriangle triangle;
    triangle.surface = LoadWord(record);
    triangle.a = LoadFloat(record + 4);
    triangle.b = LoadFloat(record + 8);
    triangle.c = LoadFloat(record + 12);
    triangle.d = LoadFloat(record + 16);
    for (int i = 0; i < 3; ++i)
    {
        triangle.neighbours[i] = LoadWord(record + 20 + 4 * i);
        triangle.x[i] = LoadFloat(record + 32 + 8 * i);
        triangle.z[i] = LoadFloat(record + 36 + 8 * i);
    }
    return triangle;
}
