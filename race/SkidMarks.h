#pragma once

// The marks the riders leave on the ground: a ring of 100 shared by all riders, the oldest
// overwritten first. Each mark is a quad on the ground with the plane equations of its two
// triangles, for the view to draw. Main thread; written by the step, read by the view.

#include <array>
#include <cstdint>

enum class SkidMarkKind : uint8_t
{
    Loose,    // a trail through gravel or grass
    Rubber0,  // rubber, by drive intensity per metre: below 8000
    Rubber1,  // below 10000
    Rubber2,  // below 12000
    Rubber3,  // above
};

struct SkidMark
{
    std::array<float, 12> corners;  // x, y, z of four corners
    std::array<float, 8> planes;    // a, b, c, d of the two triangles
    SkidMarkKind kind;
};

class SkidMarkRing
{
public:
    static constexpr uint32_t kCapacity = 100;

    // A mark from (x0, y0, z0) to (x1, y1, z1), halfWidth either side.
    void Add(SkidMarkKind kind, float x0, float y0, float z0, float x1, float y1, float z1,
             float halfWidth);

    uint32_t Count() const { return count_; }
    // Marks in age order, oldest first.
    const SkidMark& operator[](uint32_t index) const
    {
        return marks_[(next_ + kCapacity - count_ + index) % kCapacity];
    }
    void Clear()
    {
        count_ = 0;
        next_ = 0;
    }

private:
    std::array<SkidMark, kCapacity> marks_{};
    uint32_t next_ = 0;
    uint32_t count_ = 0;
};
