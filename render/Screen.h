#pragma once

// The board's screen over the game's window: opened in the game's mode, kept while the window
// has the keyboard focus and given back when it loses it, cleared and flipped, and lent out
// through the frame-buffer lock. Drawing while the screen is given up does nothing.

#include <cstdint>
#include <optional>

#include "glide/Glide.h"
#include "render/RenderApi.h"

struct GlideFrame;

namespace render
{

class ImageBuffer;
class TextureStore;

class Screen
{
public:
    Screen(TextureStore& textures, ImageBuffer& images);
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Starts the board afresh and opens the screen in the mode; false for a mode the board
    // does not have or when the board fails.
    bool Init(const RenderWindow* window, const ScreenMode& mode);
    // Reopens the screen in another mode the board has; nothing for the current size.
    void SwitchMode(const ScreenMode& mode);
    // The board has been shut down: nothing is open any more.
    void Shutdown();
    // The window is gone: the screen is given up and nothing takes it again.
    void ForgetWindow();

    // Takes or gives up the screen as the window has the keyboard focus; whether it is held.
    bool CheckFocus();
    void LooseFocus();
    void GetFocus();
    bool IsActive() const { return active_; }
    // Opens the screen, or brings back the open one, with the library's render state and the
    // 2D clip on the whole screen.
    bool Open();

    // 1 the colour buffer only, 2 the depth buffer only, 3 both.
    void Clear(int32_t what, uint32_t colour);
    void Flip();
    bool BeginDraw();
    void EndDraw();

    // The back buffer for direct 16-bit writes; held until released.
    bool AcquireLfb();
    void ReleaseLfb();
    LfbInfo LockedLfb() const { return lfb_; }

    bool FogOn() const { return fogOn_; }
    void SetFogOn(bool on);

    const RenderWindow* Window() const { return window_ ? &*window_ : nullptr; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    static void Present(const GlideFrame& frame, void* user);
    bool HasFocus() const;
    void GiveUp();
    void ApplyFog() const;

    TextureStore& textures_;
    ImageBuffer& images_;

    std::optional<RenderWindow> window_;
    bool hasMode_ = false;  // a mode has been opened since the board started
    GrScreenResolution resolution_ = GrScreenResolution::Res640x480;
    GrScreenRefresh refresh_ = GrScreenRefresh::Rate60Hz;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool windowOpen_ = false;
    bool active_ = false;
    bool fogOn_ = false;
    bool drawing_ = false;

    bool lfbHeld_ = false;
    LfbInfo lfb_;
};

}  // namespace render
