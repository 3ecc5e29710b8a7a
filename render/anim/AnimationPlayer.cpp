#include "render/anim/AnimationPlayer.h"

#include <algorithm>
#include <string>

#include "core/archive/DAFile.h"
#include "core/archive/LzCodec.h"
#include "glide/UntilUnload.h"
#include "render/RenderMessages.h"
#include "render/anim/FrameDifference.h"

namespace render
{
namespace
{

std::optional<std::vector<uint8_t>> ReadMember(CprArchive* archive, std::string_view name)
{
    DAFile file(archive);
    if (!file.Open(name))
    {
        return std::nullopt;
    }
    const int32_t length = file.GetLength();
    if (length < 0)
    {
        return std::nullopt;
    }
    std::vector<uint8_t> image(static_cast<size_t>(length));
    if (length > 0 &&
        file.Read(image.data(), static_cast<uint32_t>(length)) != static_cast<uint32_t>(length))
    {
        return std::nullopt;
    }
    return image;
}

// Expands a frame into destination; false unless it fills it exactly.
bool Expand(std::span<const uint8_t> frame, std::vector<uint8_t>& destination)
{
    const std::optional<size_t> expanded = LzUnpackBlock(frame, destination);
    return expanded && *expanded == destination.size();
}

}  // namespace

bool AnimationPlayer::Open(std::vector<uint8_t> image)
{
    if (IsPlaying())
    {
        return false;
    }
    std::optional<AnimationFile> file = AnimationFile::Parse(std::move(image));
    if (!file)
    {
        return false;
    }
    file_ = std::move(file);
    picture_.assign(file_->PictureBytes(), 0);
    difference_.assign(file_->PictureBytes(), 0);
    current_ = -1;
    record_ = Texture{};
    record_.width = file_->Width();
    record_.height = file_->Height();
    record_.stride = file_->Stride();
    record_.pixels = picture_.data();
    record_.format = kTextureFormatRgb565;
    return true;
}

void AnimationPlayer::CopyFrame(int32_t frame)
{
    if (!file_ || frame < 0 || frame >= file_->FrameCount())
    {
        return;
    }
    if ((frame < current_ || current_ < 0) && !DecodeKeyFrame())
    {
        return;
    }
    while (current_ < frame && ApplyDifference(current_ + 1))
    {
        ++current_;
    }
}

bool AnimationPlayer::DecodeKeyFrame()
{
    // Through the difference buffer, so that a bad key frame leaves the picture as it was.
    if (!Expand(file_->Frame(0), difference_))
    {
        return false;
    }
    std::ranges::copy(difference_, picture_.begin());
    current_ = 0;
    return true;
}

bool AnimationPlayer::ApplyDifference(int32_t frame)
{
    if (!Expand(file_->Frame(frame), difference_))
    {
        return false;
    }
    SubtractDifference(picture_, difference_);
    return true;
}

void AnimationPlayer::Close()
{
    file_.reset();
    picture_ = {};
    difference_ = {};
    current_ = -1;
    record_ = Texture{};
}

AnimationPlayer& TheAnimationPlayer()
{
    return glide::UntilUnload<AnimationPlayer>();
}

bool OpenAnimation(AnimationPlayer& player, CprArchive* archive, std::string_view name)
{
    if (player.IsPlaying())
    {
        ShowRenderMessage("Ani already playing");
        return false;
    }
    std::optional<std::vector<uint8_t>> image = ReadMember(archive, name);
    if (!image || !player.Open(std::move(*image)))
    {
        ShowRenderMessage("Unable to open Animation filr " + std::string(name) + "!");
        return false;
    }
    return true;
}

}  // namespace render
