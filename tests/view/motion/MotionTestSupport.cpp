#include "tests/view/motion/MotionTestSupport.h"

int16_t NumberedValue(int32_t track, int32_t component, int32_t frame)
{
    return static_cast<int16_t>((track * 3 + component + 1) * 10 * frame - track);
}

kit::ClipSlots NumberedClip(int32_t frameCount)
{
    const auto track = [frameCount](int32_t number)
    {
        std::vector<MotionTriple> slots;
        for (int32_t frame = 0; frame < frameCount; ++frame)
        {
            slots.push_back({NumberedValue(number, 0, frame), NumberedValue(number, 1, frame),
                             NumberedValue(number, 2, frame)});
        }
        return slots;
    };
    kit::ClipSlots clip;
    clip.speed = 2.5f;
    clip.root = track(0);
    for (int32_t part = 0; part < kMotionPartCount; ++part)
    {
        clip.parts[static_cast<size_t>(part)] = track(1 + part);
    }
    clip.bikePositions = track(14);
    clip.bikeAngles = track(15);
    return clip;
}
