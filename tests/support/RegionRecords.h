#pragma once

// Zero-filled records in the 3D region, for tests that build meshes and worlds by hand.

#include <cstdint>
#include <cstring>

#include "core/world/Region.h"

template <class T>
T* NewRegionRecords(uint32_t count = 1)
{
    auto* records = reinterpret_cast<T*>(
        region::Address(region::Allocate(static_cast<uint32_t>(sizeof(T)) * count)));
    for (uint32_t i = 0; i < count; ++i)
    {
        std::memset(static_cast<void*>(records + i), 0, sizeof(T));
    }
    return records;
}
