// Reads the input as a motion clip's cache, looping and holding, and plays it: every frame
// and a few past the end, forwards and mirrored, the body's parts and the bike. The same bytes
// go to the motion player's cache reader.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/util/Message.h"
#include "fuzz/support/FuzzInputFile.h"
#include "view/motion/MotionFile.h"
#include "view/motion/MotionPlayer.h"

namespace
{
void Play(MotionFile& clip)
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    const int32_t frames = clip.FrameCount();
    for (int32_t frame = -1; frame <= frames + 1; frame += frames > 64 ? frames / 16 : 1)
    {
        const uint32_t mirror = static_cast<uint32_t>(frame) & 1;
        clip.EvaluateRoot(static_cast<float>(frame), 0.05f, x, y, z, mirror);
        for (int32_t part = 0; part < kMotionPartCount; ++part)
        {
            clip.EvaluatePart(part, x, y, z);
        }
        clip.EvaluateBikeRoot(static_cast<float>(frame) + 0.5f, 0.0f, x, y, z, mirror);
        clip.EvaluateBikeAngles(x, y, z);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The readers' messages would only slow the run down.
    static const MessageSink kSilent = SetMessageSink([](std::string_view) {});
    (void)kSilent;
    static const FuzzInputFile file("fuzz.bmo");
    static const std::string name = file.Path().substr(0, file.Path().size() - 4);
    file.Hold(data, size);
    for (const uint32_t loop : {0u, 1u})
    {
        MotionFile clip;
        if (clip.Load(name, kClipRootScaledByRate, 30.0f, loop))
        {
            Play(clip);
        }
    }
    MotionPlayer player;
    player.DecodeCache(std::span(data, size), size > 0 ? data[0] & 7 : 0);
    return 0;
}
