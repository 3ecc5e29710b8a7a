#include "render/vector/NodeTransform.h"

#include <cmath>
#include <cstring>

namespace render::vector
{
namespace
{
using Matrix = float[9];

enum Axis
{
    kAxisX,
    kAxisY,
    kAxisZ,
};

// The orders' factors, leftmost first: order 0 is Rz(c) Ry(b) Rx(a).
constexpr Axis kRotationOrders[6][3] = {
    {kAxisZ, kAxisY, kAxisX}, {kAxisY, kAxisZ, kAxisX}, {kAxisZ, kAxisX, kAxisY},
    {kAxisX, kAxisZ, kAxisY}, {kAxisY, kAxisX, kAxisZ}, {kAxisX, kAxisY, kAxisZ},
};

// Every sine and cosine of the engine comes from here, so that all peers agree.
SineCosine SineCosineOf(float angle)
{
    return {std::sin(angle), std::cos(angle)};
}

// Rx turns y towards z, Ry z towards x, Rz x towards y.
void ElementaryRotation(Axis axis, const SineCosine& angle, Matrix& m)
{
    const float s = angle.sine;
    const float c = angle.cosine;
    switch (axis)
    {
        case kAxisX:
        {
            const Matrix r = {1, 0, 0, 0, c, -s, 0, s, c};
            std::memcpy(m, r, sizeof r);
            break;
        }
        case kAxisY:
        {
            const Matrix r = {c, 0, s, 0, 1, 0, -s, 0, c};
            std::memcpy(m, r, sizeof r);
            break;
        }
        case kAxisZ:
        {
            const Matrix r = {c, -s, 0, s, c, 0, 0, 0, 1};
            std::memcpy(m, r, sizeof r);
            break;
        }
    }
}

void Multiply(const Matrix& a, const Matrix& b, Matrix& product)
{
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            product[row * 3 + column] = a[row * 3] * b[column] + a[row * 3 + 1] * b[3 + column] +
                                        a[row * 3 + 2] * b[6 + column];
        }
    }
}

// The node's own rotation; false for orders 6 and 7, whose matrix stays as it is.
bool LocalRotation(const WorldObject& node, Matrix& rotation)
{
    const int order = node.flags & object_flags::kRotationOrderMask;
    if (order > 5)
    {
        return false;
    }
    Matrix factors[3];
    for (int i = 0; i < 3; ++i)
    {
        const Axis axis = kRotationOrders[order][i];
        ElementaryRotation(axis, node.sineCosine[axis], factors[i]);
    }
    Matrix outer;
    Multiply(factors[0], factors[1], outer);
    Multiply(outer, factors[2], rotation);
    return true;
}

Vector3 Add(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 Subtract(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
}  // namespace

void ComputeSineCosine(WorldObject& node)
{
    for (int axis = 0; axis < 3; ++axis)
    {
        node.sineCosine[axis] = SineCosineOf(node.angles[axis]);
    }
}

void TransformCamera(WorldObject& camera)
{
    ComputeSineCosine(camera);
    LocalRotation(camera, camera.matrix);
    camera.viewTranslation =
        Subtract(Subtract(camera.pivot, Apply(camera.matrix, camera.pivot)), camera.placement);
}

void ResetCamera(WorldObject& camera)
{
    static constexpr Matrix kIdentity = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::memcpy(camera.matrix, kIdentity, sizeof kIdentity);
    camera.viewTranslation = {0.0f, 0.0f, 0.0f};
}

void TransformNode(WorldObject& node, const WorldObject& parent, float cameraHeading)
{
    if ((node.flags & object_flags::kFaceCamera) != 0)
    {
        node.angles[1] = -cameraHeading;
    }
    ComputeSineCosine(node);
    Matrix rotation;
    if (LocalRotation(node, rotation))
    {
        Multiply(parent.matrix, rotation, node.matrix);
    }
    node.viewTranslation =
        Subtract(Add(Apply(parent.matrix, Add(node.placement, node.pivot)), parent.viewTranslation),
                 Apply(node.matrix, node.pivot));
}
}  // namespace render::vector
