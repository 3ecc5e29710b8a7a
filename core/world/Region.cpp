#include "core/world/Region.h"

#include <cassert>
#include <cstdlib>

namespace region
{
namespace detail
{
uint8_t* g_base = nullptr;
}

namespace
{
constexpr uint32_t kMagic = 0x52443357;  // "W3DR"
constexpr uint32_t kFreeBlock = 0x45455246;
constexpr uint32_t kUsedBlock = 0x44455355;

// At offset 0. Free blocks form a list in ascending order of offset.
struct RegionHeader
{
    uint32_t magic;
    uint32_t size;
    uint32_t firstFree;  // offset of a block header, 0 = none
    uint32_t reserved;
};

// Right before the bytes of every block; size counts the header too.
struct BlockHeader
{
    uint32_t size;
    uint32_t nextFree;  // free blocks only
    uint32_t state;
    uint32_t reserved;
};
static_assert(sizeof(BlockHeader) == kAlignment);

constexpr uint32_t kSmallestBlock = 2 * sizeof(BlockHeader);

RegionHeader& Header()
{
    return *reinterpret_cast<RegionHeader*>(detail::g_base);
}

BlockHeader& BlockAt(uint32_t headerOffset)
{
    return *reinterpret_cast<BlockHeader*>(detail::g_base + headerOffset);
}

bool HoldsRegion(uint8_t* base)
{
    const RegionHeader& header = *reinterpret_cast<const RegionHeader*>(base);
    return header.magic == kMagic && header.size == kSize;
}
}  // namespace

bool Reserve()
{
    if (detail::g_base != nullptr)
    {
        return true;
    }
    // Pages are taken from the system only when first touched.
    auto* base = static_cast<uint8_t*>(std::aligned_alloc(kSize, kSize));
    if (base == nullptr)
    {
        return false;
    }
    detail::g_base = base;
    Header() = {kMagic, kSize, kFirstUsableOffset, 0};
    BlockAt(kFirstUsableOffset) = {kSize - kFirstUsableOffset, 0, kFreeBlock, 0};
    return true;
}

bool AdoptContaining(const void* address)
{
    if (address == nullptr)
    {
        return false;
    }
    auto* base = reinterpret_cast<uint8_t*>(reinterpret_cast<uintptr_t>(address) &
                                            ~static_cast<uintptr_t>(kSize - 1));
    if (base == detail::g_base)
    {
        return true;
    }
    if (detail::g_base != nullptr || !HoldsRegion(base))
    {
        return false;
    }
    detail::g_base = base;
    return true;
}

uint32_t Allocate(uint32_t bytes)
{
    if (detail::g_base == nullptr || bytes > kSize)
    {
        return 0;
    }
    const uint32_t needed = (bytes + kAlignment - 1) / kAlignment * kAlignment +
                            static_cast<uint32_t>(sizeof(BlockHeader));
    uint32_t* link = &Header().firstFree;
    while (*link != 0)
    {
        const uint32_t offset = *link;
        BlockHeader& block = BlockAt(offset);
        if (block.size >= needed)
        {
            if (block.size - needed >= kSmallestBlock)
            {
                const uint32_t rest = offset + needed;
                BlockAt(rest) = {block.size - needed, block.nextFree, kFreeBlock, 0};
                *link = rest;
                block.size = needed;
            }
            else
            {
                *link = block.nextFree;
            }
            block.nextFree = 0;
            block.state = kUsedBlock;
            return offset + static_cast<uint32_t>(sizeof(BlockHeader));
        }
        link = &block.nextFree;
    }
    return 0;
}

void Free(uint32_t offset)
{
    if (offset == 0 || detail::g_base == nullptr)
    {
        return;
    }
    const uint32_t headerOffset = offset - static_cast<uint32_t>(sizeof(BlockHeader));
    BlockHeader& block = BlockAt(headerOffset);
    assert(block.state == kUsedBlock && "freeing a block that is not handed out");
    if (block.state != kUsedBlock)
    {
        return;
    }
    block.state = kFreeBlock;

    uint32_t previous = 0;
    uint32_t next = Header().firstFree;
    while (next != 0 && next < headerOffset)
    {
        previous = next;
        next = BlockAt(next).nextFree;
    }
    block.nextFree = next;
    if (next != 0 && headerOffset + block.size == next)
    {
        block.size += BlockAt(next).size;
        block.nextFree = BlockAt(next).nextFree;
    }
    if (previous == 0)
    {
        Header().firstFree = headerOffset;
        return;
    }
    BlockHeader& before = BlockAt(previous);
    if (previous + before.size == headerOffset)
    {
        before.size += block.size;
        before.nextFree = block.nextFree;
    }
    else
    {
        before.nextFree = headerOffset;
    }
}

uint32_t BlockSize(uint32_t offset)
{
    return BlockAt(offset - static_cast<uint32_t>(sizeof(BlockHeader))).size -
           static_cast<uint32_t>(sizeof(BlockHeader));
}

uint32_t OffsetOf(const void* address)
{
    if (address == nullptr)
    {
        return 0;
    }
    const auto* bytes = static_cast<const uint8_t*>(address);
    assert(detail::g_base != nullptr && bytes >= detail::g_base && bytes < detail::g_base + kSize &&
           "address outside the 3D region");
    return static_cast<uint32_t>(bytes - detail::g_base);
}

bool Contains(const void* address, size_t bytes)
{
    if (detail::g_base == nullptr || address == nullptr)
    {
        return false;
    }
    const auto* begin = static_cast<const uint8_t*>(address);
    return begin >= detail::g_base + kFirstUsableOffset && begin <= detail::g_base + kSize &&
           bytes <= static_cast<size_t>(detail::g_base + kSize - begin);
}
}  // namespace region
