#pragma once

// A link between records of the 3D region: the 32-bit offset of the target from the region's
// base, 0 = null. Records that hold links keep the sizes both deliverables agree on, and a
// link means the same in the game and in the render library.

#include <cstdint>

#include "core/world/Region.h"

template <class T>
class RegionRef
{
public:
    RegionRef() = default;  // trivial: a zero-filled record holds null links

    static RegionRef FromOffset(uint32_t offset)
    {
        RegionRef ref;
        ref.offset_ = offset;
        return ref;
    }
    static RegionRef To(const T* target) { return FromOffset(region::OffsetOf(target)); }

    T* get() const { return reinterpret_cast<T*>(region::Address(offset_)); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
    void set(const T* target) { offset_ = region::OffsetOf(target); }
    void reset() { offset_ = 0; }

    uint32_t Offset() const { return offset_; }
    explicit operator bool() const { return offset_ != 0; }
    bool operator==(const RegionRef&) const = default;

private:
    uint32_t offset_;
};
