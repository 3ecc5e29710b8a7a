#pragma once

// A zero-filled byte array whose pages the system hands out zeroed on first touch, so that a
// large one costs nothing until it is written: the board's 32 MB of texture memory would
// otherwise take longer to clear than the rest of start-up.

#include <cstddef>
#include <cstdint>

namespace glide
{

class ZeroedBytes
{
public:
    ZeroedBytes() = default;
    explicit ZeroedBytes(size_t size);
    ~ZeroedBytes();
    ZeroedBytes(ZeroedBytes&& other) noexcept;
    ZeroedBytes& operator=(ZeroedBytes&& other) noexcept;
    ZeroedBytes(const ZeroedBytes&) = delete;
    ZeroedBytes& operator=(const ZeroedBytes&) = delete;

    uint8_t* data() { return bytes_; }
    const uint8_t* data() const { return bytes_; }
    size_t size() const { return size_; }

private:
    uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
};

}  // namespace glide
