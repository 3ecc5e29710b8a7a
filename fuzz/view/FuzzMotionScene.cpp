// Reads the input as a motion scene text: the clip converter's steps (frame range, the body
// parts' and the bike's keys) without writing a cache, then plays what they made; and the
// motion player's conversion for a few bound objects, played a little.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/util/Message.h"
#include "core/world/WorldObject.h"
#include "fuzz/support/FuzzInputFile.h"
#include "view/motion/MotionFile.h"
#include "view/motion/MotionPlayer.h"

namespace
{
void ConvertClip(const std::string& name)
{
    MotionFile clip;
    if (!clip.ReadSceneText(name) || !clip.ReadFrameRange())
    {
        return;
    }
    for (const std::string_view part : kMotionPartNames)
    {
        clip.ReadObjectKeys(part);
    }
    clip.ReadObjectKeys(kMotionBikeName);
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    for (const float frame : {0.0f, 0.5f, static_cast<float>(clip.FrameCount()) - 0.5f})
    {
        clip.EvaluateRoot(frame, 0.0f, x, y, z, 1);
        clip.EvaluatePart(3, x, y, z);
        clip.EvaluateBikeAngles(x, y, z);
    }
}

void PlayScene(const std::string& name)
{
    static const std::string_view kNames[] = {
        "h\xFC"
        "fte",
        "bike", "camera"};
    WorldObject nodes[3] = {};
    WorldObject* pointers[3] = {&nodes[0], &nodes[1], &nodes[2]};
    using namespace binding_flags;
    const MotionBinding bindings[] = {
        {0, &pointers[0], kSetPosition | kSetRotation},
        {1, &pointers[1], kSetPosition | kRelative | kInNodeFrame},
        {2, &pointers[2], kSetPosition | kNullObject | kFaceTarget},
    };
    MotionPlayer player;
    if (player.ConvertScene(name, kNames, bindings))
    {
        for (int step = 0; step < 8; ++step)
        {
            player.Advance(0.037f);
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The readers' messages would only slow the run down.
    static const MessageSink kSilent = SetMessageSink([](std::string_view) {});
    (void)kSilent;
    static const FuzzInputFile file("fuzz.lws");
    static const std::string name = file.Path().substr(0, file.Path().size() - 4);
    file.Hold(data, size);
    ConvertClip(name);
    PlayScene(name);
    return 0;
}
