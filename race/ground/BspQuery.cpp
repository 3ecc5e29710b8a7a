#include "race/ground/BspQuery.h"

#include "core/world/MeshRecords.h"
#include "core/world/WorldObject.h"

void BspPointInside(BspQuery& query)
{
    query.depth = 0;
    if (query.object == nullptr || !query.object->collisionBody)
    {
        return;
    }
    const BspNode* node = query.object->collisionBody->nodes.get();
    uint32_t visited = 0;
    while (node != nullptr)
    {
        ++visited;
        const PolygonRecord* splitter = node->firstPolygon.get();
        if (splitter == nullptr)
        {
            return;
        }
        const Plane& plane = splitter->plane;
        query.lastDistance = plane.normal.x * query.x + plane.normal.y * query.y +
                             plane.normal.z * query.z + plane.d;
        if (query.lastDistance > 0.0f)
        {
            node = node->positiveChild.get();
            if (node == nullptr)
            {
                return;
            }
        }
        else
        {
            node = node->negativeChild.get();
            if (node == nullptr)
            {
                query.depth = visited;
                return;
            }
        }
    }
}
