#pragma once

// The JPEG support the picture readers rely on: a JPEG file image in memory becomes a newly
// allocated image of a 24-bit Windows bitmap file (54-byte header, bottom-up rows of blue,
// green, red padded to 4 bytes), which the caller releases with the second function.

#include <cstdint>

// Null when the data is not a JPEG that decodes, or is larger than the picture readers take.
void* JPEGSUPP_JpegBitmapAllocateFromMemoryBlockToDib(const void* image, uint32_t length);
void JPEGSUPP_JpegBitmapFreeRawImage(void* bitmap);
