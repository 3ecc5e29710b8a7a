// The scene tree operations of the object world: linking nodes into the three lists of a
// parent, cloning, levels of detail and raw arena blocks.

#include <cstring>
#include <utility>

#include "app/world/ObjectWorld.h"
#include "app/world/VectorMem.h"
#include "core/util/Message.h"
#include "core/world/Region.h"
#include "core/world/SceneLinks.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "platform/Platform.h"

namespace
{
RegionRef<WorldObject>* CheckedListHead(WorldObject& parent, int32_t mode)
{
    RegionRef<WorldObject>* head = ListHead(parent, mode);
    if (head == nullptr)
    {
        ShowMessage("Kein Child/Sub/BSP-Object \n");
    }
    return head;
}

// Entries of a texture list before its end mark, never reading past the region.
uint32_t TextureListLength(const uint32_t* list)
{
    uint32_t length = 0;
    while (region::Contains(list + length, sizeof(uint32_t)) && list[length] != kTextureListEnd)
    {
        ++length;
    }
    return length;
}
}  // namespace

WorldObject* ObjectWorld::AttachNewObject(WorldObject* parent, float x, float y, float z,
                                          int32_t mode, float groupRadius)
{
    if (parent == nullptr)
    {
        return nullptr;
    }
    WorldObject* node = CheckedListHead(*parent, mode) != nullptr ? NewNode(*vars_) : nullptr;
    return node != nullptr ? AttachToList(*node, *parent, x, y, z, mode, groupRadius) : nullptr;
}

WorldObject* ObjectWorld::AttachObject(WorldObject* node, WorldObject* parent, float x, float y,
                                       float z, int32_t mode, float groupRadius)
{
    if (node == nullptr || parent == nullptr || CheckedListHead(*parent, mode) == nullptr)
    {
        return nullptr;
    }
    return AttachToList(*node, *parent, x, y, z, mode, groupRadius);
}

int32_t ObjectWorld::DetachObject(WorldObject* node, WorldObject* parent, int32_t mode)
{
    return node != nullptr && parent != nullptr && DetachFromList(*node, *parent, mode) ? 1 : 0;
}

LevelOfDetail* ObjectWorld::InsertSorted(LevelOfDetail* level, WorldObject* owner)
{
    if (level == nullptr || owner == nullptr)
    {
        return nullptr;
    }
    LevelOfDetail& first = owner->firstLevel;
    if (level->maxDistanceKey < first.maxDistanceKey)
    {
        // The embedded level always holds the smallest key.
        std::swap(*level, first);
        first.next.set(level);
        return &first;
    }
    LevelOfDetail* behind = &first;
    while (behind->next && behind->next->maxDistanceKey < level->maxDistanceKey)
    {
        behind = behind->next.get();
    }
    level->next = behind->next;
    behind->next.set(level);
    return behind;
}

WorldObject* ObjectWorld::CloneObject(const WorldObject* source)
{
    if (source == nullptr)
    {
        return nullptr;
    }
    const uint32_t* sourceList = source->textureList.get();
    const uint32_t listLength = sourceList != nullptr ? TextureListLength(sourceList) : 0;
    const uint32_t usedBefore = vars_->arenaUsed;
    auto* clone = reinterpret_cast<WorldObject*>(AllocateInArena(*vars_, sizeof(WorldObject)));
    if (clone == nullptr)
    {
        return nullptr;
    }
    uint32_t* list = nullptr;
    if (sourceList != nullptr)
    {
        list = reinterpret_cast<uint32_t*>(AllocateInArena(*vars_, 4 * listLength + 4));
        if (list == nullptr)
        {
            vars_->arenaUsed = usedBefore;
            return nullptr;
        }
    }
    std::memcpy(clone, source, sizeof(WorldObject));
    clone->entry.next.reset();
    clone->polygonListPrevious.reset();
    clone->nextSibling.reset();
    clone->previousSibling.reset();
    clone->firstChild.reset();
    clone->firstSubObject.reset();
    clone->sortNear.reset();
    clone->sortFar.reset();
    if (list != nullptr)
    {
        std::memcpy(list, sourceList, 4 * listLength);
        list[listLength] = kTextureListEnd;
        clone->textureList.set(list);
    }
    return clone;
}

int32_t ObjectWorld::SetCollisionObject(WorldObject* node, CollisionBody* body)
{
    if (node != nullptr)
    {
        node->collisionBody.set(body);
    }
    return 1;
}

void* ObjectWorld::AllocRaw(uint32_t bytes)
{
    return AllocateInArena(*vars_, bytes);
}
