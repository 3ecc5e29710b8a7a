// Trackside objects a rider runs into: knocked away in the direction the rider hit them, they
// bounce over the ground, turn, tip over and come to rest. The rider does not notice.

#include <algorithm>
#include <cmath>
#include <span>

#include "core/util/MathUtils.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"
#include "race/collision/CollisionManager.h"
#include "race/collision/CrossedEdge.h"

namespace
{
constexpr float kGravity = 9.81f;
constexpr float kLiftSpeed = 9.0f;  // from here on a hit throws the object up
constexpr float kLiftShare = 0.125f;
constexpr float kEdgeBounce = 0.4f;
constexpr float kTurnPerSpeed = 0.1f;
constexpr float kTipRate = 1.7566372f;  // rad/s
constexpr float kTipLimit = 2.0707965f;
constexpr float kStill = 0.001f;
constexpr uint32_t kCorners = 8;
// An object without a collision body stands on its foot, this far below its placement.
constexpr MeshVertex kFoot = {{0.0f, -0.248f, 0.0f}, 0};

// Direction of travel in the ground plane as the hit measures it.
float Bearing(float x, float z)
{
    if (std::fabs(z) <= 0.001f)
    {
        return sim::kPi * 0.5f;
    }
    const float angle = sim::Atan(x / z);
    return z < 0.0f ? angle + sim::kPi : angle;
}

// The object's rotation: tipped over by its first angle, turned by its second.
struct ObjectFrame
{
    float sinTilt, cosTilt, sinYaw, cosYaw;
    Vector3 origin;

    explicit ObjectFrame(const WorldObject& object)
        : sinTilt(sim::Sin(object.angles[0])),
          cosTilt(sim::Cos(object.angles[0])),
          sinYaw(sim::Sin(object.angles[1])),
          cosYaw(sim::Cos(object.angles[1])),
          origin(object.placement)
    {
    }

    Vector3 ToWorld(const Vector3& p) const
    {
        const float y = p.y * cosTilt - p.z * sinTilt;
        const float z = p.y * sinTilt + p.z * cosTilt;
        return {origin.x + p.x * cosYaw + z * sinYaw, origin.y + y,
                origin.z - p.x * sinYaw + z * cosYaw};
    }
};

// The points of the object's collision body; its foot without one.
std::span<const MeshVertex> CollisionPoints(const WorldObject& object)
{
    const CollisionBody* body = object.collisionBody.get();
    if (body == nullptr || body->vertexCount <= 0 || !body->vertices)
    {
        return {&kFoot, 1};
    }
    return {body->vertices.get(), static_cast<size_t>(body->vertexCount)};
}
}  // namespace

uint32_t CollisionManager::CollideObject(uint32_t rider, uint32_t index)
{
    if (index >= objectCount_)
    {
        return 0;
    }
    TrackObject& record = objects_[index];
    if (record.knocked)
    {
        return 0;
    }
    WorldObject& object = *record.object;
    BikeRecord& bike = Bike(rider);
    const ObjectFrame frame(object);
    const HullFrame bikeFrame = FrameOf(bike);
    const std::span<const MeshVertex> points = CollisionPoints(object);
    const bool hit = std::any_of(points.begin(), points.end(),
                                 [&](const MeshVertex& vertex)
                                 {
                                     const Vector3 p = frame.ToWorld(vertex.position);
                                     return model_->Contains(IntoFrame(bikeFrame, p.x, p.y, p.z));
                                 });
    if (!hit)
    {
        return 0;
    }
    const float travel = Bearing(bike.velocity[0], bike.velocity[2]);
    const float toObject =
        Bearing(object.placement.x - bike.positionX, object.placement.z - bike.positionZ);
    const float off = toObject - travel;
    record.turnWeight = sim::Sin(off);
    record.pushWeight = 1.0f - record.turnWeight;
    const float beta = bike.heading + off;
    record.velocity = {bike.speed * sim::Sin(beta),
                       bike.speed >= kLiftSpeed ? bike.speed * kLiftShare : 0.0f,
                       bike.speed * sim::Cos(beta)};
    record.knocked = true;
    record.previousMoving = -1;
    record.nextMoving = movingHead_;
    if (movingHead_ >= 0)
    {
        objects_[static_cast<uint32_t>(movingHead_)].previousMoving = static_cast<int32_t>(index);
    }
    movingHead_ = static_cast<int32_t>(index);
    ++movingCount_;
    return 1;
}

void CollisionManager::UpdateTrackObjects(float dt)
{
    int32_t index = movingHead_;
    while (index >= 0)
    {
        TrackObject& record = objects_[static_cast<uint32_t>(index)];
        const int32_t next = record.nextMoving;
        MoveObject(record, dt);
        if (!record.knocked)
        {
            Unlink(static_cast<uint32_t>(index));
        }
        index = next;
    }
}

void CollisionManager::Unlink(uint32_t index)
{
    TrackObject& record = objects_[index];
    if (record.previousMoving >= 0)
    {
        objects_[static_cast<uint32_t>(record.previousMoving)].nextMoving = record.nextMoving;
    }
    else
    {
        movingHead_ = record.nextMoving;
    }
    if (record.nextMoving >= 0)
    {
        objects_[static_cast<uint32_t>(record.nextMoving)].previousMoving = record.previousMoving;
    }
    record.nextMoving = record.previousMoving = -1;
    --movingCount_;
}

// One step of a knocked object; it rests (knocked cleared) once it has stopped, lies on the
// ground and has tipped over as far as it goes.
void CollisionManager::MoveObject(TrackObject& record, float dt)
{
    WorldObject& object = *record.object;
    std::array<float, 3>& v = record.velocity;
    ground_.cachedTriangle = record.triangle;
    ground_.x1 = object.placement.x;
    ground_.z1 = object.placement.z;
    ground_.x2 = object.placement.x + v[0] * dt;
    ground_.z2 = object.placement.z + v[2] * dt;
    ground_.exitEdge = -1;
    GroundWalk(ground_);
    bool touching = false;
    if (ground_.surface == GroundQuery::kNoGround)
    {
        // Off the edge of the ground: bounced back off the edge crossed, not moved.
        CrossedEdge edge{};
        if (CrossedEdge::Of(ground_, edge))
        {
            edge.Reflect(v[0], v[2], kEdgeBounce);
        }
    }
    else
    {
        object.placement.x = ground_.x2;
        object.placement.z = ground_.z2;
        record.triangle = ground_.cachedTriangle;
        record.surface = ground_.surface;
        // The corner deepest below the ground, or the least clearance of any corner.
        const ObjectFrame frame(object);
        const std::span<const MeshVertex> points = CollisionPoints(object);
        float depth = -1.0e30f;
        const size_t corners = std::min<size_t>(points.size(), kCorners);
        for (size_t i = 0; i < corners; ++i)
        {
            const Vector3 corner = frame.ToWorld(points[i].position);
            ground_.cachedTriangle = record.triangle;
            ground_.x1 = object.placement.x;
            ground_.z1 = object.placement.z;
            ground_.x2 = corner.x;
            ground_.z2 = corner.z;
            GroundWalk(ground_);
            if (ground_.surface != GroundQuery::kNoGround)
            {
                depth = std::max(depth, ground_.height - corner.y);
            }
        }
        if (depth >= 0.0f)
        {
            object.placement.y += depth;
            v[1] = std::fabs(SurfaceBounce(record.surface) * v[1] * 0.5f);
            touching = true;
        }
        else
        {
            const float fall = v[1] * dt;
            touching = fall <= depth;
            object.placement.y += std::max(fall, depth);
        }
    }
    const float horizontal = SqrtFloat(v[0] * v[0] + v[2] * v[2]);
    object.angles[1] =
        sim::WrapAngle(object.angles[1] + kTurnPerSpeed * record.turnWeight * horizontal * dt);
    float& tilt = object.angles[0];
    tilt = std::clamp(tilt + std::copysign(kTipRate * dt, tilt), -kTipLimit, kTipLimit);
    const float slowed = horizontal - SurfaceCoefficient(record.surface) * dt;
    if (slowed <= 0.0f && touching && std::fabs(tilt) >= kTipLimit)
    {
        record.knocked = false;
        v = {0.0f, 0.0f, 0.0f};
        return;
    }
    const float scale = horizontal <= kStill ? 0.0f : std::max(slowed, 0.0f) / horizontal;
    v[0] *= scale;
    v[2] *= scale;
    v[1] -= kGravity * dt;
}
