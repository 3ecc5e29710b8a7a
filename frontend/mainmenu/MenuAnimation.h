#pragma once

// The cartoon in the window of the start page: three animations that take turns, five frames
// a second, each shown to its last frame until 13 seconds have passed. Main thread only.

#include <cstdint>

class DirtyRectList;
struct Texture;

class MenuAnimation
{
public:
    static constexpr int32_t kWindowX = 232;
    static constexpr int32_t kWindowY = 125;

    MenuAnimation() = default;
    ~MenuAnimation();
    MenuAnimation(const MenuAnimation&) = delete;
    MenuAnimation& operator=(const MenuAnimation&) = delete;

    // Opens the first animation at its first frame.
    void Open();
    void Close();
    // Advances by the frame's milliseconds; a new frame repaints the window in both lists.
    void Step(uint32_t ms, DirtyRectList& first, DirtyRectList& second);
    // Clipped to the active repaint list.
    void Draw() const;

    bool IsOpen() const { return open_; }
    int32_t Number() const { return number_; }
    int32_t Frame() const { return frame_; }

private:
    void OpenNumber(int32_t number);

    bool open_ = false;
    Texture* picture_ = nullptr;
    int32_t frameCount_ = 0;
    int32_t number_ = 0;
    uint32_t elapsedMs_ = 0;
    int32_t frame_ = 0;
};
