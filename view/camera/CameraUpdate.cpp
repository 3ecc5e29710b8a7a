// The camera's frame step: the finish hand-over, fall following, the shot timers, then the
// pose of the current mode written to the view node.

#include <cmath>

#include "core/world/WorldObject.h"
#include "race/RaceContext.h"
#include "race/SimMath.h"
#include "view/camera/RaceCamera.h"

namespace
{
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr float kShotSeconds = 8.0f;
constexpr float kMaxTvZoom = 8000.0f;
// Points appended to the trail in one frame before the ring is seeded afresh: a bike moved
// far away at once (back on the track after a fall) would otherwise take thousands of steps.
constexpr float kTrailReseedDistance = 128.0f;
// The look-ahead stays inside the ring.
constexpr float kMaxLookAheadPoints = 124.0f;

bool IsDownOrOut(const BikeRecord& bike)
{
    return (bike.flags & 0x1u) != 0 || static_cast<int32_t>(bike.flags) < 0;
}

float Angle(const WorldObject* node, int axis)
{
    return node != nullptr ? node->angles[axis] : 0.0f;
}

float Distance(const Vector3& a, const Vector3& b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float dz = b.z - a.z;
    return sim::Sqrt(dx * dx + dy * dy + dz * dz);
}

// The uniform cubic B-spline through four ring points, and its tangent.
struct SplinePoint
{
    uint32_t k;
    float t;
};

SplinePoint SplineAt(float u, uint32_t newest)
{
    const float whole = std::floor(u);
    const auto n = static_cast<int32_t>(whole);
    const auto k = static_cast<uint32_t>(static_cast<int32_t>(newest) - n - 1) &
                   (RaceCamera::kTrailPoints - 1);
    return {k, u - whole};
}

const Vector3& Ring(const std::array<Vector3, RaceCamera::kTrailPoints>& ring, uint32_t k,
                    uint32_t back)
{
    return ring[(k - back) & (RaceCamera::kTrailPoints - 1)];
}
}  // namespace

void RaceCamera::Update(float dt)
{
    if (dt == 0.0f)
    {
        return;
    }
    if (finishViewActive)
    {
        modeTimer -= dt;
        if (mode == CameraMode::CameraFinish && modeTimer < 0.0f)
        {
            SetFallenRiderView();
            StartPresetShot();
        }
    }
    const uint32_t viewed = race_.current.viewedRider % kRiderCount;
    if (IsDownOrOut(race_.bikes[viewed]) && fallFollowRider != static_cast<int32_t>(viewed))
    {
        SetFallenRiderView();
        fallFollowRider = static_cast<int32_t>(viewed);
    }
    if (fallFollowRider != static_cast<int32_t>(viewed) && mode == CameraMode::CameraFallenRider)
    {
        fallFollowRider = kNoFallFollowed;
        EnterOnBoard();
    }
    modeTimer -= dt;
    shotClock += dt;
    timerExpired = modeTimer < 0.0f;
    if (tvMode)
    {
        PickTvRider();
    }

    const BikeRecord& bike = Viewed();
    switch (mode)
    {
        case CameraMode::CameraTrail:
            UpdateTrail(bike);
            break;
        case CameraMode::CameraPresetShot:
            UpdatePresetShot(bike, dt);
            break;
        case CameraMode::CameraChase:
            UpdateChase(BikePosition(bike), bike.heading, true);
            break;
        case CameraMode::CameraTrackChase:
            UpdateChase(BikePosition(bike), bike.course, true);
            break;
        case CameraMode::CameraFallenRider:
        {
            const WorldObject* body = bike.links.hip.get();
            UpdateChase(body != nullptr ? body->placement : BikePosition(bike), heading, false);
            break;
        }
        case CameraMode::CameraOnBoard:
            UpdateOnBoard(bike);
            break;
        case CameraMode::CameraClose:
            UpdateClose(bike);
            break;
        case CameraMode::CameraTv:
            UpdateTv(bike, true);
            break;
        case CameraMode::CameraFinish:
            UpdateTv(bike, false);
            break;
        case CameraMode::CameraStartSweep:
            UpdateStartSweep(bike);
            break;
    }
    WritePose();
}

void RaceCamera::UpdateChase(const Vector3& pivot, float headingOf, bool allowLookBack)
{
    pose.pivot = pivot;
    pose.eye = {pivot.x, pivot.y + height, pivot.z - backDistance};
    pose.pitch = -pitch;
    pose.roll = 0.0f;
    pose.heading =
        allowLookBack && lookBack ? kPi - (headingOf + yawOffset) : -headingOf - yawOffset;
}

void RaceCamera::UpdatePresetShot(const BikeRecord& bike, float dt)
{
    presetShot[3] -= dt;
    presetShot[5] += dt * presetShot[6];
    yawOffset += dt * presetShot[8];
    height += dt * presetShot[9];
    backDistance = (1.0f - sim::Sin(presetShot[5])) * presetShot[7] + presetShot[4];
    const Vector3 b = BikePosition(bike);
    pose.pivot = b;
    pose.eye = {b.x, b.y + height, b.z - backDistance};
    pose.pitch = -pitch;
    pose.heading = -bike.heading - yawOffset;
    pose.roll = 0.0f;
    if (presetShot[3] < 0.0f)
    {
        SetFallenRiderView();
        StartPresetShot();
    }
}

void RaceCamera::PlaceBeside(const BikeRecord& bike)
{
    const float k = 1.0f + 0.0003f * bike.poseFade;
    const float lean = Angle(bike.links.bikeBody.get(), 2) * 0.8f;
    const float side = -sim::Sin(lean) * k;
    float up = k * sim::Cos(lean);
    const float framePitch = Angle(bike.links.bikePart.get(), 0);
    float forward = 0.1f;
    if (framePitch <= 0.0f)
    {
        forward = 0.1f + 0.7f * sim::Sin(framePitch);
        up -= 1.2f * sim::Sin(framePitch);
    }
    else
    {
        up += 0.8f * sim::Sin(framePitch);
    }
    const Vector3 b = BikePosition(bike);
    const float h = bike.heading;
    const float c = sim::Cos(h);
    const float s = sim::Sin(h);
    pose.eye = {b.x + side * c + forward * s, b.y + up, b.z + forward * c - side * s};
    pose.pivot = pose.eye;
}

void RaceCamera::UpdateOnBoard(const BikeRecord& bike)
{
    PlaceBeside(bike);
    const WorldObject* main = MainObject(bike);
    const float firstFramePitch = Angle(bike.links.bikePart.get(), 0);
    const float exteriorPitch = Angle(bike.links.seat.get(), 0);
    pose.pitch =
        -Angle(main, 0) - 0.5f * std::fabs(firstFramePitch) - 0.8f * std::fabs(exteriorPitch);
    const float steering = 0.15f * bike.steer;
    pose.heading = lookBack ? kPi - bike.heading - steering : -bike.heading - steering;
    const float r = Angle(bike.links.bikeBody.get(), 2);
    const float roll =
        Angle(bike.links.seat.get(), 2) > kPi ? -(kTwoPi - (kTwoPi - r) * 0.6f) : r * 0.6f;
    pose.roll = lookBack ? roll : -roll;
}

void RaceCamera::UpdateClose(const BikeRecord& bike)
{
    const Vector3 b = BikePosition(bike);
    pose.pivot = b;
    pose.eye = {b.x, b.y + 1.4665652f, b.z - 15.762193f};
    pose.pitch = -0.917f;
    pose.roll = 0.0f;
    // Eased towards the track heading, a sixth of the way a frame.
    const float target = -bike.course;
    pose.heading += sim::WrapSigned(target - pose.heading) / 6.0f;
}

void RaceCamera::UpdateTv(const BikeRecord& bike, bool fromTrack)
{
    const RacingLine& line = race_.race;
    if (fromTrack)
    {
        const uint32_t node = bike.aiLineNode;
        if (node < line.tvCameraByNode.size() && node < line.nodeCount)
        {
            const uint32_t camera = line.tvCameraByNode[node];
            if (camera < line.tvCameraCount && camera != tvCamera)
            {
                modeTimer = kShotSeconds;
                timerExpired = false;
                tvCamera = camera;
            }
        }
        if (tvCamera < line.tvCameraCount)
        {
            const TvCameraPosition& position = line.tvCameras[tvCamera];
            pose.eye = pose.pivot = {position.x, position.y, position.z};
        }
    }
    if (!tvSpecialShot)
    {
        const float d = AimAtRider();
        if (tvZoomTracks)
        {
            zoom = std::min(1000.0f + d * d / 6.0f, kMaxTvZoom);
        }
    }
}

void RaceCamera::UpdateStartSweep(const BikeRecord& bike)
{
    const float s = startClock;
    const float side = s - 2.0f;
    float up = (2.0f - 0.4f * s) + 1.0f;
    float back = std::fabs(s * s * s) - 8.0f;
    if (tvMode)
    {
        up += 2.0f;
        back -= 40.0f;
    }
    const Vector3 b = BikePosition(bike);
    const float c = sim::Cos(heading);
    const float sn = sim::Sin(heading);
    pose.eye = {b.x + sn * back + c * side, b.y + up, b.z + c * back - sn * side};
    pose.pivot = pose.eye;
    const float dx = b.x - pose.eye.x;
    const float dy = b.y + 1.0f - pose.eye.y;
    const float dz = b.z - pose.eye.z;
    const float d = sim::Sqrt(dx * dx + dy * dy + dz * dz);
    const float horizontal = sim::Sqrt(dx * dx + dz * dz);
    if (d > 1e-6f)
    {
        pose.pitch = sim::Asin(0.99999f * dy / d);
    }
    if (horizontal > 1e-6f)
    {
        const float a = sim::Acos(0.99999f * dz / horizontal);
        pose.heading = dx >= 0.0f ? -a : a;
    }
    pose.roll = 0.0f;
}

void RaceCamera::UpdateTrail(const BikeRecord& bike)
{
    const Vector3 b = BikePosition(bike);
    if (Distance(trail[trailIndex], b) > kTrailReseedDistance)
    {
        SeedTrail();
        trailIndex = kTrailPoints - 1;
    }
    const float w = bike.speed * 0.02f;
    const float lag = 0.2739f + 1.6396f * w;
    const float reach = bike.speed * trailLookAhead * 0.01f;
    const float ahead = std::min(std::max(reach * reach, 0.01f), kMaxLookAheadPoints);
    float r = Distance(trail[trailIndex], b);
    while (r > 1.0f)
    {
        const Vector3& newest = trail[trailIndex];
        const Vector3 next = {newest.x + (b.x - newest.x) / r, newest.y + (b.y - newest.y) / r,
                              newest.z + (b.z - newest.z) / r};
        trailIndex = (trailIndex + 1) & (kTrailPoints - 1);
        trail[trailIndex] = next;
        r = Distance(next, b);
    }
    const SplinePoint at = SplineAt((1.0f - r) + lag, trailIndex);
    const float t = at.t;
    const float t2 = t * t;
    const float t3 = t2 * t;
    const float w0 = (1.0f - t) * (1.0f - t) * (1.0f - t);
    const float w1 = 3.0f * t3 - 6.0f * t2 + 4.0f;
    const float w2 = -3.0f * t3 + 3.0f * t2 + 3.0f * t + 1.0f;
    const float w3 = t3;
    const Vector3& p0 = Ring(trail, at.k, 0);
    const Vector3& p1 = Ring(trail, at.k, 1);
    const Vector3& p2 = Ring(trail, at.k, 2);
    const Vector3& p3 = Ring(trail, at.k, 3);
    pose.eye = {(w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x) / 6.0f, b.y + height,
                (w0 * p0.z + w1 * p1.z + w2 * p2.z + w3 * p3.z) / 6.0f};
    pose.pivot = pose.eye;

    const SplinePoint look = SplineAt((1.0f - r) + ahead, trailIndex);
    const float u = look.t;
    const float u2 = u * u;
    const float d0 = -3.0f * u2 + 6.0f * u - 3.0f;
    const float d1 = 9.0f * u2 - 12.0f * u;
    const float d2 = -9.0f * u2 + 6.0f * u + 3.0f;
    const float d3 = 3.0f * u2;
    const Vector3& q0 = Ring(trail, look.k, 0);
    const Vector3& q1 = Ring(trail, look.k, 1);
    const Vector3& q2 = Ring(trail, look.k, 2);
    const Vector3& q3 = Ring(trail, look.k, 3);
    const float dx = -(d0 * q0.x + d1 * q1.x + d2 * q2.x + d3 * q3.x) / 6.0f;
    const float dz = -(d0 * q0.z + d1 * q1.z + d2 * q2.z + d3 * q3.z) / 6.0f;
    const float dy = (b.y + 1.5f) - pose.eye.y;
    const float length = sim::Sqrt(dx * dx + dy * dy + dz * dz);
    const float horizontal = sim::Sqrt(dx * dx + dz * dz);
    if (length <= 0.001f || horizontal <= 1e-6f)
    {
        return;
    }
    pose.pitch = sim::Asin(0.99999f * dy / length);
    float a = sim::Acos(0.99999f * dz / horizontal);
    if (dx < 0.0f)
    {
        a = -a;
    }
    if (lookBack)
    {
        pose.pivot = b;
        pose.eye = {b.x, b.y + height, b.z - backDistance};
        pose.pitch = -pitch;
        pose.heading = kPi - (bike.heading + yawOffset);
        return;
    }
    const float turn = sim::WrapSigned(bike.heading - a);
    pose.heading = -(turn * w + a);
    pose.roll = Angle(bike.links.bikeBody.get(), 2) * w * -0.2f;
}

void RaceCamera::WritePose() const
{
    if (view_ == nullptr)
    {
        return;
    }
    view_->angles[0] = pose.pitch;
    view_->angles[1] = pose.heading;
    view_->angles[2] = pose.roll;
    view_->placement = pose.eye;
    view_->pivot = pose.pivot;
}
