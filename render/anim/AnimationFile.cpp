#include "render/anim/AnimationFile.h"

#include <utility>

#include "core/util/LittleEndian.h"

namespace render
{
namespace
{

constexpr size_t kHeaderBytes = 16;

}  // namespace

std::optional<AnimationFile> AnimationFile::Parse(std::vector<uint8_t> image)
{
    if (image.size() < kHeaderBytes)
    {
        return std::nullopt;
    }
    const uint64_t frameCount = LoadLe32(image.data());
    const uint64_t width = LoadLe32(image.data() + 4);
    const uint64_t height = LoadLe32(image.data() + 8);
    const uint64_t stride = LoadLe32(image.data() + 12);
    if (frameCount == 0 || width == 0 || height == 0 || stride < 2 * width ||
        height * stride > kMaxPictureBytes)
    {
        return std::nullopt;
    }
    const uint64_t tableEnd = kHeaderBytes + 4 * frameCount;
    if (tableEnd > image.size())
    {
        return std::nullopt;
    }
    AnimationFile file;
    file.frameOffsets_.reserve(frameCount + 1);
    uint64_t offset = tableEnd;
    for (uint64_t frame = 0; frame < frameCount; ++frame)
    {
        file.frameOffsets_.push_back(offset);
        offset += LoadLe32(image.data() + kHeaderBytes + 4 * frame);
        if (offset > image.size())
        {
            return std::nullopt;
        }
    }
    file.frameOffsets_.push_back(offset);
    file.width_ = static_cast<int32_t>(width);
    file.height_ = static_cast<int32_t>(height);
    file.stride_ = static_cast<int32_t>(stride);
    file.image_ = std::move(image);
    return file;
}

std::span<const uint8_t> AnimationFile::Frame(int32_t frame) const
{
    const size_t begin = frameOffsets_[static_cast<size_t>(frame)];
    return std::span(image_).subspan(begin, frameOffsets_[static_cast<size_t>(frame) + 1] - begin);
}

}  // namespace render
