#pragma once

// The library's one animation: the file held in memory, and a picture brought to any frame on
// request, forwards one difference at a time, backwards by decoding again from frame 0. The
// game sees the picture through a record laid out as a Texture.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "render/RenderApi.h"
#include "render/anim/AnimationFile.h"

class CprArchive;

namespace render
{

class AnimationPlayer
{
public:
    AnimationPlayer() = default;
    AnimationPlayer(const AnimationPlayer&) = delete;
    AnimationPlayer& operator=(const AnimationPlayer&) = delete;

    // Plays the file image from now on, no frame decoded yet; false, with nothing changed, when
    // an animation is playing or the image is not an animation.
    bool Open(std::vector<uint8_t> image);
    // Brings the picture to the frame; frames outside the animation, and calls while nothing
    // plays, are ignored. A frame that does not expand to a whole picture leaves the picture at
    // the frame before it.
    void CopyFrame(int32_t frame);
    void Close();

    bool IsPlaying() const { return file_.has_value(); }
    int32_t FrameCount() const { return file_ ? file_->FrameCount() : 0; }
    int32_t CurrentFrame() const { return current_; }  // -1 before the first
    // Width, height, stride and pixels of the picture; all 0 while nothing plays.
    Texture* Picture() { return &record_; }

private:
    bool DecodeKeyFrame();
    bool ApplyDifference(int32_t frame);

    std::optional<AnimationFile> file_;
    std::vector<uint8_t> picture_;
    std::vector<uint8_t> difference_;
    int32_t current_ = -1;
    Texture record_;
};

AnimationPlayer& TheAnimationPlayer();

// Reads the animation member through the archive (plain files without one) and plays it, with
// the library's messages when an animation is playing or the member cannot be read or is no
// animation.
bool OpenAnimation(AnimationPlayer& player, CprArchive* archive, std::string_view name);

}  // namespace render
