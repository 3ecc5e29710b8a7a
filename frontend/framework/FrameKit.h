#pragma once

// The frame kit: the picture whose row of 16-pixel tiles the menu frames are built from, one
// of three looks. Main thread only.

#include <cstdint>

struct Texture;

class FrameKit
{
public:
    static constexpr int32_t kLooks = 3;

    FrameKit() = default;
    ~FrameKit();
    FrameKit(const FrameKit&) = delete;
    FrameKit& operator=(const FrameKit&) = delete;

    // Loads the look 0..2 from the current archive; another look replaces the picture in the
    // same texture, the same look again does nothing.
    void Select(int32_t look);
    void Free();
    Texture* Picture() const { return picture_; }
    int32_t Look() const { return look_; }

private:
    Texture* picture_ = nullptr;
    int32_t look_ = -1;
};

extern FrameKit g_frameKit;

inline void SelectFrameKit(int32_t look)
{
    g_frameKit.Select(look);
}
