#pragma once

// An animation file held whole in memory, its header and frame table checked.
//
// Layout (little-endian): u32 frame count N, u32 width, u32 height, u32 stride in bytes of
// 16-bit pixels, N x u32 packed size of each frame, then the N frames, each one block of the
// LZ block format. Frame 0 expands to the whole picture (height x stride bytes), every later
// frame to the difference from the frame before it.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace render
{

class AnimationFile
{
public:
    // Pictures beyond this many bytes are refused.
    static constexpr size_t kMaxPictureBytes = size_t{32} << 20;

    // Nothing when the image holds no frame, its picture is empty, too large or narrower than
    // its width, or its frame table or frames run past its end.
    static std::optional<AnimationFile> Parse(std::vector<uint8_t> image);

    int32_t FrameCount() const { return static_cast<int32_t>(frameOffsets_.size()) - 1; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return stride_; }
    size_t PictureBytes() const { return static_cast<size_t>(height_) * stride_; }

    // The packed block of a frame, 0 to FrameCount() - 1.
    std::span<const uint8_t> Frame(int32_t frame) const;

private:
    std::vector<uint8_t> image_;
    std::vector<size_t> frameOffsets_;  // where each frame starts, then where the last ends
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
};

}  // namespace render
