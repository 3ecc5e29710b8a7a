#include "race/collision/CollisionManager.h"

#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"

namespace
{
constexpr float kRiderHalfWidth = 1.0f;
constexpr float kObjectHalfWidth = 0.3f;
constexpr float kObjectAboveGround = 0.248f;
constexpr float kFrictionScale = 3.0f;
constexpr uint16_t kHiddenPart = object_flags::kNoOwnPolygons;
}  // namespace

CollisionManager::CollisionManager() : standardModel_(StandardBikeModel()), model_(&standardModel_)
{
    // Friction of a sliding bike by surface id: gravel and sand grip most, then grass, the
    // kerbs and the road; every id is then scaled alike.
    surfaceCoefficients_.fill(1.0f);
    surfaceCoefficients_[1] = 4.0f;
    surfaceCoefficients_[2] = 4.0f;
    surfaceCoefficients_[3] = 3.0f;
    surfaceCoefficients_[4] = 1.8f;
    surfaceCoefficients_[6] = 5.0f;
    for (uint32_t id = 7; id <= 11; ++id)
    {
        surfaceCoefficients_[id] = 2.2f;
    }
    for (float& coefficient : surfaceCoefficients_)
    {
        coefficient *= kFrictionScale;
    }
    surfaceBounce_[1] = 0.2f;
    surfaceBounce_[2] = 0.2f;
    surfaceBounce_[3] = 0.4f;
    surfaceBounce_[4] = 0.8f;
    for (uint32_t id = 6; id <= 11; ++id)
    {
        surfaceBounce_[id] = 1.0f;
    }
    sweep_.Clear();
}

void CollisionManager::Attach(std::span<BikeRecord> bikes, ChannelList& channels,
                              RaceEvents& events)
{
    bikes_ = bikes.first(std::min<size_t>(bikes.size(), hulls_.size()));
    channels_ = &channels;
    raceEvents_ = &events;
}

void CollisionManager::SetBikeModel(const BikeCollisionModel* model)
{
    model_ = model != nullptr ? model : &standardModel_;
}

float CollisionManager::SurfaceCoefficient(int32_t surface) const
{
    return surface >= 0 && surface < static_cast<int32_t>(kSurfaceIds)
               ? surfaceCoefficients_[static_cast<uint32_t>(surface)]
               : kFrictionScale;
}

float CollisionManager::SurfaceBounce(int32_t surface) const
{
    return surface >= 0 && surface < static_cast<int32_t>(kSurfaceIds)
               ? surfaceBounce_[static_cast<uint32_t>(surface)]
               : 0.0f;
}

uint32_t CollisionManager::RandomWord() const
{
    const uint32_t index = step_ & 255;
    return index < randomTable_.size() ? randomTable_[index] : 0;
}

void CollisionManager::ResetForRace(uint32_t riderCount)
{
    riderCount_ = std::min<uint32_t>(riderCount, static_cast<uint32_t>(bikes_.size()));
    objectCount_ = 0;
    movingHead_ = -1;
    movingCount_ = 0;
    sweep_.Clear();
    hullStamps_.fill(0);
    bodyStamps_.fill(0);
    stepCounter_ = 0;
    crashedCount_ = 0;
    replayCrashTimer_ = -1.0f;
    eventCount_ = 0;
    ground_.fallbackCount = 0;
}

bool CollisionManager::AddTrackObject(WorldObject& object)
{
    if (objectCount_ == kMaxTrackObjects || ground_.triangleList == nullptr)
    {
        return false;
    }
    TrackObject& record = objects_[objectCount_];
    record = {};
    record.object.set(&object);
    record.nextMoving = record.previousMoving = -1;
    ground_.x2 = object.placement.x;
    ground_.z2 = object.placement.z;
    if (objectCount_ == 0)
    {
        ground_.x1 = ground_.x2;
        ground_.z1 = ground_.z2;
        GroundLookup(ground_);
    }
    else
    {
        // Objects stand along the track in order: a short walk from the one before.
        const TrackObject& previous = objects_[objectCount_ - 1];
        ground_.x1 = previous.object->placement.x;
        ground_.z1 = previous.object->placement.z;
        ground_.cachedTriangle = previous.triangle;
        GroundWalk(ground_);
        if (ground_.surface == GroundQuery::kNoGround)
        {
            ground_.x1 = ground_.x2;
            ground_.z1 = ground_.z2;
            GroundLookup(ground_);
        }
    }
    record.surface = ground_.surface;
    record.triangle = ground_.cachedTriangle;
    if (ground_.surface != GroundQuery::kNoGround)
    {
        object.placement.y = ground_.height + kObjectAboveGround;
    }
    ++objectCount_;
    return true;
}

// Riders are entities by their number, objects by kMaxTrackObjects + their index.
void CollisionManager::EntityPosition(uint32_t value, float& x, float& z) const
{
    if (value < kMaxTrackObjects)
    {
        x = bikes_[value].positionX;
        z = bikes_[value].positionZ;
        return;
    }
    const WorldObject& object = *objects_[value - kMaxTrackObjects].object;
    x = object.placement.x;
    z = object.placement.z;
}

void CollisionManager::BuildSweepLists()
{
    sweep_.Clear();
    for (uint32_t rider = 0; rider < riderCount_; ++rider)
    {
        if (!bikes_[rider].IsInactive())
        {
            sweep_.Add(rider, kRiderHalfWidth);
        }
    }
    for (uint32_t index = 0; index < objectCount_; ++index)
    {
        sweep_.Add(kMaxTrackObjects + index, kObjectHalfWidth);
    }
    sweep_.Build([this](uint32_t value, float& x, float& z) { EntityPosition(value, x, z); });
}

void CollisionManager::SweepAndPrune()
{
    ++stepCounter_;
    sweep_.Update([this](uint32_t value, float& x, float& z) { EntityPosition(value, x, z); });
    sweep_.ForEachPair(
        [this](uint32_t a, uint32_t b)
        {
            const uint32_t first = sweep_.Value(a);
            const uint32_t second = sweep_.Value(b);
            if (first >= kMaxTrackObjects)
            {
                return;  // two objects
            }
            if (second >= kMaxTrackObjects)
            {
                CollideObject(first, second - kMaxTrackObjects);
            }
            else if (CollideRiders(first, second) == 0)
            {
                CollideRiders(second, first);
            }
        });
}

void CollisionManager::AdvanceStep(float dt)
{
    for (uint32_t rider = 0; rider < riderCount_; ++rider)
    {
        BikeRecord& bike = bikes_[rider];
        if (bike.contactTimer > 0.0f)
        {
            bike.contactTimer -= dt;
            if (bike.contactTimer <= 0.0f)
            {
                bike.contactTimer = 0.0f;
                bike.flags &= ~kContactFlag;
            }
        }
    }
}

void CollisionManager::HideRiderParts(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    RiderObjectLinks& links = bike.links;
    const std::array<RiderObjectLinks::Link*, 8> parts = {&links.bikeRoot,
                                                          &links.bikePart,
                                                          &links.bikeBody,
                                                          &links.bike,
                                                          &links.hip,
                                                          &links.seat,
                                                          &links.furtherBikeNodes[0],
                                                          &links.furtherBikeNodes[1]};
    for (RiderObjectLinks::Link* link : parts)
    {
        if (WorldObject* node = link->get())
        {
            node->flags |= kHiddenPart;
        }
    }
    if (WorldObject* root = links.bikeRoot.get())
    {
        root->placement.x = kOutOfTheWay;
        root->placement.z = kOutOfTheWay;
    }
    // Taken off the circuit, where no rider meets it again.
    bike.positionX = kOutOfTheWay;
    bike.positionZ = kOutOfTheWay;
    bike.velocity = {0.0f, 0.0f, 0.0f};
    bike.speed = 0.0f;
    bike.crashEnergy = 0.0f;
}

void CollisionManager::AddEvent(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    if (eventCount_ < kEventCapacity)
    {
        events_[eventCount_++] = {{a, b, c, d}};
    }
}

BikeRecord& CollisionManager::Bike(uint32_t rider)
{
    return bikes_[rider];
}

CollisionManager::HullFrame CollisionManager::FrameOf(const BikeRecord& bike)
{
    return {bike.positionX, bike.groundHeight, bike.positionZ, sim::Sin(bike.heading),
            sim::Cos(bike.heading)};
}

ModelPoint CollisionManager::IntoFrame(const HullFrame& frame, float x, float y, float z)
{
    const float dx = x - frame.x;
    const float dz = z - frame.z;
    return {dx * frame.cosH - dz * frame.sinH, y - frame.y, dx * frame.sinH + dz * frame.cosH};
}

void CollisionManager::RefreshHull(uint32_t rider)
{
    if (hullStamps_[rider] == stepCounter_ + 1)
    {
        return;
    }
    hullStamps_[rider] = stepCounter_ + 1;
    const HullFrame frame = FrameOf(bikes_[rider]);
    for (size_t i = 0; i < BikeCollisionModel::kHullPoints; ++i)
    {
        const ModelPoint& p = model_->hull[i];
        hulls_[rider][i] = {frame.x + p.x * frame.cosH + p.z * frame.sinH, frame.y + p.y,
                            frame.z - p.x * frame.sinH + p.z * frame.cosH};
    }
}

void CollisionManager::RefreshBodyPoints(uint32_t rider)
{
    if (bodyStamps_[rider] != stepCounter_ + 1)
    {
        ComputeBodyPoints(rider);
    }
}

void CollisionManager::ComputeBodyPoints(uint32_t rider)
{
    bodyStamps_[rider] = stepCounter_ + 1;
    const BikeRecord& bike = bikes_[rider];
    const HullFrame frame = FrameOf(bike);
    const float sinRoll = sim::Sin(bike.crashTumbleAngles[1]);
    const float cosRoll = sim::Cos(bike.crashTumbleAngles[1]);
    const float sinSpin = sim::Sin(bike.crashTumbleAngles[0]);
    const float cosSpin = sim::Cos(bike.crashTumbleAngles[0]);
    for (size_t i = 0; i < BikeCollisionModel::kBodyPoints; ++i)
    {
        const ModelPoint& p = model_->body[i];
        // Rolled about the bike's length, tumbled end over end, turned to the heading.
        const float x = p.x * cosRoll - p.y * sinRoll;
        const float rolledY = p.x * sinRoll + p.y * cosRoll;
        const float y = rolledY * cosSpin - p.z * sinSpin;
        const float z = rolledY * sinSpin + p.z * cosSpin;
        bodies_[rider][i] = {frame.x + x * frame.cosH + z * frame.sinH, frame.y + y,
                             frame.z - x * frame.sinH + z * frame.cosH};
    }
}

void CollisionManager::SaveRollbackState(size_t slot)
{
    RollbackState& saved = rollback_[slot % kRollbackSlots];
    saved.stepCounter = stepCounter_;
    saved.crashedCount = crashedCount_;
    saved.replayCrashTimer = replayCrashTimer_;
    saved.eventCount = eventCount_;
    saved.movingHead = movingHead_;
    saved.movingCount = movingCount_;
    saved.objects = objects_;
    for (uint32_t i = 0; i < objectCount_; ++i)
    {
        const WorldObject& object = *objects_[i].object;
        saved.placements[i] = object.placement;
        saved.angles[i] = {object.angles[0], object.angles[1], object.angles[2]};
    }
    saved.sweep = sweep_;
}

void CollisionManager::RestoreRollbackState(size_t slot)
{
    const RollbackState& saved = rollback_[slot % kRollbackSlots];
    stepCounter_ = saved.stepCounter;
    crashedCount_ = saved.crashedCount;
    replayCrashTimer_ = saved.replayCrashTimer;
    eventCount_ = saved.eventCount;
    movingHead_ = saved.movingHead;
    movingCount_ = saved.movingCount;
    objects_ = saved.objects;
    for (uint32_t i = 0; i < objectCount_; ++i)
    {
        WorldObject& object = *objects_[i].object;
        object.placement = saved.placements[i];
        for (size_t k = 0; k < 3; ++k)
        {
            object.angles[k] = saved.angles[i][k];
        }
    }
    sweep_ = saved.sweep;
    // The records went back too: every hull is computed anew.
    hullStamps_.fill(0);
    bodyStamps_.fill(0);
}
