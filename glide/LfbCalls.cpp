// Direct access to the colour buffers. Drawing is immediate, so pixels written through the
// lock and primitives drawn after the unlock land in call order.

#include "glide/Board.h"
#include "glide/Glide.h"

bool grLfbLock(GrLock /*type: buffers are always readable and writable*/, GrBuffer buffer,
               GrLfbWriteMode writeMode, GrOriginLocation origin, bool pixelPipeline,
               GrLfbInfo* info)
{
    glide::Board& board = glide::TheBoard();
    if (info == nullptr || !board.buffers.IsOpen() || writeMode != GrLfbWriteMode::Rgb565 ||
        origin != GrOriginLocation::UpperLeft || pixelPipeline)
    {
        return false;
    }
    glide::FinishDrawing();
    info->lfbPtr = buffer == GrBuffer::FrontBuffer ? board.buffers.Front() : board.buffers.Back();
    info->strideInBytes = static_cast<uint32_t>(board.buffers.ColourStride()) * 2;
    board.lfbLocked = true;
    return true;
}

bool grLfbUnlock(GrLock /*type*/, GrBuffer /*buffer*/)
{
    glide::Board& board = glide::TheBoard();
    const bool wasLocked = board.lfbLocked;
    board.lfbLocked = false;
    return wasLocked;
}
