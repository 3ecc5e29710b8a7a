#include "glide/Board.h"

#include "glide/UntilUnload.h"

namespace glide
{

void FrameBuffers::Open(int width, int height, int colourStrideBytes)
{
    width_ = width;
    height_ = height;
    colourStride_ = std::max(width, (colourStrideBytes + 1) / 2);
    back_ = 0;
    const size_t colourPixels = static_cast<size_t>(colourStride_) * static_cast<size_t>(height);
    colour_[0].assign(colourPixels, 0);
    colour_[1].assign(colourPixels, 0);
    depth_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

void FrameBuffers::Close()
{
    *this = FrameBuffers{};
}

Board& TheBoard()
{
    return UntilUnload<Board>();
}

}  // namespace glide
