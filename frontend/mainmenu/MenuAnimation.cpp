#include "frontend/mainmenu/MenuAnimation.h"

#include <algorithm>
#include <array>

#include "app/device/DirtyRectList.h"
#include "app/device/RenderEntry.h"
#include "frontend/toolkit/ClippedDrawing.h"
#include "render/RenderApi.h"

namespace
{
constexpr std::array<const char*, 3> kAnimations = {"mainmenu/test3.ani", "mainmenu/test4.ani",
                                                    "mainmenu/test5.ani"};
constexpr uint32_t kFramesPerSecond = 5;
// The next animation starts once this many frames' time has passed (13 s).
constexpr uint32_t kTurnAfterFrames = 65;
}  // namespace

MenuAnimation::~MenuAnimation()
{
    Close();
}

void MenuAnimation::Open()
{
    Close();
    OpenNumber(0);
}

void MenuAnimation::OpenNumber(int32_t number)
{
    number_ = number;
    elapsedMs_ = 0;
    frame_ = 0;
    open_ = CallRenderEntry<&RenderSlots::rdll_OpenAnimation>(
                kAnimations[static_cast<size_t>(number)], &picture_, &frameCount_) != 0 &&
            picture_ != nullptr && frameCount_ > 0;
    if (open_)
    {
        CallRenderEntry<&RenderSlots::rdll_CopyAniFrame>(0);
    }
}

void MenuAnimation::Close()
{
    if (open_)
    {
        CallRenderEntry<&RenderSlots::rdll_CloseAnimation>();
    }
    open_ = false;
    picture_ = nullptr;
    frameCount_ = 0;
}

void MenuAnimation::Step(uint32_t ms, DirtyRectList& first, DirtyRectList& second)
{
    // A failed animation is not stepped: it would be retried every 13 s to no end.
    if (!open_)
    {
        return;
    }
    elapsedMs_ += ms;
    const uint32_t reached = elapsedMs_ * kFramesPerSecond / 1000;
    const int32_t shown = static_cast<int32_t>(std::min<uint32_t>(reached, frameCount_ - 1));
    if (shown != frame_)
    {
        frame_ = shown;
        CallRenderEntry<&RenderSlots::rdll_CopyAniFrame>(frame_);
    }
    else if (reached >= kTurnAfterFrames)
    {
        const int32_t next = (number_ + 1) % static_cast<int32_t>(kAnimations.size());
        Close();
        OpenNumber(next);
    }
    else
    {
        return;
    }
    if (picture_ != nullptr)
    {
        for (DirtyRectList* list : {&first, &second})
        {
            list->Add(kWindowX, kWindowY, kWindowX + picture_->width, kWindowY + picture_->height);
        }
    }
}

void MenuAnimation::Draw() const
{
    if (open_ && picture_ != nullptr)
    {
        DrawBitmapClipped(picture_, 0, 0, kWindowX, kWindowY, picture_->width, picture_->height, 0);
    }
}
