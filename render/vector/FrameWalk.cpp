// The frame walk: every node below the camera gets its matrix and view translation, is culled
// by its spheres and is drawn at once or ordered for drawing back to front.

#include "render/vector/NodeTransform.h"
#include "render/vector/SortTree.h"
#include "render/vector/VectorEngine.h"

namespace render::vector
{
bool VectorEngine::TestSpheres(WorldObject& node) const
{
    bool ownInside = true;
    bool groupInside = true;
    for (const Plane& plane : view_.clipPlanes)
    {
        const float s = Dot(plane.normal, node.viewTranslation) + plane.d;
        if (s + node.ownRadius <= 0.0f)
        {
            ownInside = false;
        }
        if (s + node.groupRadius <= 0.0f)
        {
            groupInside = false;
        }
    }
    node.clipCode = groupInside ? kGroupVisible : 0;
    return ownInside;
}

float VectorEngine::DistanceKey(const WorldObject& node) const
{
    return Dot(node.viewTranslation, node.viewTranslation) * view_.correctionSquared;
}

// All levels of one walk share its tree, which is drawn when the top-level list is done.
void VectorEngine::WalkForDraw(WorldObject* first, const WorldObject& parent, SortTree& tree,
                               int depth)
{
    for (WorldObject* node = first; node != nullptr; node = node->nextSibling.get())
    {
        TransformNode(*node, parent, cameraHeading_);
        if (TestSpheres(*node))
        {
            node->distanceKey = DistanceKey(*node);
            if ((node->flags & object_flags::kDrawAtOnce) != 0)
            {
                if ((node->flags & object_flags::kHidden) == 0)
                {
                    DrawObject(*node);
                }
            }
            else if ((node->flags & object_flags::kFrameSorted) != 0)
            {
                frameTree_->Insert(*node);
            }
            else
            {
                tree.Insert(*node);
            }
        }
        if ((node->clipCode & kGroupVisible) != 0 && node->firstChild)
        {
            WalkForDraw(node->firstChild.get(), *node, tree, depth + 1);
        }
    }
    if (depth == 0)
    {
        DrawSorted(tree);
    }
}

void VectorEngine::DrawSorted(const SortTree& tree)
{
    tree.VisitFarToNear(sortStack_, [this](WorldObject& node) { DrawObject(node); });
}
}  // namespace render::vector
