#pragma once

// The board's texture memory as the library hands it out: a cursor that moves up with every
// first download and only goes back when told to. A texture keeps the address it got until it
// is freed, and is downloaded there again whenever the board may have lost its texels.

#include <cstdint>
#include <optional>

#include "render/RenderApi.h"

namespace render
{

// How the board sees a picture of that shape: aspect-ratio and level-of-detail codes and the
// texture-coordinate ranges of its sides. Nothing for shapes the board cannot take: sides
// must be powers of two up to 256 with a ratio of at most 8.
struct TextureShape
{
    int32_t aspectRatio = 0;
    int32_t lod = 0;
    int32_t sRange = 0;
    int32_t tRange = 0;
};
std::optional<TextureShape> ShapeOf(int32_t width, int32_t height);

class TextureMemory
{
public:
    // The board's range, remembered when the screen opens; the cursor goes to its start.
    void SetRange(uint32_t minimum, uint32_t maximum);
    void ResetCursor()
    {
        cursor_ = minimum_;
        reportedFull_ = false;
    }
    // Addresses below this are taken.
    void SkipTo(uint32_t address);
    uint32_t Cursor() const { return cursor_; }

    // Gives a texture its address on first download, then copies its pixels there. False,
    // with the texture left without an address, when its shape does not suit the board or
    // it does not fit into what is left of texture memory; the first texture that does not
    // fit after the memory was started afresh is logged to stderr.
    bool Download(Texture& texture);

private:
    uint32_t minimum_ = 0;
    uint32_t maximum_ = 0;
    uint32_t cursor_ = 0;
    bool reportedFull_ = false;
};

// Bytes the texture takes in texture memory.
uint32_t TextureBytes(const Texture& texture);

}  // namespace render
