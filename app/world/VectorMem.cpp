#include "app/world/VectorMem.h"

#include <cstring>

#include "core/util/Message.h"
#include "core/world/VectorVars.h"
#include "core/world/WorldObject.h"
#include "platform/Platform.h"

uint8_t* AllocateInArena(VectorVars& vars, uint32_t bytes)
{
    const uint64_t rounded = (uint64_t{bytes} + 3) & ~uint64_t{3};
    if (!vars.arenaBase || vars.arenaUsed > vars.arenaSize ||
        rounded > vars.arenaSize - vars.arenaUsed)
    {
        ShowMessage("VectorMem overflow!");
        return nullptr;
    }
    uint8_t* block = vars.arenaBase.get() + vars.arenaUsed;
    vars.arenaUsed += static_cast<uint32_t>(rounded);
    return block;
}

uint8_t* AllocateZeroedInArena(VectorVars& vars, uint32_t bytes)
{
    uint8_t* block = AllocateInArena(vars, bytes);
    if (block != nullptr)
    {
        std::memset(block, 0, bytes);
    }
    return block;
}

WorldObject* NewNode(VectorVars& vars)
{
    auto* node = reinterpret_cast<WorldObject*>(AllocateZeroedInArena(vars, sizeof(WorldObject)));
    if (node != nullptr)
    {
        node->entry.kind = kNodeWord;
    }
    return node;
}
