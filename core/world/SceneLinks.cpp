#include "core/world/SceneLinks.h"

#include <initializer_list>

#include "core/world/WorldObject.h"

RegionRef<WorldObject>* ListHead(WorldObject& parent, int32_t mode)
{
    switch (mode)
    {
        case kAttachChild:
            return &parent.firstChild;
        case kAttachSubObject:
            return &parent.firstSubObject;
        case kAttachBspObject:
            return &parent.firstBspObject;
        default:
            return nullptr;
    }
}

void LinkFirst(WorldObject& node, WorldObject& parent, RegionRef<WorldObject>& head)
{
    node.nextSibling = head;
    node.previousSibling.reset();
    if (head)
    {
        head->previousSibling.set(&node);
    }
    head.set(&node);
    node.parent.set(&parent);
}

void Unlink(WorldObject& node)
{
    if (node.previousSibling)
    {
        node.previousSibling->nextSibling = node.nextSibling;
    }
    else if (node.parent)
    {
        for (const int32_t mode : {kAttachChild, kAttachSubObject, kAttachBspObject})
        {
            RegionRef<WorldObject>* head = ListHead(*node.parent, mode);
            if (head->get() == &node)
            {
                *head = node.nextSibling;
                break;
            }
        }
    }
    if (node.nextSibling)
    {
        node.nextSibling->previousSibling = node.previousSibling;
    }
    node.nextSibling.reset();
    node.previousSibling.reset();
    node.parent.reset();
}

bool DetachFromList(WorldObject& node, WorldObject& parent, int32_t mode)
{
    RegionRef<WorldObject>* head = ListHead(parent, mode);
    if (head == nullptr)
    {
        return false;
    }
    for (WorldObject* entry = head->get(); entry != nullptr; entry = entry->nextSibling.get())
    {
        if (entry == &node)
        {
            Unlink(node);
            return true;
        }
    }
    return false;
}

WorldObject* AttachToList(WorldObject& node, WorldObject& parent, float x, float y, float z,
                          int32_t mode, float groupRadius)
{
    RegionRef<WorldObject>* head = ListHead(parent, mode);
    if (head == nullptr)
    {
        return nullptr;
    }
    // A node sits in one list only.
    if (node.parent)
    {
        Unlink(node);
    }
    LinkFirst(node, parent, *head);
    node.placement = {x, y, z};
    node.groupRadius = groupRadius;
    return &node;
}
