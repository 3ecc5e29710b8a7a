#pragma once

// The lists that hang scene nodes under a parent: children, sub-objects and BSP objects, each
// a doubly linked list through the nodes' sibling links, newest first. The object world builds
// its tree with these; the race moves a rider's body between its bike and the shared figure
// with them. Main thread only.

#include <cstdint>

#include "core/world/RegionRef.h"

struct WorldObject;

// The list of the parent a node joins.
enum AttachMode : int32_t
{
    kAttachChild = 0,
    kAttachSubObject = 1,
    kAttachBspObject = 2,
};

// The head of the parent's list for the mode; null for a mode that names none.
RegionRef<WorldObject>* ListHead(WorldObject& parent, int32_t mode);

// Puts the node first into the list whose head is given, as a node of the parent.
void LinkFirst(WorldObject& node, WorldObject& parent, RegionRef<WorldObject>& head);

// Takes the node out of whichever list of its parent holds it.
void Unlink(WorldObject& node);

// Takes the node out of the parent's list of the mode; false, with nothing changed, when that
// list does not hold it.
bool DetachFromList(WorldObject& node, WorldObject& parent, int32_t mode);

// Moves the node first into the parent's list of the mode, placed at (x, y, z) with the group
// radius; null, with nothing changed, for a mode that names no list.
WorldObject* AttachToList(WorldObject& node, WorldObject& parent, float x, float y, float z,
                          int32_t mode, float groupRadius);
