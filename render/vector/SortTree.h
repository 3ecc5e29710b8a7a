#pragma once

// Objects ordered by distance key for drawing back to front, threaded through the nodes' own
// sort links. A key below a tree node's goes to its near side, an equal or greater one to its
// far side; drawing takes the far side first, so of two equal keys the later one comes first.
// Keys are never negative and are compared as the integers of their bit patterns.

#include <bit>
#include <cstdint>
#include <vector>

#include "core/world/WorldObject.h"

namespace render::vector
{
class SortTree
{
public:
    bool Empty() const { return root_ == nullptr; }

    void Insert(WorldObject& node)
    {
        node.sortNear.reset();
        node.sortFar.reset();
        if (root_ == nullptr)
        {
            root_ = &node;
            return;
        }
        const int32_t key = std::bit_cast<int32_t>(node.distanceKey);
        WorldObject* at = root_;
        for (;;)
        {
            RegionRef<WorldObject>& side =
                key < std::bit_cast<int32_t>(at->distanceKey) ? at->sortNear : at->sortFar;
            if (!side)
            {
                side.set(&node);
                return;
            }
            at = side.get();
        }
    }

    // Visits farthest first. stack is shared by nested walks: each uses only what it pushed,
    // so a visit may order and draw trees of its own.
    template <class Visit>
    void VisitFarToNear(std::vector<WorldObject*>& stack, Visit&& visit) const
    {
        const size_t base = stack.size();
        WorldObject* node = root_;
        while (node != nullptr || stack.size() > base)
        {
            while (node != nullptr)
            {
                stack.push_back(node);
                node = node->sortFar.get();
            }
            WorldObject* next = stack.back();
            stack.pop_back();
            node = next->sortNear.get();
            visit(*next);
        }
    }

private:
    WorldObject* root_ = nullptr;
};
}  // namespace render::vector
