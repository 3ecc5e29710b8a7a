#include "kit/anim/AnimationWriter.h"

#include "core/archive/LzCodec.h"
#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{

std::vector<uint8_t> Difference(const std::vector<uint8_t>& earlier,
                                const std::vector<uint8_t>& later)
{
    std::vector<uint8_t> difference(earlier.size());
    for (size_t at = 0; at < earlier.size(); at += 4)
    {
        StoreLe32(&difference[at], LoadLe32(&earlier[at]) - LoadLe32(&later[at]));
    }
    return difference;
}

std::vector<uint8_t> PackFrame(const std::vector<uint8_t>& picture, LzCodec& codec)
{
    std::vector<uint8_t> block(picture.size() + kLzMaxBlockOverhead);
    block.resize(codec.Pack(picture, block));
    return block;
}

bool CheckFrames(const AnimationFrames& frames, std::string& error)
{
    const size_t pictureBytes = static_cast<size_t>(frames.height) * frames.stride;
    if (frames.pictures.empty() || frames.width < 1 || frames.height < 1 ||
        frames.stride < 2 * frames.width)
    {
        error = "an animation needs frames of at least one pixel, rows at least as wide";
        return false;
    }
    if (pictureBytes % 16 != 0)
    {
        error = "an animation picture must be a multiple of 16 bytes";
        return false;
    }
    for (const std::vector<uint8_t>& picture : frames.pictures)
    {
        if (picture.size() != pictureBytes)
        {
            error = "every animation frame must be height x stride bytes";
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteAnimation(const AnimationFrames& frames, std::vector<uint8_t>& file, std::string& error)
{
    if (!CheckFrames(frames, error))
    {
        return false;
    }
    LzCodec codec;
    std::vector<std::vector<uint8_t>> blocks;
    blocks.push_back(PackFrame(frames.pictures.front(), codec));
    for (size_t frame = 1; frame < frames.pictures.size(); ++frame)
    {
        blocks.push_back(
            PackFrame(Difference(frames.pictures[frame - 1], frames.pictures[frame]), codec));
    }

    file.clear();
    AppendLe32(file, static_cast<uint32_t>(blocks.size()));
    AppendLe32(file, static_cast<uint32_t>(frames.width));
    AppendLe32(file, static_cast<uint32_t>(frames.height));
    AppendLe32(file, static_cast<uint32_t>(frames.stride));
    for (const std::vector<uint8_t>& block : blocks)
    {
        AppendLe32(file, static_cast<uint32_t>(block.size()));
    }
    for (const std::vector<uint8_t>& block : blocks)
    {
        file.insert(file.end(), block.begin(), block.end());
    }
    return true;
}

}  // namespace kit
