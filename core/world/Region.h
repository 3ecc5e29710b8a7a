#pragma once

// The process-wide 3D memory region: every record the vector engine follows lives here (the
// object arenas, the engine's caches, the view blocks), so that links between records can be
// 32-bit offsets from the region's base and every record keeps the size both deliverables
// agree on. Offset 0 is null: the first page holds the region's own header and is never
// handed out.
//
// The game reserves the region; the render library, which links its own copy of this code,
// adopts it from the first view block it is handed (the region is aligned to its size, so any
// address inside it names it) and never reserves one of its own. The allocator keeps all its
// state inside the region, so that either side sees the same blocks. Main thread only.

#include <cstddef>
#include <cstdint>

namespace region
{
inline constexpr uint32_t kSize = 64u << 20;  // a power of two
inline constexpr uint32_t kFirstUsableOffset = 4096;
inline constexpr uint32_t kAlignment = 16;  // of every block handed out

// The game side: reserves the region once per process; true when it exists.
bool Reserve();
// The library side: takes the region that holds the address, which must be that of a view
// block the game made. False, with nothing changed, when what lies there is no region or
// another region was taken before.
bool AdoptContaining(const void* address);

namespace detail
{
extern uint8_t* g_base;  // this copy's view of the region; null until reserved or adopted
}

inline uint8_t* Base()
{
    return detail::g_base;
}

// A block of at least bytes, aligned to kAlignment, with unspecified contents; 0 when the
// region is full or does not exist.
uint32_t Allocate(uint32_t bytes);
// Gives a block back; 0 is ignored.
void Free(uint32_t offset);
// Bytes of a block handed out by Allocate.
uint32_t BlockSize(uint32_t offset);

// Null for offset 0.
inline uint8_t* Address(uint32_t offset)
{
    return offset == 0 ? nullptr : Base() + offset;
}
// 0 for null; the address must lie inside the region.
uint32_t OffsetOf(const void* address);
// Whether [address, address + bytes) lies in the usable part of the region.
bool Contains(const void* address, size_t bytes);
}  // namespace region
