#include "view/pit/PitCrewScene.h"

#include "app/world/ObjectWorld.h"
#include "core/util/MathUtils.h"
#include "core/world/WorldObject.h"
#include "race/BikeRecord.h"
#include "race/SimMath.h"
#include "race/ground/GroundMesh.h"
#include "view/rider/RiderNodes.h"

std::array<PitCrewScene, kPitCrewScenes> g_pitCrewScenes;

namespace
{
constexpr float kFigureRadius = 2.0f;
constexpr uint32_t kSequenceMask = 3;
constexpr uint16_t kHiddenPart = object_flags::kNoOwnPolygons;

// The clip's body part each of a mechanic's nodes plays.
constexpr int32_t kClipPartOfNode[PitCrewScene::kFigureNodes] = {0,  1,  12, 6, 7, 8, 9,
                                                                 10, 11, 2,  3, 4, 5};
// The nodes the scene shows and hides.
constexpr PitCrewScene::MechanicNode kShownNodes[] = {
    PitCrewScene::kHip,          PitCrewScene::kTorso,         PitCrewScene::kHelmet,
    PitCrewScene::kUpperArmLeft, PitCrewScene::kUpperArmRight, PitCrewScene::kThighLeft,
    PitCrewScene::kThighRight,   PitCrewScene::kLowerLegLeft,  PitCrewScene::kLowerLegRight,
};
}  // namespace

PitCrewScene::~PitCrewScene() = default;

void PitCrewScene::Reset()
{
    active_ = false;
    done_ = false;
    mechanicA.fill(nullptr);
    mechanicB.fill(nullptr);
    visible_ = false;
}

void PitCrewScene::SetPosition(float x, float z, float heading)
{
    baseX_ = x;
    baseZ_ = z;
    heading_ = heading;
    cosHeading_ = sim::Cos(heading);
    sinHeading_ = sim::Sin(heading);
    ground_.triangleList = stage_ != nullptr ? stage_->ground : nullptr;
    if (ground_.triangleList == nullptr)
    {
        return;
    }
    ground_.x1 = x;
    ground_.z1 = z;
    GroundLookup(ground_);
    if (ground_.surface != GroundQuery::kNoGround)
    {
        baseY_ = ground_.height;
        baseTriangle_ = ground_.cachedTriangle;
    }
}

const PitStopSequence* PitCrewScene::CurrentSequence() const
{
    if (stage_ == nullptr || stage_->sequences == nullptr || stage_->clips == nullptr)
    {
        return nullptr;
    }
    const PitStopSequence& sequence = (*stage_->sequences)[static_cast<size_t>(sequence_)];
    return sequence.segments.empty() ? nullptr : &sequence;
}

void PitCrewScene::Start(uint32_t rider, float x, float z, uint32_t randomWord)
{
    if (active_)
    {
        Stop();
    }
    rider_ = rider;
    sequence_ = static_cast<int32_t>(randomWord & kSequenceMask);
    done_ = false;
    active_ = true;
    segment_ = 0;
    holdSegment_ = 0;
    frame_ = 0.0f;
    ShowParts(true);
    figures_.fill({x, baseY_, z, baseTriangle_});
    startX_ = x;
    startZ_ = z;
    if (stage_ != nullptr && stage_->world != nullptr && stage_->sharedFigure != nullptr)
    {
        for (WorldObject* hip : {mechanicA[kHip], mechanicB[kHip]})
        {
            stage_->world->AttachObject(hip, stage_->sharedFigure, x, baseY_, z, kAttachSubObject,
                                        kFigureRadius);
        }
    }
    Update(0.0f);
}

bool PitCrewScene::JumpToPhase(uint32_t phase)
{
    const PitStopSequence* sequence = CurrentSequence();
    if (sequence == nullptr || phase >= sequence->phaseSegments.size())
    {
        return false;
    }
    holdSegment_ = static_cast<int32_t>(sequence->phaseSegments[phase]);
    return sequence->phaseSegments[phase] < sequence->SegmentCount();
}

void PitCrewScene::Stop()
{
    ShowParts(false);
    if (stage_ != nullptr && stage_->world != nullptr && stage_->sharedFigure != nullptr)
    {
        for (WorldObject* hip : {mechanicA[kHip], mechanicB[kHip]})
        {
            stage_->world->DetachObject(hip, stage_->sharedFigure, kAttachSubObject);
        }
    }
    if (riderInScene_)
    {
        GiveRiderHisFigure();
    }
    riderInScene_ = false;
    active_ = false;
    done_ = true;
}

void PitCrewScene::ShowParts(bool show)
{
    for (std::array<WorldObject*, kFigureNodes>* mechanic : {&mechanicA, &mechanicB})
    {
        for (const MechanicNode index : kShownNodes)
        {
            if (WorldObject* node = (*mechanic)[index])
            {
                node->flags = show ? node->flags & ~kHiddenPart : node->flags | kHiddenPart;
            }
        }
    }
    visible_ = show;
}

void PitCrewScene::Update(float dt)
{
    const PitStopSequence* sequence = active_ ? CurrentSequence() : nullptr;
    if (sequence == nullptr)
    {
        return;
    }
    const PitStopSegment& segment = sequence->segments[static_cast<size_t>(segment_)];
    float posed = frame_;
    if (TruncateToInt32(frame_) < static_cast<int32_t>(segment.lastFrame))
    {
        frame_ = AdvanceFrame(*sequence, dt);
        posed = frame_;
    }
    else
    {
        if (segment_ + 1 >= static_cast<int32_t>(sequence->SegmentCount()))
        {
            Stop();
            return;
        }
        posed = static_cast<float>(segment.lastFrame);
        if (segment_ == holdSegment_)
        {
            // Waits at the end, or plays the segment again.
            frame_ = segment.loop != 0 ? static_cast<float>(segment.firstFrame) : posed;
        }
        else
        {
            ++segment_;
            const PitStopSegment& next = sequence->segments[static_cast<size_t>(segment_)];
            frame_ = static_cast<float>(next.firstFrame);
            if (next.riderInScene == 0)
            {
                GiveRiderHisFigure();
            }
            riderInScene_ = next.riderInScene != 0;
        }
    }
    if (TruncateToInt32(frame_) >= static_cast<int32_t>(sequence->frameCount))
    {
        done_ = true;
    }
    RiderMotionSet& clips = *stage_->clips;
    PoseMechanic(mechanicA, figures_[0], clips[sequence->clipIds[0]], posed);
    PoseMechanic(mechanicB, figures_[1], clips[sequence->clipIds[1]], posed);
    if (riderInScene_)
    {
        PoseRider(clips[sequence->clipIds[2]], posed);
    }
}

// Mechanic A's clip keeps the scene's time; a clip too short for its scene (or missing) still
// lets the time run on at the clip's rate.
float PitCrewScene::AdvanceFrame(const PitStopSequence& sequence, float dt)
{
    MotionFile& clip = (*stage_->clips)[sequence.clipIds[0]];
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float next = clip.EvaluateRoot(frame_, dt, x, y, z, 0);
    if (!(next > frame_) && dt > 0.0f)
    {
        next = frame_ + dt * kRiderClips[sequence.clipIds[0]].rate;
    }
    return next;
}

void PitCrewScene::WalkFigure(Figure& figure, float rootX, float rootY, float rootZ)
{
    const float x = startX_ + cosHeading_ * rootX + sinHeading_ * rootZ;
    const float z = startZ_ + cosHeading_ * rootZ - sinHeading_ * rootX;
    ground_.triangleList = stage_->ground;
    if (ground_.triangleList == nullptr)
    {
        return;
    }
    ground_.cachedTriangle = figure.triangle;
    ground_.x1 = figure.x;
    ground_.z1 = figure.z;
    ground_.x2 = x;
    ground_.z2 = z;
    GroundWalk(ground_);
    if (ground_.surface == GroundQuery::kNoGround)
    {
        return;
    }
    figure.x = x;
    figure.z = z;
    figure.y = ground_.height + rootY;
    figure.triangle = ground_.cachedTriangle;
}

void PitCrewScene::PoseMechanic(std::array<WorldObject*, kFigureNodes>& nodes, Figure& figure,
                                MotionFile& clip, float frame)
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    clip.EvaluateRoot(frame, 0.0f, x, y, z, 0);
    WalkFigure(figure, x, y, z);
    for (size_t index = 0; index < kFigureNodes; ++index)
    {
        if (WorldObject* node = nodes[index])
        {
            clip.EvaluatePart(kClipPartOfNode[index], node->angles[0], node->angles[1],
                              node->angles[2]);
        }
    }
    if (WorldObject* hip = nodes[kHip])
    {
        hip->placement = {figure.x, figure.y, figure.z};
        hip->angles[1] += heading_;
    }
}

// A clip that moves the bike plays on the rider in his seat and on his bike at its place;
// any other walks the rider's own figure over the ground like a mechanic.
void PitCrewScene::PoseRider(MotionFile& clip, float frame)
{
    if (rider_ >= stage_->bikes.size())
    {
        return;
    }
    BikeRecord& bike = stage_->bikes[rider_];
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    clip.EvaluateRoot(frame, 0.0f, x, y, z, 0);
    for (int32_t part = 0; part < kMotionPartCount; ++part)
    {
        if (WorldObject* node = BodyPartNode(bike.links, part))
        {
            clip.EvaluatePart(part, node->angles[0], node->angles[1], node->angles[2]);
        }
    }
    WorldObject* hip = bike.links.hip.get();
    if (hip == nullptr)
    {
        return;
    }
    if ((clip.Flags() & kClipDrivesBike) == 0)
    {
        Figure& figure = figures_[2];
        WalkFigure(figure, x, y, z);
        hip->placement = {figure.x, figure.y, figure.z};
        hip->angles[1] += heading_;
        return;
    }
    hip->placement = {x, y, z};
    float bikeX = 0.0f;
    float bikeY = 0.0f;
    float bikeZ = 0.0f;
    clip.EvaluateBikeRoot(frame, 0.0f, bikeX, bikeY, bikeZ, 0);
    if (WorldObject* root = bike.links.bikeRoot.get())
    {
        root->placement.x = bike.positionX + cosHeading_ * bikeX + sinHeading_ * bikeZ;
        root->placement.z = bike.positionZ + cosHeading_ * bikeZ - sinHeading_ * bikeX;
    }
    if (WorldObject* body = bike.links.bikeBody.get())
    {
        clip.EvaluateBikeAngles(body->angles[0], body->angles[1], body->angles[2]);
    }
}

void PitCrewScene::GiveRiderHisFigure()
{
    if (rider_ >= stage_->bikes.size() || stage_->world == nullptr ||
        stage_->sharedFigure == nullptr)
    {
        return;
    }
    BikeRecord& bike = stage_->bikes[rider_];
    WorldObject* hip = bike.links.hip.get();
    WorldObject* seat = bike.links.seat.get();
    if (bike.figureSwapFlag == 0 || seat == nullptr ||
        !stage_->world->DetachObject(hip, stage_->sharedFigure, kAttachSubObject))
    {
        return;
    }
    stage_->world->AttachObject(hip, seat, 0.0f, 0.7f, 0.0f, kAttachChild, kFigureRadius);
    bike.figureSwapFlag = 0;
}
