// Plays the input as an animation file: the first frames forwards one by one, the last one,
// then back to the start, so that key frames, differences and restarts all run.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/anim/AnimationPlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    render::AnimationPlayer player;
    if (!player.Open(std::vector<uint8_t>(data, data + size)))
    {
        return 0;
    }
    constexpr int32_t kStepped = 8;
    for (int32_t frame = 0; frame < kStepped; ++frame)
    {
        player.CopyFrame(frame);
    }
    player.CopyFrame(player.FrameCount() - 1);
    player.CopyFrame(1);
    player.CopyFrame(-1);
    player.CopyFrame(player.FrameCount());
    player.Close();
    return 0;
}
