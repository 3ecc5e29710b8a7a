#pragma once

// The race camera: places the view of the object world once a frame by one of its modes,
// following one rider (g_viewedRider), and switches modes and riders when the frame step, the
// function keys, the TV director, the final standing or the in-race menu ask. It never draws:
// it writes the view node's three angles (pitch, heading, roll), its eye triple (placement)
// and its pivot triple; the frame step hands `zoom` to the field of view.
//
// The game has one, g_raceCamera, on the game's race and settings; a test makes its own on a
// race context of its own. Main thread only; the look-back flag comes from the input step.

#include <array>
#include <cstdint>
#include <functional>

#include "core/game/GameEnums.h"
#include "core/world/MeshRecords.h"

class MenuState;
class RaceContext;
struct BikeRecord;
struct WorldObject;

// What the view node receives.
struct CameraPose
{
    float pitch = 0.0f;
    float heading = 0.0f;
    float roll = 0.0f;
    Vector3 eye{};
    Vector3 pivot{};
};

class RaceCamera
{
public:
    static constexpr uint32_t kTrailPoints = 128;
    static constexpr size_t kPresetColumns = 10;
    static constexpr size_t kPresetRows = 6;
    static constexpr int32_t kNoFallFollowed = -1;
    // The camera choices of the settings.
    static constexpr uint8_t kChoiceChase = 0;
    static constexpr uint8_t kChoiceOnBoard = 1;
    static constexpr uint8_t kChoiceTrail = 7;

    RaceCamera(RaceContext& race, MenuState& settings);
    RaceCamera(const RaceCamera&) = delete;
    RaceCamera& operator=(const RaceCamera&) = delete;

    // The node the pose goes to; null: the pose is only kept.
    void SetViewNode(WorldObject* view) { view_ = view; }
    // Called whenever the head-up display's pictures of the viewed rider need refreshing.
    void SetRiderPicturesHook(std::function<void()> hook) { riderPicturesHook_ = std::move(hook); }

    // The frame's step, dt the race time since the previous frame in seconds; 0 changes
    // nothing.
    void Update(float dt);

    void SetChaseView();
    void SetOnBoardView();
    void SetTrailView();
    // camera < 0: the trackside camera of the rider's node; above 255: camera & 255, fixed,
    // not aimed at the rider.
    void SetTvView(int32_t camera);
    void SetCloseView();
    void SetFallenRiderView();
    void SetPresetShot();
    void SetFinishView();
    // The view of the settings' camera choice (chase, on board, trail); others change nothing.
    void RestoreChosenView();
    // The grid sweep before the start, round the viewed rider along its heading (radians).
    void SetStartSweep(float heading);

    void SetViewedRider(uint32_t rider);
    void ViewNextRider();
    void ViewPreviousRider();
    void ViewLeader();
    void ViewLastRider();
    void ViewPlayerRider();
    void PickTvRider();

    void ShowViewedRiderFigure(bool show);
    // Aims the pose from its eye at the viewed bike raised by 0.5; the distance.
    float AimAtRider();
    void SeedTrail();

    CameraMode mode = CameraMode::CameraStartSweep;
    CameraPose pose;
    float zoom = 400.0f;  // the focal value of the field of view
    float modeTimer = 0.0f;
    bool timerExpired = false;
    float shotClock = 0.0f;
    float height = 1.1f;
    float backDistance = 3.0f;
    float pitch = 0.235f;
    float yawOffset = 0.0f;
    float heading = 0.0f;  // the viewed rider's track heading, snapped by the setters
    bool onBoardChosen = false;
    uint32_t tvCamera = 0;
    bool tvZoomTracks = false;
    bool tvSpecialShot = false;
    bool tvAutoSwitch = false;  // the TV director lets the camera pick riders
    bool tvMode = false;        // the TV director runs
    bool finishViewActive = false;
    int32_t fallFollowRider = kNoFallFollowed;
    bool lookBack = false;
    float startClock = -4.0f;  // s, the start sweep's clock
    std::array<Vector3, kTrailPoints> trail{};
    uint32_t trailIndex = 0;
    float trailLookAhead = 11.0f;
    std::array<float, kPresetColumns> presetShot{};

private:
    BikeRecord& Viewed() const;
    WorldObject* MainObject(const BikeRecord& bike) const;
    Vector3 BikePosition(const BikeRecord& bike) const;
    void SetBikeObjects(const BikeRecord& bike, bool onBoard) const;
    void SetFigure(const BikeRecord& bike, bool show) const;
    void ChaseSetup(CameraMode next, bool clearYaw);
    void EnterOnBoard();
    void StartPresetShot();
    void RiderPicturesChanged() const;
    void StepTo(uint32_t rider);
    bool IsViewable(int32_t rider) const;

    void UpdateTrail(const BikeRecord& bike);
    void UpdatePresetShot(const BikeRecord& bike, float dt);
    void UpdateChase(const Vector3& pivot, float headingOf, bool allowLookBack);
    void UpdateOnBoard(const BikeRecord& bike);
    void UpdateClose(const BikeRecord& bike);
    void UpdateTv(const BikeRecord& bike, bool fromTrack);
    void UpdateStartSweep(const BikeRecord& bike);
    void PlaceBeside(const BikeRecord& bike);
    void WritePose() const;

    RaceContext& race_;
    MenuState& settings_;
    WorldObject* view_ = nullptr;
    std::function<void()> riderPicturesHook_;
};

extern RaceCamera g_raceCamera;
