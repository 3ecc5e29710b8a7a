// Both wheels onto the ground, the surface under each, the lean detector and the tyres' heat
// and wear.

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"
#include "race/RaceEvents.h"
#include "race/SimMath.h"
#include "race/dynamics/BikeDynamics.h"
#include "race/ground/GroundQuery.h"

namespace dynamics
{
namespace
{
// 0.9^0.04: the energy a wheel off the ground keeps per step.
constexpr float kOffGroundEnergy = 0.99579424f;

struct SurfaceValues
{
    float rolling, grip, wear;
};

float Blend(float slow, float fast, float speed, float from, float to)
{
    if (speed <= from)
    {
        return slow;
    }
    if (speed >= to)
    {
        return fast;
    }
    return slow + (fast - slow) * (speed - from) / (to - from);
}

SurfaceValues TakeSurface(const SurfaceTuning& tuning, BikeRecord& bike, int32_t surface)
{
    const float v = bike.speed;
    if (surface == 3)
    {
        bike.roadFlag = 0;
        if (v > 5.0f)
        {
            bike.effectLevels[3] = v / 70.0f;
        }
        return {Blend(tuning.class3Slow[0], tuning.class3Fast[0], v, 10.0f, 30.0f),
                Blend(tuning.class3Slow[1], tuning.class3Fast[1], v, 10.0f, 30.0f),
                tuning.class3Third};
    }
    if (surface < 3)
    {
        bike.roadFlag = 0;
        if (v > 1.0f)
        {
            bike.effectLevels[1] = std::min(0.2f + v / 60.0f, 1.0f);
        }
        return {Blend(tuning.class2Slow[0], tuning.class2Fast[0], v, 5.0f, 15.0f),
                Blend(tuning.class2Slow[1], tuning.class2Fast[1], v, 5.0f, 15.0f),
                tuning.class2Third};
    }
    if (surface == 4)
    {
        if (v > 10.0f)
        {
            bike.effectLevels[2] = 0.02f * v;
        }
        return {tuning.class4[0], tuning.class4[1], tuning.class4[2]};
    }
    if (surface == 6)
    {
        return {tuning.class6[0], tuning.class6[1], tuning.class6[2]};
    }
    if (surface == 5)
    {
        bike.pitLaneFlag = 1;
    }
    return {tuning.classOther[0], tuning.classOther[1], tuning.classOther[2]};
}

struct Contact
{
    float& x;
    float& z;
    float& height;
    uint32_t& triangle;
    int32_t& surfaceClass;
    float& rolling;
    float& grip;
    float& wear;
};

// One wheel from its last contact point to the new one; false when it left the ground.
bool PlaceWheel(DynamicsContext& context, BikeRecord& bike, Contact wheel, float x, float z)
{
    GroundQuery& query = context.ground;
    query.cachedTriangle = wheel.triangle;
    query.x1 = wheel.x;
    query.z1 = wheel.z;
    query.x2 = x;
    query.z2 = z;
    GroundWalk(query);
    if (query.surface != GroundQuery::kNoGround &&
        std::fabs(query.height - bike.groundHeight) > 1.5f)
    {
        // Layered ground: look again from the triangle found, keeping it when nothing else
        // holds the point further on.
        const uint32_t walked = query.cachedTriangle;
        const float walkedHeight = query.height;
        const int32_t walkedSurface = query.surface;
        query.x1 = x;
        query.z1 = z;
        GroundLookupCached(query);
        if (query.surface == GroundQuery::kNoGround)
        {
            query.cachedTriangle = walked;
            query.height = walkedHeight;
            query.surface = walkedSurface;
        }
    }
    if (query.surface == GroundQuery::kNoGround)
    {
        return false;
    }
    wheel.x = x;
    wheel.z = z;
    wheel.height = query.height;
    wheel.triangle = query.cachedTriangle;
    wheel.surfaceClass = query.surface;
    const SurfaceValues values = TakeSurface(context.params.surfaces, bike, query.surface);
    wheel.rolling = values.rolling;
    wheel.grip = values.grip;
    wheel.wear = values.wear;
    return true;
}

void LoseGround(DynamicsContext& context, uint32_t rider, BikeRecord& bike, bool front)
{
    bike.kineticEnergy *= kOffGroundEnergy;
    bike.speed = SqrtFloat(2.0f * bike.kineticEnergy * bike.inverseMass);
    const bool falls = context.params.fallsEnabled;
    if (falls)
    {
        bike.crashRequest = front ? 3 : 2;
    }
    const RaceSound sound = front && falls ? RaceSound::Impact : RaceSound::Collision;
    context.events.AddSound(sound, rider, context.step);
}

void TyreWork(const DynamicsContext& context, BikeRecord& bike, float ds, bool front)
{
    const RaceParameters& params = context.params;
    const float grip = front ? bike.frontGrip : bike.rearGrip;
    float& wear = front ? bike.frontTyreWear : bike.rearTyreWear;
    if (grip > 0.0f)
    {
        wear += grip * std::fabs(bike.acceleration) * params.trackAbrasion * kDt;
    }
    float y = wear * (front ? bike.frontWearRate : bike.rearWearRate);
    if (y > 2.75f)
    {
        y = 1.375f + 0.5f * y;
    }
    const float base = front ? bike.frontTyreHeatBase : bike.rearTyreHeatBase;
    const float heating = front ? bike.frontHeatingFactor : bike.rearHeatingFactor;
    (front ? bike.frontTyreHeat : bike.rearTyreHeat) =
        std::max((2.0f - y) * heating * y + base, params.minimumTyreGrip);

    const float use = front ? bike.frontGripUse : bike.rearGripUse;
    const float rate = front ? bike.frontSurface.wearRate : bike.rearSurface.wearRate;
    float& gripWear = front ? bike.frontGripWear : bike.rearGripWear;
    gripWear += use <= 0.25f ? 4.0f * rate * ds : rate * ds / use;
    gripWear = std::clamp(gripWear, 0.8f, 1.0f);
}
}  // namespace

void TouchGround(DynamicsContext& context, uint32_t rider, BikeRecord& bike, StepScratch& step)
{
    bike.roadFlag = 1;
    bike.pitLaneFlag = 0;
    const float x = bike.positionX + bike.velocity[0] * kDt;
    const float z = bike.positionZ + bike.velocity[2] * kDt;
    const float sinH = sim::Sin(bike.heading);
    const float cosH = sim::Cos(bike.heading);
    const Contact front{bike.frontContactX,
                        bike.frontContactZ,
                        bike.frontGroundHeight,
                        bike.frontTriangle,
                        bike.frontSurface.surfaceClass,
                        bike.frontSurface.rollingFactor,
                        bike.frontSurface.grip,
                        bike.frontSurface.wearRate};
    if (!PlaceWheel(context, bike, front, x + bike.frontContactOffset * sinH,
                    z + bike.frontContactOffset * cosH))
    {
        LoseGround(context, rider, bike, true);
    }
    const Contact rear{bike.rearContactX,
                       bike.rearContactZ,
                       bike.rearGroundHeight,
                       bike.rearTriangle,
                       bike.rearSurface.surfaceClass,
                       bike.rearSurface.rollingFactor,
                       bike.rearSurface.grip,
                       bike.rearSurface.wearRate};
    if (!PlaceWheel(context, bike, rear, x + bike.rearContactOffset * sinH,
                    z + bike.rearContactOffset * cosH))
    {
        LoseGround(context, rider, bike, false);
    }
    const float f = bike.referenceFraction;
    bike.positionX = bike.frontContactX + (bike.rearContactX - bike.frontContactX) * f;
    bike.positionZ = bike.frontContactZ + (bike.rearContactZ - bike.frontContactZ) * f;
    bike.groundHeight =
        bike.frontGroundHeight + (bike.rearGroundHeight - bike.frontGroundHeight) * f;

    if (context.params.slideFallsEnabled && bike.raceStatus == 0)
    {
        const int32_t surface = bike.frontSurface.surfaceClass;
        const float v = bike.speed;
        if (surface <= 3 && v > 15.0f && std::fabs(bike.steer) > 0.5f)
        {
            if (++bike.leanOverloadCounter > 10)
            {
                bike.crashRequest = 2;
            }
        }
        else if (surface <= 2 && v > 25.0f)
        {
            if (++bike.leanOverloadCounter > 15)
            {
                bike.crashRequest = 4;
            }
        }
        else
        {
            bike.leanOverloadCounter = 0;
        }
    }
    TyreWork(context, bike, step.ds, true);
    TyreWork(context, bike, step.ds, false);
}
}  // namespace dynamics
