#include "race/collision/CrossedEdge.h"

#include "core/util/MathUtils.h"

bool CrossedEdge::Of(const GroundQuery& query, CrossedEdge& edge)
{
    if (query.exitEdge < 0 || query.triangleList == nullptr ||
        !query.triangleList->IsTriangle(query.cachedTriangle))
    {
        return false;
    }
    const GroundTriangle triangle = query.triangleList->Triangle(query.cachedTriangle);
    const int from = query.exitEdge / 4;
    const int to = from == 2 ? 0 : from + 1;
    const float ex = triangle.x[to] - triangle.x[from];
    const float ez = triangle.z[to] - triangle.z[from];
    const float length = SqrtFloat(ex * ex + ez * ez);
    if (!(length > 0.0f))
    {
        return false;
    }
    edge = {triangle.x[from], triangle.z[from], ex / length, ez / length, from};
    return true;
}
