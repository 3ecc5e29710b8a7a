// The view setters: each chooses a mode and its zoom, eye distances and timer, and shows the
// machine from outside or the cockpit from on board.

#include <cmath>

#include "app/clock/RaceClock.h"
#include "app/settings/MenuState.h"
#include "core/util/RuntimeRandom.h"
#include "core/world/WorldObject.h"
#include "race/RaceContext.h"
#include "race/SimMath.h"
#include "view/camera/RaceCamera.h"

namespace
{
constexpr float kPi = 3.1415927f;

// yaw offset, pitch, height, duration, base back distance, phase, phase rate, back-distance
// swing, yaw rate, height rate.
constexpr float kPresetShots[RaceCamera::kPresetRows][RaceCamera::kPresetColumns] = {
    {-kPi, 0.235f, 0.5f, 8.0f, 5.7051f, 0.0f, kPi / 8, 20.0f, -kPi / 8, 0.0f},
    {-kPi / 2, 0.235f, 0.5f, 4.0f, 5.7051f, 0.0f, kPi / 4, 5.0f, -kPi / 4, 0.0f},
    {5 * kPi / 4, 0.15f, 0.5f, 2.0f, 5.7051f, 0.0f, kPi / 2, 1.0f, -kPi / 4, 0.0f},
    {3 * kPi / 4, 0.15f, 0.5f, 2.0f, 5.7051f, 0.0f, kPi / 2, 1.0f, kPi / 4, 0.0f},
    {kPi / 2, 0.235f, 0.5f, 4.0f, 5.7051f, 0.0f, kPi / 4, 5.0f, kPi / 4, 0.0f},
    {kPi, 0.235f, 0.5f, 8.0f, 5.7051f, 0.0f, kPi / 8, 20.0f, kPi / 8, 0.0f},
};

constexpr float kShotSeconds = 8.0f;
constexpr float kTvShotSeconds = 2.0f;
constexpr float kFinishSeconds = 3.0f;
constexpr float kMaxTvZoom = 8000.0f;
}  // namespace

void RaceCamera::ChaseSetup(CameraMode next, bool clearYaw)
{
    mode = next;
    modeTimer = kShotSeconds;
    const BikeRecord& bike = Viewed();
    SetFigure(bike, true);
    heading = bike.course;
    if (clearYaw)
    {
        yawOffset = 0.0f;
    }
    SetBikeObjects(bike, false);
}

void RaceCamera::SetChaseView()
{
    ChaseSetup(CameraMode::CameraChase, true);
    zoom = 314.0f;
    pitch = 0.235f;
    height = 1.1f;
    backDistance = 3.0f;
    onBoardChosen = false;
}

void RaceCamera::EnterOnBoard()
{
    RiderPicturesChanged();
    mode = CameraMode::CameraOnBoard;
    modeTimer = kShotSeconds;
    const BikeRecord& bike = Viewed();
    SetFigure(bike, false);
    zoom = 600.0f;
    SetBikeObjects(bike, true);
    onBoardChosen = true;
}

void RaceCamera::SetOnBoardView()
{
    EnterOnBoard();
}

void RaceCamera::SetTrailView()
{
    SeedTrail();
    mode = CameraMode::CameraTrail;
    modeTimer = kShotSeconds;
    const BikeRecord& bike = Viewed();
    SetFigure(bike, true);
    heading = bike.course;
    yawOffset = 0.0f;
    zoom = 400.0f;
    height = 1.6102250f;
    backDistance = 4.2848949f;
    trailLookAhead = 11.0f;
    SetBikeObjects(bike, false);
}

void RaceCamera::SeedTrail()
{
    const BikeRecord& bike = Viewed();
    Vector3 point = BikePosition(bike);
    point.x = bike.positionX;
    point.z = bike.positionZ;
    const float h = bike.course;
    for (uint32_t i = kTrailPoints; i-- > 0;)
    {
        trail[i] = point;
        point.x -= sim::Sin(h);
        point.z -= sim::Cos(h);
    }
    trailIndex = 0;
}

void RaceCamera::SetCloseView()
{
    ChaseSetup(CameraMode::CameraClose, false);
    zoom = 400.0f;
}

void RaceCamera::SetFallenRiderView()
{
    ChaseSetup(CameraMode::CameraFallenRider, true);
    zoom = 314.0f;
    pitch = 0.235f;
    height = 1.1f;
    backDistance = 3.0f;
}

void RaceCamera::StartPresetShot()
{
    const uint32_t ticks = g_ticksDone.load(std::memory_order_relaxed);
    const uint32_t row = race_.randomTable.At(ticks) % kPresetRows;
    std::copy(std::begin(kPresetShots[row]), std::end(kPresetShots[row]), presetShot.begin());
    yawOffset = presetShot[0];
    pitch = presetShot[1];
    height = presetShot[2];
    mode = CameraMode::CameraPresetShot;
}

void RaceCamera::SetPresetShot()
{
    SetFallenRiderView();
    StartPresetShot();
}

void RaceCamera::SetTvView(int32_t camera)
{
    const CameraMode before = mode;
    if (before == CameraMode::CameraTv && camera == static_cast<int32_t>(tvCamera))
    {
        return;
    }
    shotClock = 0.0f;
    modeTimer = kTvShotSeconds;
    const BikeRecord& bike = Viewed();
    SetFigure(bike, true);
    mode = CameraMode::CameraTv;
    SetBikeObjects(bike, false);
    if (camera < 0)
    {
        zoom = 1200.0f;
        yawOffset = 0.0f;
        return;
    }
    const uint32_t number = static_cast<uint32_t>(camera) & 0xFF;
    if (number == tvCamera && before == CameraMode::CameraTv)
    {
        return;
    }
    tvSpecialShot = camera > 0xFF;
    if (number < race_.race.tvCameraCount)
    {
        const TvCameraPosition& position = race_.race.tvCameras[number];
        pose.eye = pose.pivot = {position.x, position.y, position.z};
    }
    if (tvSpecialShot)
    {
        tvZoomTracks = false;
        AimAtRider();
    }
    else if (RuntimeRand() % 5 < 3)
    {
        tvZoomTracks = true;
    }
    else
    {
        tvZoomTracks = false;
        const float half = AimAtRider() / 2.0f;
        zoom = std::min(1000.0f + half * half / 6.0f, kMaxTvZoom);
    }
    tvCamera = number;
}

void RaceCamera::SetFinishView()
{
    mode = CameraMode::CameraFinish;
    shotClock = 0.0f;
    modeTimer = kFinishSeconds;
    const BikeRecord& bike = Viewed();
    SetFigure(bike, true);
    SetBikeObjects(bike, false);
    finishViewActive = true;
    PlaceBeside(bike);
}

void RaceCamera::RestoreChosenView()
{
    switch (settings_.U8At(MenuState::kCameraViewOffset))
    {
        case kChoiceChase:
            SetChaseView();
            break;
        case kChoiceOnBoard:
            EnterOnBoard();
            break;
        case kChoiceTrail:
            SetTrailView();
            break;
        default:
            break;
    }
}

void RaceCamera::SetStartSweep(float sweepHeading)
{
    mode = CameraMode::CameraStartSweep;
    zoom = 400.0f;
    backDistance = 6.8f;
    height = 2.2f;
    pitch = 0.09f;
    tvCamera = 0;
    fallFollowRider = kNoFallFollowed;
    heading = sweepHeading;
    startClock = -4.0f;
}

float RaceCamera::AimAtRider()
{
    Vector3 target = BikePosition(Viewed());
    target.y += 0.5f;
    const float dx = target.x - pose.eye.x;
    const float dy = target.y - pose.eye.y;
    const float dz = target.z - pose.eye.z;
    const float d = sim::Sqrt(dx * dx + dy * dy + dz * dz);
    const float horizontal = sim::Sqrt(dx * dx + dz * dz);
    if (d > 1e-6f)
    {
        pose.pitch = sim::Asin(0.99999f * dy / d);
    }
    // Straight above the rider the heading stays as it was.
    if (horizontal > 1e-6f)
    {
        const float a = sim::Acos(0.99999f * dz / horizontal);
        pose.heading = dx < 0.0f ? a : -a;
    }
    pose.roll = 0.0f;
    return d;
}
