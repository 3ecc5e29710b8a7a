#include "race/collision/CollisionModel.h"

#include "race/ground/BspQuery.h"

namespace
{
constexpr float kHalfWidth = 0.35f;
constexpr float kHalfLength = 1.0f;
constexpr float kHeight = 1.2f;
constexpr int kAcross = 3;
constexpr int kHigh = 3;
constexpr int kAlong = 13;
static_assert(kAcross * kHigh * kAlong == BikeCollisionModel::kHullPoints);
}  // namespace

bool BikeCollisionModel::Contains(const ModelPoint& point) const
{
    if (solid != nullptr)
    {
        BspQuery query;
        query.x = point.x;
        query.y = point.y;
        query.z = point.z;
        query.object = solid;
        BspPointInside(query);
        return query.depth != 0;
    }
    return point.x >= boxMin.x && point.x <= boxMax.x && point.y >= boxMin.y &&
           point.y <= boxMax.y && point.z >= boxMin.z && point.z <= boxMax.z;
}

BikeCollisionModel StandardBikeModel()
{
    BikeCollisionModel model{};
    model.boxMin = {-kHalfWidth, 0.0f, -kHalfLength};
    model.boxMax = {kHalfWidth, kHeight, kHalfLength};
    size_t index = 0;
    for (int along = 0; along < kAlong; ++along)
    {
        const float z =
            -kHalfLength + 2.0f * kHalfLength * static_cast<float>(along) / (kAlong - 1);
        for (int high = 0; high < kHigh; ++high)
        {
            const float y = 0.2f + 0.4f * static_cast<float>(high);
            for (int across = 0; across < kAcross; ++across)
            {
                const float x = -kHalfWidth + kHalfWidth * static_cast<float>(across);
                model.hull[index++] = {x, y, z};
            }
        }
    }
    index = 0;
    for (const float z : {-kHalfLength, 0.0f, kHalfLength})
    {
        for (const float y : {0.0f, 0.9f})
        {
            for (const float x : {-0.3f, 0.3f})
            {
                model.body[index++] = {x, y, z};
            }
        }
    }
    return model;
}
