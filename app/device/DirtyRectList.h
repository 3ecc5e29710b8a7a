#pragma once

// The screen rectangles that a menu must repaint in the next frame. Every clipped 2D draw of
// the menu is repeated once per rectangle, so a rectangle added over stored ones is split
// until the stored rectangles do not overlap and no pixel is drawn twice in one pass.
// Main thread only.

#include <array>
#include <cstdint>

// Right and bottom are exclusive.
struct ScreenRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

class DirtyRectList
{
public:
    static constexpr int32_t kCapacity = 40;

    virtual ~DirtyRectList() = default;

    void Clear() { count_ = 0; }
    // An empty or inverted rectangle adds nothing. When the pieces would not fit, the list
    // becomes the one rectangle that bounds everything, so that nothing is left unpainted.
    void Add(int32_t left, int32_t top, int32_t right, int32_t bottom);
    void AddRect(const ScreenRect& rect) { Add(rect.left, rect.top, rect.right, rect.bottom); }

    // Rectangle *index into out, advancing the index; false once the index reaches the count.
    // Walks the rectangles in the order they were stored.
    bool GetNext(ScreenRect* out, int32_t* index) const;
    int32_t Count() const { return count_; }

private:
    void Store(const ScreenRect& rect);
    void ReplaceByBounds(const ScreenRect& added);

    int32_t count_ = 0;
    std::array<ScreenRect, kCapacity> rects_{};
    bool overflowReported_ = false;
};
