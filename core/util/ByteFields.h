#pragma once

// Fixed-layout records read and written field by field, little-endian, in the order the
// fields are given: the way every stored format keeps its layout whatever the host's
// alignment or byte order. Arrays go element by element.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/util/LittleEndian.h"

// Reads from bytes the caller has checked to hold every field it asks for.
class FieldReader
{
public:
    explicit FieldReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    void Field(uint8_t& value) { value = *Take(1); }
    void Field(char& value) { value = static_cast<char>(*Take(1)); }
    void Field(uint16_t& value) { value = LoadLe16(Take(2)); }
    void Field(uint32_t& value) { value = LoadLe32(Take(4)); }
    void Field(float& value) { value = std::bit_cast<float>(LoadLe32(Take(4))); }
    template <typename T, size_t N>
    void Field(std::array<T, N>& values)
    {
        for (T& value : values)
        {
            Field(value);
        }
    }

    size_t Position() const { return at_; }

private:
    const uint8_t* Take(size_t count)
    {
        const uint8_t* field = bytes_.subspan(at_, count).data();
        at_ += count;
        return field;
    }

    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

// Appends to a buffer of its own.
class FieldWriter
{
public:
    explicit FieldWriter(size_t expectedSize = 0) { bytes_.reserve(expectedSize); }

    void Field(uint8_t value) { bytes_.push_back(value); }
    void Field(char value) { bytes_.push_back(static_cast<uint8_t>(value)); }
    void Field(uint16_t value) { StoreLe16(Put(2), value); }
    void Field(uint32_t value) { StoreLe32(Put(4), value); }
    void Field(float value) { StoreLe32(Put(4), std::bit_cast<uint32_t>(value)); }
    template <typename T, size_t N>
    void Field(const std::array<T, N>& values)
    {
        for (const T& value : values)
        {
            Field(value);
        }
    }

    size_t Position() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    uint8_t* Put(size_t count)
    {
        bytes_.resize(bytes_.size() + count);
        return &bytes_[bytes_.size() - count];
    }

    std::vector<uint8_t> bytes_;
};
