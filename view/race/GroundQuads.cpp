#include "view/race/GroundQuads.h"

#include <array>
#include <utility>

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"

namespace
{
constexpr float kHalfWidth = 0.45f;
}  // namespace

void UpdateGroundQuads(std::span<const BikeRecord> bikes)
{
    for (const BikeRecord& bike : bikes)
    {
        WorldObject* shadow = bike.links.bikeRoot.get();
        const WorldObject* body = bike.links.bikeBody.get();
        if (bike.IsInactive() || bike.IsDown() || shadow == nullptr || body == nullptr)
        {
            continue;
        }
        const std::span<MeshVertex> corners = LevelVertices(shadow->firstLevel);
        const float shift = sim::Sin(body->angles[2]) * 0.5f;
        const std::array<std::pair<size_t, float>, 4> moves = {{{0, -kHalfWidth - shift},
                                                                {2, -kHalfWidth - shift},
                                                                {4, kHalfWidth - shift},
                                                                {5, kHalfWidth - shift}}};
        for (const auto& [index, x] : moves)
        {
            if (index < corners.size())
            {
                corners[index].position.x = x;
            }
        }
    }
}
