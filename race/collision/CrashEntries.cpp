// The ways a rider comes down: the crashes (the bike goes down and slides, the rider with it)
// and the falls (clips the rider plays, on the bike or getting off it), and how each is
// written into the rider's record for the fallen-bike step and the rider animation.

#include <cmath>

#include "core/util/MathUtils.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/RacingLine.h"
#include "race/SimMath.h"
#include "race/collision/CollisionManager.h"

namespace
{
constexpr float kCrashTime = 10.0f;
constexpr float kSecondCrashTime = 3.0f;
constexpr float kFallTime = 10.0f;
constexpr float kHoldTime = 10.0f;  // the body stays down after the clip
constexpr float kFastCrashSpeed = 20.0f;
constexpr float kLaunchSpeed = 33.0f;
constexpr float kSidewaysTurn = 0.21991149f;
constexpr float kLayeredGround = 1.5f;  // m between ground layers (a bridge over a road)
constexpr uint32_t kMirroredClip = 0x1;
constexpr uint16_t kHiddenPart = object_flags::kNoOwnPolygons;
}  // namespace

void CollisionManager::ReactToCrashRequest(uint32_t rider, int32_t request)
{
    switch (request)
    {
        case 1:  // into the edge of the track at speed
            CrashPlain(rider);
            break;
        case 2:  // rear wheel off the ground, or leant over too far
            CrashForward(rider);
            break;
        case 3:  // front wheel off the ground, or the rear slid away
            CrashSideways(rider);
            break;
        case 4:  // the front slid away
            CrashThrown(rider);
            break;
        case 5:  // held the wheelie too long
            CrashLowside(rider);
            break;
        default:
            break;
    }
}

void CollisionManager::KeepCrashEnergy(BikeRecord& bike)
{
    bike.crashEnergy = 0.5f * bike.setup.mass * bike.speed * bike.speed;
}

void CollisionManager::Mirror(BikeRecord& bike, bool on)
{
    bike.animFlags = on ? bike.animFlags | kMirroredClip : bike.animFlags & ~kMirroredClip;
}

// What the rider animation plays the clip from: it takes the body off the bike on the first
// step of a fall clip.
void CollisionManager::StartClip(BikeRecord& bike, uint32_t clip)
{
    bike.clipId = clip;
    bike.clipFrame = 0.0f;
    bike.fallHeading = bike.heading;
    bike.fallX = bike.positionX;
    bike.fallY = bike.groundHeight;
    bike.fallZ = bike.positionZ;
    bike.fallTriangle = bike.rearTriangle;
    bike.slideSpeed = bike.speed;
    bike.fallLean = bike.steer;
    const WorldObject* body = bike.links.bikeBody.get();
    bike.fallBank = body != nullptr ? body->angles[2] : 0.0f;
    const WorldObject* hip = bike.links.hip.get();
    bike.fallPitch = hip != nullptr ? hip->angles[0] : 0.0f;
    bike.holdTime = kHoldTime;
    bike.animFlags = 0;
}

void CollisionManager::LookUpGround(BikeRecord& bike)
{
    ground_.x1 = bike.positionX;
    ground_.z1 = bike.positionZ;
    GroundLookup(ground_);
    if (ground_.surface != GroundQuery::kNoGround &&
        std::fabs(ground_.height - bike.groundHeight) > kLayeredGround)
    {
        const uint32_t found = ground_.cachedTriangle;
        const float height = ground_.height;
        const int32_t surface = ground_.surface;
        GroundLookupCached(ground_);
        if (ground_.surface == GroundQuery::kNoGround)
        {
            ground_.cachedTriangle = found;
            ground_.height = height;
            ground_.surface = surface;
        }
    }
    if (ground_.surface == GroundQuery::kNoGround)
    {
        // Off the mesh: the bike keeps what its wheels last stood on.
        bike.crashTriangle = bike.rearTriangle;
        bike.crashSurface = bike.rearSurface.surfaceClass;
    }
    else
    {
        bike.crashTriangle = ground_.cachedTriangle;
        bike.crashSurface = ground_.surface;
    }
    bike.crashSurfaceCoefficient = SurfaceCoefficient(bike.crashSurface);
}

// Along the racing line from the rider's node to the next, one way or the other by chance.
void CollisionManager::SetSlideDirection(BikeRecord& bike)
{
    float dx = sim::Sin(bike.heading);
    float dz = sim::Cos(bike.heading);
    if (line_ != nullptr && bike.aiLineNode < line_->nodeCount)
    {
        const RacingLineNode& node = line_->nodes[bike.aiLineNode];
        if (node.next < line_->nodeCount)
        {
            const RacingLineNode& next = line_->nodes[node.next];
            dx = next.x - node.x;
            dz = next.z - node.z;
        }
    }
    const float length = SqrtFloat(dx * dx + dz * dz);
    if (length > 0.0f)
    {
        dx /= length;
        dz /= length;
    }
    if ((RandomWord() & 16) != 0)
    {
        dx = -dx;
        dz = -dz;
    }
    bike.slideDirection = {dx, dz};
}

bool CollisionManager::EnterCrash(uint32_t rider, uint32_t animation)
{
    if (Bike(rider).IsDown())
    {
        return false;
    }
    SetCrashState(rider, animation);
    KeepCrashEnergy(Bike(rider));
    return true;
}

void CollisionManager::SetCrashState(uint32_t rider, uint32_t animation)
{
    BikeRecord& bike = Bike(rider);
    if (bike.IsDown())
    {
        return;
    }
    bike.crashTimer = kCrashTime;
    bike.crashSecondTimer = kSecondCrashTime;
    if (replay_ && replayCrashTimer_ < 0.0f)
    {
        replayCrashTimer_ = kCrashTime;
    }
    ++crashedCount_;
    // No dust or spray from a bike on its side.
    for (RiderObjectLinks::Link link :
         {bike.links.frontDust, bike.links.rearDust, bike.links.rearSpray})
    {
        if (WorldObject* mesh = link.get())
        {
            mesh->flags |= kHiddenPart;
        }
    }
    bike.flags |= bike_flags::kDown;
    StartClip(bike, animation);
    Mirror(bike, bike.steer < 0.0f);
    LookUpGround(bike);
    bike.crashAnimation = animation;
    bike.crashTumbleAngles = {0.0f, 0.0f};
    bike.crashGroundContact = 0;
    bike.crashImpactPlayed = 0;
    SetSlideDirection(bike);
}

bool CollisionManager::StartFall(uint32_t rider, uint32_t type)
{
    BikeRecord& bike = Bike(rider);
    bike.fallTimer = kFallTime;
    if ((bike.flags & bike_flags::kFalling) != 0)
    {
        return false;
    }
    bike.flags |= bike_flags::kFalling;
    bike.fallType = type;
    StartClip(bike, type);
    return true;
}

int32_t CollisionManager::ChooseCrash(uint32_t rider, uint32_t kind)
{
    BikeRecord& bike = Bike(rider);
    int32_t animation = -1;
    switch (kind)
    {
        case 1:
        {
            const bool turned = bike.steer >= 0.5f;
            if (bike.speed <= kFastCrashSpeed)
            {
                animation = static_cast<int32_t>(turned ? crash_animation::kSlowSlideTurned
                                                        : crash_animation::kSlowSlide);
            }
            else
            {
                animation = static_cast<int32_t>(turned ? crash_animation::kFastSlideTurned
                                                        : crash_animation::kFastSlide);
            }
            break;
        }
        case 2:
            animation = static_cast<int32_t>(crash_animation::kBackward);
            break;
        case 3:
            animation = static_cast<int32_t>(crash_animation::kOverTheBars);
            break;
        default:
            return -1;
    }
    EnterCrash(rider, static_cast<uint32_t>(animation));
    return animation;
}

void CollisionManager::CrashPlain(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    if (!EnterCrash(rider, crash_animation::kSlowSlide))
    {
        return;
    }
    bike.crashSpinRate = 0.0f;
    bike.crashRollRate = 0.0f;
}

void CollisionManager::CrashForward(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    if (!EnterCrash(rider, crash_animation::kSlowSlideTurned))
    {
        return;
    }
    const float rate = bike.steer < 0.0f ? -5.0f : 5.0f;
    bike.crashSpinRate = 0.0f;
    bike.crashRollRate = rate;
    bike.crashSecondRate = rate;
}

void CollisionManager::CrashSideways(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    if (!EnterCrash(rider, crash_animation::kSlowSlideTurned))
    {
        return;
    }
    bike.crashRollRate = bike.steer > 0.0f ? 2.0f : -2.0f;
    const float turn = bike.steer > 0.0f ? -kSidewaysTurn : kSidewaysTurn;
    const float s = sim::Sin(turn);
    const float c = sim::Cos(turn);
    const float vx = bike.velocity[0];
    const float vz = bike.velocity[2];
    bike.velocity[0] = vx * c + vz * s;
    bike.velocity[2] = vz * c - vx * s;
    bike.fallHeading = sim::WrapAngle(bike.heading + 0.5f * turn);
}

void CollisionManager::CrashThrown(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    if (!EnterCrash(rider, crash_animation::kOverTheBars))
    {
        return;
    }
    bike.crashSpinRate = bike.crashEnergy * 0.0002f;
    bike.crashRollRate = 0.5f;
    if (bike.speed > kLaunchSpeed)
    {
        bike.velocity[1] = bike.speed / 7.0f;
    }
}

void CollisionManager::CrashLowside(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    if (!EnterCrash(rider, crash_animation::kBackward))
    {
        return;
    }
    bike.crashSpinRate = 0.0f;
    bike.crashRollRate = 0.0f;
}

void CollisionManager::FallFromBike(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    StartFall(rider, fall_type::kSwerve);
    KeepCrashEnergy(bike);
    // The clip places the body itself.
    RiderObjectLinks& links = bike.links;
    for (RiderObjectLinks::Link link : {links.hip, links.torso, links.helmet})
    {
        if (WorldObject* node = link.get())
        {
            node->placement = {0.0f, 0.0f, 0.0f};
        }
    }
    if (bike.speed > kLaunchSpeed)
    {
        bike.velocity[1] = bike.speed / 7.0f;
    }
}

void CollisionManager::FallByChance(uint32_t rider)
{
    BikeRecord& bike = Bike(rider);
    KeepCrashEnergy(bike);
    const uint32_t type = RandomWord() < 128 ? fall_type::kThreat : fall_type::kAngryGesture;
    if (StartFall(rider, type))
    {
        Mirror(bike, bike.steer > 0.0f);
    }
}

void CollisionManager::FallOfType(uint32_t rider, uint32_t n)
{
    BikeRecord& bike = Bike(rider);
    KeepCrashEnergy(bike);
    if (StartFall(rider, fall_type::kFirstGesture + n))
    {
        Mirror(bike, bike.steer > 0.0f);
    }
}

uint32_t CollisionManager::CrashIfUpright(uint32_t rider)
{
    if (!Bike(rider).IsDown())
    {
        CrashForward(rider);
    }
    return 1;
}

void CollisionManager::FallOffTrack(uint32_t rider, bool mirrored)
{
    BikeRecord& bike = Bike(rider);
    KeepCrashEnergy(bike);
    LookUpGround(bike);
    if (StartFall(rider, fall_type::kOffTrack) && mirrored)
    {
        Mirror(bike, true);
    }
}

uint32_t CollisionManager::CheckCrashOutFor(uint32_t rider, uint32_t other)
{
    return crashOut_ != nullptr && crashOut_->CheckCrashOut(rider, other) ? 1 : 0;
}
