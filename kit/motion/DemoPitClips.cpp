// The demo's pit-stop clips: two mechanics run to the stopped bike, kneel at its wheels, work
// (the stretch the scene repeats), stand up and walk back; the rider lifts his visor and
// waits. 451 frames, so that the scene's last stretch (frames 310 to 450) can end.

#include "kit/motion/DemoMotions.h"
#include "kit/motion/DemoPoses.h"
#include "view/rider/RiderMotionSet.h"

namespace kit
{
namespace
{
using namespace body;

constexpr int32_t kPitClipFrames = 451;
constexpr int32_t kPitClipsPerStop = 3;

// The scene's cuts: arrival, the rider's part, the repeated work, finishing, leaving.
constexpr int32_t kArrived = 105;
constexpr int32_t kWorkStart = 205;
constexpr int32_t kWorkEnd = 250;
constexpr int32_t kFinished = 310;
constexpr int32_t kGone = 450;

BodyPose Walking(float heading, float stride)
{
    BodyPose pose = StandingPose();
    pose.Set(kHip, {0.0f, heading, 0.0f})
        .Set(kThighLeft, {-stride, 0.0f, 0.0f})
        .Set(kThighRight, {stride, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {stride, 0.0f, -6.0f})
        .Set(kUpperArmRight, {-stride, 0.0f, 6.0f});
    return pose;
}

BodyPose Kneeling(float heading, float reach)
{
    BodyPose pose = StandingPose();
    pose.Set(kHip, {0.0f, heading, 0.0f})
        .Set(kTorso, {40.0f, 0.0f, 0.0f})
        .Set(kThighLeft, {-90.0f, 0.0f, 0.0f})
        .Set(kThighRight, {-20.0f, 0.0f, 0.0f})
        .Set(kLowerLegLeft, {100.0f, 0.0f, 0.0f})
        .Set(kLowerLegRight, {140.0f, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {-70.0f, 0.0f, -10.0f})
        .Set(kUpperArmRight, {-reach, 0.0f, 10.0f})
        .Set(kLowerArmLeft, {20.0f, 0.0f, 0.0f})
        .Set(kLowerArmRight, {20.0f, 0.0f, 0.0f});
    return pose;
}

// A walk from one place to another, a stride every 15 frames.
void Walk(ClipDesign& clip, int32_t from, int32_t to, Vec3 start, Vec3 end, float heading)
{
    for (int32_t frame = from; frame < to; frame += 15)
    {
        const float along = static_cast<float>(frame - from) / static_cast<float>(to - from);
        const Vec3 root = {start.x + (end.x - start.x) * along, 1.0f,
                           start.z + (end.z - start.z) * along};
        KeyPose(clip, frame, root, Walking(heading, (frame - from) % 30 == 0 ? 25.0f : -25.0f));
    }
}

// Mechanic A works at the front wheel on the right, B at the rear on the left; each stop's
// crew starts from a little further away.
ClipDesign Mechanic(bool front, int32_t stop)
{
    ClipDesign clip(kPitClipFrames);
    const float side = front ? 1.0f : -1.0f;
    const float away = 2.5f + 0.25f * static_cast<float>(stop);
    const Vec3 start = {side * away, 1.0f, -2.0f};
    const Vec3 wheel = {side * 0.8f, 1.0f, front ? 0.7f : -0.6f};
    const float towards = front ? -70.0f : 110.0f;
    Walk(clip, 0, kArrived, start, wheel, towards);
    KeyPose(clip, kArrived, wheel, StandingPose());
    const Vec3 low = {wheel.x, 0.6f, wheel.z};
    KeyPose(clip, kArrived + 15, low, Kneeling(towards + 90.0f * side, 70.0f));
    KeyPose(clip, kWorkStart, low, Kneeling(towards + 90.0f * side, 70.0f));
    KeyPose(clip, (kWorkStart + kWorkEnd) / 2, low, Kneeling(towards + 90.0f * side, 30.0f));
    KeyPose(clip, kWorkEnd, low, Kneeling(towards + 90.0f * side, 70.0f));
    KeyPose(clip, kWorkEnd + 20, wheel, StandingPose());
    KeyPose(clip, kFinished, wheel, StandingPose());
    Walk(clip, kFinished + 1, kGone, wheel, start, towards + 180.0f);
    KeyPose(clip, kGone, start, StandingPose());
    return clip;
}

// The rider stays on his bike: he lifts his visor while the crew works and puts his hand back.
ClipDesign Rider()
{
    ClipDesign clip(kPitClipFrames);
    constexpr Vec3 kSeated = {0.0f, 0.7f, 0.0f};
    BodyPose visor = RidingPose();
    visor.Set(kTorso, {10.0f, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {-150.0f, 0.0f, -40.0f})
        .Set(kLowerArmLeft, {110.0f, 0.0f, 0.0f})
        .Set(kHelmet, {-5.0f, 0.0f, 0.0f});
    KeyPose(clip, 0, kSeated, RidingPose());
    KeyPose(clip, kArrived, kSeated, RidingPose());
    KeyPose(clip, kArrived + 20, kSeated, visor);
    KeyPose(clip, kFinished - 20, kSeated, visor);
    KeyPose(clip, kFinished, kSeated, RidingPose());
    // The bike dips its nose while the front is worked on.
    clip.Bike(0, {}, {});
    clip.Bike(kArrived + 15, {}, {-2.0f, 0.0f, 0.0f});
    clip.Bike(kWorkEnd + 20, {}, {-2.0f, 0.0f, 0.0f});
    clip.Bike(kFinished, {}, {});
    return clip;
}
}  // namespace

std::optional<ClipDesign> DemoPitClip(uint32_t clipId)
{
    constexpr uint32_t kPitClips = 12;
    if (clipId < rider_clip::kFirstPitStop || clipId >= rider_clip::kFirstPitStop + kPitClips)
    {
        return std::nullopt;
    }
    const uint32_t index = clipId - rider_clip::kFirstPitStop;
    const auto stop = static_cast<int32_t>(index / kPitClipsPerStop);
    switch (index % kPitClipsPerStop)
    {
        case 0:
            return Mechanic(true, stop);
        case 1:
            return Mechanic(false, stop);
        default:
            return Rider();
    }
}
}  // namespace kit
