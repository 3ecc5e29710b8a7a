#pragma once

// A node's rotation and translation relative to the camera: its sines and cosines, its matrix
// by its rotation order chained to its parent's, and its view translation. The same steps
// serve the drawn frame, the collision walk and the recalculation of a single node.

#include <cstdint>

#include "core/world/WorldObject.h"

namespace render::vector
{
// Sines and cosines of the angles, stored in the node.
void ComputeSineCosine(WorldObject& node);

// The camera's own: a world point v maps to M (v - pivot) + pivot - placement.
void TransformCamera(WorldObject& camera);
// Identity matrix and zero translation, the top of the collision walk and of a recalculation.
void ResetCamera(WorldObject& camera);

// Matrix and view translation of a node below its parent; a node that faces the camera
// takes the camera's heading, negated, first.
void TransformNode(WorldObject& node, const WorldObject& parent, float cameraHeading);

inline float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// M v + t with the matrix by rows.
inline Vector3 Apply(const float (&m)[9], const Vector3& v)
{
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
}
// The transposed matrix applied to v.
inline Vector3 ApplyTransposed(const float (&m)[9], const Vector3& v)
{
    return {m[0] * v.x + m[3] * v.y + m[6] * v.z, m[1] * v.x + m[4] * v.y + m[7] * v.z,
            m[2] * v.x + m[5] * v.y + m[8] * v.z};
}
}  // namespace render::vector
