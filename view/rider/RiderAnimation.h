#pragma once

// The riders' body motion that is not the pose table: the clips a rider plays once per
// simulation step. Below walking pace the foot goes down and comes up again (start/stop
// clips posed by speed); a clip started on a rider (a gesture, the pit-stop rider, a swerve
// that moves the bike) plays on the bike; a fall takes the body off the bike, slides or
// tumbles it over the ground and holds it down, and then puts the player back on his bike
// and hides any other rider.
//
// A rider's clip state lives in his BikeRecord (flags, the clip and fall block, animFlags).
// Plain clips write the body nodes directly; falls leave their targets in the motion channel
// list, which the drawn frames interpolate. Main thread, inside the simulation step.

#include <cstdint>
#include <span>

#include "race/ChannelList.h"
#include "race/ground/GroundQuery.h"
#include "view/rider/RiderMotionSet.h"

class GroundMesh;
class ObjectWorld;
struct BikeRecord;
struct WorldObject;

// What ending a fall asks of the race around the view.
class RiderFallServices
{
public:
    virtual ~RiderFallServices() = default;

    // Whether the local player still takes part in the session.
    virtual bool IsPlayerRacing() const { return true; }
    // Puts the rider's bike back on the racing line.
    virtual void PutRiderBackOnLine(uint32_t /*rider*/) {}
    // The camera forgets the rider it followed and returns to the on-board or chase view.
    virtual void ReturnCameraToRider() {}
};

namespace anim_flags
{
inline constexpr uint32_t kMirrored = 0x1;
inline constexpr uint32_t kNotAnimated = 0x80000000;
}  // namespace anim_flags

// The turn and the reflected move of a slide off the edge of the ground.
struct SlideBounce
{
    float turn;  // radians
    float dx;
    float dz;
};

// The move (dx, dz) reflected off the edge from (x0, z0) to (x1, z1) and scaled by 0.4.
SlideBounce BounceSlideOffEdge(float dx, float dz, float x0, float z0, float x1, float z1);

class RiderAnimation
{
public:
    // All the references outlive the animation.
    RiderAnimation(ObjectWorld& world, RiderMotionSet& clips, std::span<BikeRecord> bikes);

    // The node fallen riders hang under; the ground they fall on; the list their channels go
    // into; the local player, whom a fall's end puts back on his bike.
    void SetSharedFigure(WorldObject* figure) { sharedFigure_ = figure; }
    void SetGround(const GroundMesh* ground) { ground_.triangleList = ground; }
    void SetChannels(ChannelList* channels) { channels_ = channels; }
    void SetPlayerRider(uint32_t rider) { playerRider_ = rider; }
    void SetServices(RiderFallServices* services);

    // Once per step for every rider that is not inactive.
    void AnimateRider(uint32_t rider, float step);

    // The clip starter of the crash code: unless a clip is starting already, the clip begins
    // at frame 0 with the fall's start values; a fall takes the body off the bike.
    bool StartRiderClip(uint32_t rider, uint32_t clipId, float fallHeading, float slideSpeed,
                        float fallBank, float fallLean);
    void SetRiderClipMirror(uint32_t rider, bool on);
    // Takes the body off the bike where it sits now.
    void DetachFallenRider(uint32_t rider);
    // Puts the player back on his bike (while he races); hides any other rider.
    void EndRiderFall(uint32_t rider);
    // Hangs the hip back on the seat in its low place; the hip.
    WorldObject* SeatRiderLow(uint32_t rider);

    uint32_t GroundFallbacks() const { return ground_.fallbackCount; }

private:
    struct RootMove
    {
        float newFrame = 0.0f;
        float dx = 0.0f;  // clip space
        float dz = 0.0f;
        float rootY = 0.0f;
    };
    struct FadingFall
    {
        float fadePerFrame;  // of the rider's own motion
        float push;          // of his speed
        bool sinksFromSeat;  // the body sinks from where it sat to the ground
    };
    struct BodyWalk
    {
        bool onGround;
        float worldX;  // the move turned into the world
        float worldZ;
    };

    MotionFile* ClipOf(const BikeRecord& bike) const;
    void PoseStartStop(BikeRecord& bike);
    void PlayClip(BikeRecord& bike, MotionFile& clip, float step);
    void PlayClipWithBike(BikeRecord& bike, MotionFile& clip, float step);
    void PoseBodyDirectly(BikeRecord& bike, MotionFile& clip, float x, float y, float z);
    void PlaySlideClip(uint32_t rider, MotionFile& clip, float step);
    void PlayFallClip(uint32_t rider, MotionFile& clip, float step, float extraX, float extraZ);
    void PlayBackwardFall(uint32_t rider, MotionFile& clip, float step);
    void PlayOverBarFall(uint32_t rider, MotionFile& clip, float step);
    void PlayFadingFall(uint32_t rider, MotionFile& clip, float step, const FadingFall& fall);
    // False when the fall has ended and nothing more is to be played.
    bool MoveRoot(uint32_t rider, MotionFile& clip, float step, RootMove& move);
    // Walks the body over the ground by the clip-space move turned by the fall's heading; it
    // stays where it is when the move leaves the ground.
    BodyWalk WalkBody(BikeRecord& bike, float dx, float dz);
    float GroundHeightUnderBody(BikeRecord& bike);
    float BlendedHipPitch(const BikeRecord& bike, MotionFile& clip, float weight) const;
    // The hip's place and every part's angles (the hip turned by the fall's heading, and
    // with the pitch given) as channels.
    void SetFallChannels(BikeRecord& bike, MotionFile& clip, float height, const float* hipPitch);
    void AddRestChannels(BikeRecord& bike);
    // Through the channel list when there is one, else at once.
    void SetChannel(ChannelKind kind, float& target, float value);
    void ShowBikeNodes(BikeRecord& bike, bool show);
    void ShowBodyNodes(BikeRecord& bike, bool show);

    ObjectWorld& world_;
    RiderMotionSet& clips_;
    std::span<BikeRecord> bikes_;
    WorldObject* sharedFigure_ = nullptr;
    ChannelList* channels_ = nullptr;
    uint32_t playerRider_ = 0;
    RiderFallServices defaultServices_;
    RiderFallServices* services_ = &defaultServices_;
    GroundQuery ground_;
};
