#pragma once

// VectorMem: the object world's bump arena, a block of the 3D region described by the view
// block's words (base, bytes used, size). Allocations are never freed singly; the whole block
// goes when the world is freed.

#include <cstdint>

struct VectorVars;
struct WorldObject;

// Bytes rounded up to whole words. "VectorMem overflow!" and null when they do not fit.
uint8_t* AllocateInArena(VectorVars& vars, uint32_t bytes);
// The same, zero-filled.
uint8_t* AllocateZeroedInArena(VectorVars& vars, uint32_t bytes);
// A zero-filled node with the node word set.
WorldObject* NewNode(VectorVars& vars);
