// Loads the input as a ".4co" circuit model the way the object world does, binds it as the
// race's ground, and walks over it: lookups, cached lookups, edge checks and walks between
// points taken from the model's own corners, so that every link the checks let through is
// followed.

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/world/ObjectFileImage.h"
#include "race/ground/GroundQuery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
    {
        return 0;
    }
    std::vector<uint8_t> image(data, data + size);
    const TrackCollisionModel* model =
        RelocateTrackCollisionImage(image.data(), static_cast<uint32_t>(image.size()));
    if (model == nullptr)
    {
        return 0;
    }
    const auto mesh = GroundMesh::Bind(*model);
    if (!mesh)
    {
        return 0;
    }
    GroundQuery query;
    query.triangleList = &*mesh;
    const uint32_t count = mesh->Count();
    float previousX = 0.0f;
    float previousZ = 0.0f;
    for (uint32_t i = 0; i < count && i < 64; ++i)
    {
        const GroundTriangle triangle = mesh->Triangle(GroundMesh::OffsetOf(i));
        // The triangle's centre, and a point beyond its first corner.
        const float x = (triangle.x[0] + triangle.x[1] + triangle.x[2]) / 3.0f;
        const float z = (triangle.z[0] + triangle.z[1] + triangle.z[2]) / 3.0f;
        query.x1 = x;
        query.z1 = z;
        GroundLookup(query);
        GroundLookupCached(query);
        query.x1 = previousX;
        query.z1 = previousZ;
        query.x2 = x;
        query.z2 = z;
        GroundWalk(query);
        query.x2 = 2.0f * triangle.x[0] - x;
        query.z2 = 2.0f * triangle.z[0] - z;
        GroundEdgeCheck(query);
        query.x1 = x;
        query.z1 = z;
        GroundWalk(query);
        query.cachedTriangle = static_cast<uint32_t>(i * 29u + 4u);
        GroundLookupCached(query);
        previousX = x;
        previousZ = z;
    }
    return 0;
}
