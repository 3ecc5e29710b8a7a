#include "glide/ZeroedBytes.h"

#include <sys/mman.h>

#include <new>
#include <utility>

namespace glide
{

ZeroedBytes::ZeroedBytes(size_t size)
{
    if (size == 0)
    {
        return;
    }
    // A private anonymous mapping: zero pages, never memory the allocator had before.
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
    {
        throw std::bad_alloc();
    }
    bytes_ = static_cast<uint8_t*>(mapped);
    size_ = size;
}

ZeroedBytes::~ZeroedBytes()
{
    if (bytes_ != nullptr)
    {
        munmap(bytes_, size_);
    }
}

ZeroedBytes::ZeroedBytes(ZeroedBytes&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

ZeroedBytes& ZeroedBytes::operator=(ZeroedBytes&& other) noexcept
{
    if (this != &other)
    {
        ZeroedBytes old(std::move(*this));
        bytes_ = std::exchange(other.bytes_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

}  // namespace glide
