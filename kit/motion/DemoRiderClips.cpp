// The demo's clips of riders on and off their bikes: the foot put down and lifted, a swerve,
// cheering and gestures, slides and falls.

#include "kit/motion/DemoMotions.h"
#include "kit/motion/DemoPoses.h"
#include "view/rider/RiderMotionSet.h"

namespace kit
{
namespace
{
using namespace body;

constexpr Vec3 kSeated = {0.0f, 0.7f, 0.0f};  // the hip on the seat

BodyPose FootDown(bool right)
{
    BodyPose pose = RidingPose();
    const float side = right ? 1.0f : -1.0f;
    pose.Set(kHip, {15.0f, 0.0f, -4.0f * side})
        .Set(right ? kThighRight : kThighLeft, {-20.0f, 0.0f, 15.0f * side})
        .Set(right ? kLowerLegRight : kLowerLegLeft, {20.0f, 0.0f, 0.0f});
    return pose;
}

// Clip 9 to 12: 16 frames from the foot on the ground to the foot on its peg, or back.
ClipDesign FootClip(bool lifting, bool right)
{
    ClipDesign clip(16);
    KeyPose(clip, 0, kSeated, lifting ? FootDown(right) : RidingPose());
    KeyPose(clip, 15, kSeated, lifting ? RidingPose() : FootDown(right));
    return clip;
}

// Clip 4: the bike swerves under its rider and rights itself.
ClipDesign Swerve()
{
    ClipDesign clip(30);
    const struct
    {
        int32_t frame;
        float heading;
        float bank;
    } keys[] = {{0, 0.0f, 0.0f},
                {8, 12.0f, -15.0f},
                {16, -10.0f, 12.0f},
                {24, 5.0f, -5.0f},
                {29, 0.0f, 0.0f}};
    for (const auto& key : keys)
    {
        BodyPose pose = RidingPose();
        pose.Set(kTorso, {30.0f, 0.0f, -key.bank * 0.5f});
        KeyPose(clip, key.frame, kSeated, pose);
        clip.Bike(key.frame, {}, {0.0f, key.heading, key.bank});
    }
    return clip;
}

// Clips 5 to 8: one arm or both thrown up, held and waved, and back on the handlebar.
ClipDesign Cheer(bool left, bool right, float wave)
{
    ClipDesign clip(40);
    BodyPose up = RidingPose();
    up.Set(kTorso, {5.0f, 0.0f, 0.0f});
    if (left)
    {
        up.Set(kUpperArmLeft, {-170.0f, 0.0f, -20.0f}).Set(kLowerArmLeft, {0.0f, 0.0f, 0.0f});
    }
    if (right)
    {
        up.Set(kUpperArmRight, {-170.0f, 0.0f, 20.0f}).Set(kLowerArmRight, {0.0f, 0.0f, 0.0f});
    }
    BodyPose waved = up;
    waved.Set(kTorso, {5.0f, wave, 0.0f}).Set(kHelmet, {-10.0f, wave, 0.0f});
    KeyPose(clip, 0, kSeated, RidingPose());
    KeyPose(clip, 10, kSeated, up);
    KeyPose(clip, 20, kSeated, waved);
    KeyPose(clip, 30, kSeated, up);
    KeyPose(clip, 39, kSeated, RidingPose());
    return clip;
}

// Clips 14 and 15: a hand to the helmet, or a fist shaken at someone.
ClipDesign Gesture(bool fist)
{
    ClipDesign clip(20);
    BodyPose raised = RidingPose();
    raised.Set(kUpperArmRight, {fist ? -120.0f : -150.0f, 0.0f, fist ? 30.0f : 60.0f})
        .Set(kLowerArmRight, {fist ? 40.0f : 110.0f, 0.0f, 0.0f})
        .Set(kHelmet, {-15.0f, fist ? 30.0f : 0.0f, 0.0f});
    BodyPose shaken = raised;
    shaken.Set(kLowerArmRight, {fist ? 70.0f : 95.0f, 0.0f, 0.0f});
    KeyPose(clip, 0, kSeated, RidingPose());
    KeyPose(clip, 5, kSeated, raised);
    KeyPose(clip, 8, kSeated, shaken);
    KeyPose(clip, 11, kSeated, raised);
    KeyPose(clip, 14, kSeated, shaken);
    KeyPose(clip, 19, kSeated, RidingPose());
    return clip;
}

// Clips 0 to 3: thrown off low, the body slides on its side and slows to a stop, turning.
// Its root moves along z, slower each stretch; the slide player scales the moves to the
// rider's speed.
ClipDesign Slide(int32_t frames, float drift, float bank, float turn)
{
    ClipDesign clip(frames);
    const int32_t last = frames - 1;
    const int32_t first = frames / 9;
    const int32_t middle = frames / 3;
    const int32_t late = 2 * frames / 3;
    BodyPose lying = LyingPose();
    lying.Set(kHip, {0.0f, turn * 0.5f, bank});
    BodyPose still = LyingPose();
    still.Set(kHip, {0.0f, turn, bank});
    KeyPose(clip, 0, {0.0f, 0.9f, 0.0f}, RidingPose());
    KeyPose(clip, first, {drift * 0.3f, 0.25f, 0.3f * first}, lying);
    KeyPose(clip, middle, {drift * 0.7f, 0.2f, 0.3f * first + 0.15f * (middle - first)}, lying);
    const float lateZ = 0.3f * first + 0.15f * (middle - first) + 0.05f * (late - middle);
    KeyPose(clip, late, {drift, 0.2f, lateZ}, still);
    KeyPose(clip, last, {drift, 0.2f, lateZ}, still);
    return clip;
}

// Clip 13: the rider gets off his standing bike and stands beside it.
ClipDesign Dismount()
{
    ClipDesign clip(30);
    KeyPose(clip, 0, {0.0f, 0.95f, 0.0f}, FootDown(false));
    BodyPose stepping = StandingPose();
    stepping.Set(kThighRight, {-60.0f, 0.0f, -30.0f}).Set(kLowerLegRight, {60.0f, 0.0f, 0.0f});
    KeyPose(clip, 12, {0.5f, 1.05f, -0.1f}, stepping);
    KeyPose(clip, 29, {0.8f, 1.0f, -0.3f}, StandingPose());
    return clip;
}

// Clip 30: off the back of the bike, onto the ground behind it.
ClipDesign BackwardFall()
{
    ClipDesign clip(36);
    KeyPose(clip, 0, {0.0f, 1.0f, 0.0f}, RidingPose());
    BodyPose falling = StandingPose();
    falling.Set(kHip, {-45.0f, 0.0f, 0.0f})
        .Set(kUpperArmLeft, {-120.0f, 0.0f, -50.0f})
        .Set(kUpperArmRight, {-120.0f, 0.0f, 50.0f});
    KeyPose(clip, 9, {0.0f, 0.7f, -0.6f}, falling);
    BodyPose down = LyingPose();
    down.Set(kHip, {-90.0f, 0.0f, 0.0f});
    KeyPose(clip, 18, {0.0f, 0.2f, -1.2f}, down);
    KeyPose(clip, 35, {0.0f, 0.2f, -1.2f}, down);
    return clip;
}

// Clip 31: over the handlebar in a somersault, landing ahead of the bike.
ClipDesign OverBarFall()
{
    ClipDesign clip(36);
    KeyPose(clip, 0, {0.0f, 1.0f, 0.0f}, RidingPose());
    BodyPose flying = StandingPose();
    flying.Set(kHip, {120.0f, 0.0f, 0.0f})
        .Set(kThighLeft, {-90.0f, 0.0f, 0.0f})
        .Set(kThighRight, {-90.0f, 0.0f, 0.0f});
    KeyPose(clip, 8, {0.0f, 1.4f, 1.5f}, flying);
    BodyPose down = LyingPose();
    down.Set(kHip, {270.0f, 0.0f, 0.0f});
    KeyPose(clip, 20, {0.0f, 0.2f, 3.0f}, down);
    KeyPose(clip, 35, {0.0f, 0.2f, 3.3f}, down);
    return clip;
}
}  // namespace

std::optional<ClipDesign> DemoRiderClip(uint32_t clipId)
{
    switch (clipId)
    {
        case 0:
            return Slide(45, 0.0f, 80.0f, 40.0f);
        case 1:
            return Slide(45, 0.6f, 95.0f, -60.0f);
        case 2:
            return Slide(60, 0.0f, 85.0f, 90.0f);
        case 3:
            return Slide(60, -0.8f, 100.0f, 150.0f);
        case rider_clip::kSwerve:
            return Swerve();
        case 5:
            return Cheer(false, true, 20.0f);
        case 6:
            return Cheer(true, true, 0.0f);
        case 7:
            return Cheer(true, false, -20.0f);
        case 8:
            return Cheer(true, true, 30.0f);
        case 9:
            return FootClip(true, false);
        case rider_clip::kStartFootUp:
            return FootClip(true, true);
        case 11:
            return FootClip(false, false);
        case rider_clip::kStopFootDown:
            return FootClip(false, true);
        case rider_clip::kDismount:
            return Dismount();
        case 14:
            return Gesture(false);
        case 15:
            return Gesture(true);
        case rider_clip::kBackwardFall:
            return BackwardFall();
        case rider_clip::kOverBarFall:
            return OverBarFall();
        default:
            return DemoPitClip(clipId);
    }
}
}  // namespace kit
