#include "race/SkidMarks.h"

#include "core/util/MathUtils.h"

namespace
{
// The plane through three points, a x + b y + c z + d = 0.
void PlaneThrough(const float* p, const float* q, const float* r, float* plane)
{
    const float ux = q[0] - p[0], uy = q[1] - p[1], uz = q[2] - p[2];
    const float vx = r[0] - p[0], vy = r[1] - p[1], vz = r[2] - p[2];
    const float a = uy * vz - uz * vy;
    const float b = uz * vx - ux * vz;
    const float c = ux * vy - uy * vx;
    plane[0] = a;
    plane[1] = b;
    plane[2] = c;
    plane[3] = -(a * p[0] + b * p[1] + c * p[2]);
}
}  // namespace

void SkidMarkRing::Add(SkidMarkKind kind, float x0, float y0, float z0, float x1, float y1,
                       float z1, float halfWidth)
{
    const float dx = x1 - x0;
    const float dz = z1 - z0;
    const float length = SqrtFloat(dx * dx + dz * dz);
    const float sideX = length > 0.0f ? -dz / length * halfWidth : halfWidth;
    const float sideZ = length > 0.0f ? dx / length * halfWidth : 0.0f;
    SkidMark& mark = marks_[next_];
    mark.kind = kind;
    mark.corners = {x0 - sideX, y0, z0 - sideZ, x0 + sideX, y0, z0 + sideZ,
                    x1 + sideX, y1, z1 + sideZ, x1 - sideX, y1, z1 - sideZ};
    const float* c = mark.corners.data();
    PlaneThrough(c, c + 3, c + 6, mark.planes.data());
    PlaneThrough(c, c + 6, c + 9, mark.planes.data() + 4);
    next_ = (next_ + 1) % kCapacity;
    if (count_ < kCapacity)
    {
        ++count_;
    }
}
