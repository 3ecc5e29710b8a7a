#include "render/Screen.h"

#include "glide/GlidePresent.h"
#include "render/DisplayModes.h"
#include "render/ImageBuffer.h"
#include "render/RenderMessages.h"
#include "render/RenderState.h"
#include "render/TextureStore.h"
#include "render/draw/DrawState.h"

namespace render
{
namespace
{

constexpr uint16_t kFarthestDepth = 0xFFFF;

}  // namespace

Screen::Screen(TextureStore& textures, ImageBuffer& images) : textures_(textures), images_(images)
{
}

bool Screen::Init(const RenderWindow* window, const ScreenMode& mode)
{
    grGlideInit();
    Shutdown();
    GrHwConfiguration hardware{};
    grSstSelect(0);
    if (!grSstQueryHardware(&hardware))
    {
        ShowRenderMessage("grSstQueryHardware failed");
        return false;
    }
    window_.reset();
    if (window != nullptr)
    {
        window_ = *window;
    }
    SetPresentCallback(&Screen::Present, this);
    const std::optional<GrScreenResolution> resolution = ResolutionOf(mode.width, mode.height);
    if (!resolution)
    {
        return false;
    }
    resolution_ = *resolution;
    refresh_ = RefreshOf(mode.refreshRateHz);
    width_ = mode.width;
    height_ = mode.height;
    fogOn_ = false;
    hasMode_ = true;
    if (!Open())
    {
        return false;
    }
    grDitherMode(GrDitherMode::Dither4x4);
    return true;
}

void Screen::SwitchMode(const ScreenMode& mode)
{
    if (!hasMode_ || (mode.width == width_ && mode.height == height_))
    {
        return;
    }
    const std::optional<GrScreenResolution> resolution = ResolutionOf(mode.width, mode.height);
    if (!resolution)
    {
        return;
    }
    GiveUp();
    resolution_ = *resolution;
    refresh_ = RefreshOf(mode.refreshRateHz);
    width_ = mode.width;
    height_ = mode.height;
    active_ = false;
    GetFocus();
}

void Screen::Shutdown()
{
    lfbHeld_ = false;
    windowOpen_ = false;
    active_ = false;
    drawing_ = false;
    hasMode_ = false;
}

void Screen::ForgetWindow()
{
    window_.reset();
    LooseFocus();
}

bool Screen::HasFocus() const
{
    return window_ && (window_->hasFocus == nullptr || window_->hasFocus(window_->user));
}

bool Screen::CheckFocus()
{
    images_.FreeWork();
    if (HasFocus())
    {
        GetFocus();
    }
    else
    {
        LooseFocus();
    }
    return active_;
}

void Screen::LooseFocus()
{
    if (active_)
    {
        GiveUp();
        active_ = false;
    }
}

void Screen::GetFocus()
{
    if (active_ || !hasMode_)
    {
        return;
    }
    if (!Open())
    {
        return;
    }
    grClipWindow(0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_));
    textures_.Memory().ResetCursor();
    textures_.DownloadAll();
}

bool Screen::Open()
{
    ReleaseLfb();
    if (!windowOpen_)
    {
        grSstSelect(0);
        if (!grSstWinOpen(window_ ? &*window_ : nullptr, resolution_, refresh_, GrColorFormat::Abgr,
                          GrOriginLocation::UpperLeft, 2, 1))
        {
            ShowRenderMessage("Glide Failure: grSstWinOpen!");
            active_ = false;
            return false;
        }
        windowOpen_ = true;
    }
    else
    {
        grSstControl(GrControl::Activate);
    }
    TheDrawState().clip = {0, 0, width_, height_};
    grClipWindow(0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_));
    grGammaCorrectionValue(1.0f);
    textures_.Memory().SetRange(grTexMinAddress(GrChipId::Tmu0), grTexMaxAddress(GrChipId::Tmu0));
    SetOpenRenderState();
    active_ = true;
    ApplyFog();
    return true;
}

void Screen::GiveUp()
{
    ReleaseLfb();
    if (windowOpen_)
    {
        grSstWinClose();
        windowOpen_ = false;
    }
}

void Screen::Clear(int32_t what, uint32_t colour)
{
    if (!active_)
    {
        return;
    }
    ReleaseLfb();
    grClipWindow(0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_));
    switch (what)
    {
        case 1:
            grDepthMask(false);
            grBufferClear(colour, 0, kFarthestDepth);
            grDepthMask(true);
            break;
        case 2:
            grColorMask(false, false);
            grBufferClear(colour, 0, kFarthestDepth);
            grColorMask(true, false);
            break;
        case 3:
            grBufferClear(colour, 0, kFarthestDepth);
            break;
        default:
            break;
    }
}

void Screen::Flip()
{
    if (active_)
    {
        ReleaseLfb();
        grBufferSwap(1);
    }
}

bool Screen::BeginDraw()
{
    if (drawing_)
    {
        return false;
    }
    drawing_ = CheckFocus();
    return drawing_;
}

void Screen::EndDraw()
{
    drawing_ = false;
    ReleaseLfb();
}

bool Screen::AcquireLfb()
{
    if (!active_)
    {
        return false;
    }
    if (lfbHeld_)
    {
        return true;
    }
    grSstIdle();
    GrLfbInfo info{};
    if (!grLfbLock(GrLock::WriteOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                   GrOriginLocation::UpperLeft, false, &info))
    {
        return false;
    }
    lfb_ = {info.lfbPtr, static_cast<int32_t>(info.strideInBytes)};
    lfbHeld_ = true;
    return true;
}

void Screen::ReleaseLfb()
{
    if (lfbHeld_)
    {
        grSstIdle();
        grLfbUnlock(GrLock::WriteOnly, GrBuffer::BackBuffer);
        lfbHeld_ = false;
    }
}

void Screen::SetFogOn(bool on)
{
    fogOn_ = on;
}

void Screen::ApplyFog() const
{
    grFogMode(fogOn_ ? GrFogMode::WithTable : GrFogMode::Disable);
}

void Screen::Present(const GlideFrame& frame, void* user)
{
    const auto* screen = static_cast<const Screen*>(user);
    if (screen->window_ && screen->window_->present != nullptr)
    {
        screen->window_->present(frame.pixels, frame.width, frame.height, frame.pitchBytes,
                                 screen->window_->user);
    }
}

}  // namespace render
