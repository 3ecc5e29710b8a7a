#include "render/JpegReader.h"

#include <limits>
#include <memory>

#include "core/util/LittleEndian.h"
#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/JpegSupport.h"

namespace render
{

bool DecodeJpegImage(std::span<const uint8_t> image, ImageBuffer& buffer, std::string& reason)
{
    if (image.size() > std::numeric_limits<uint32_t>::max())
    {
        reason = "the JPEG file is too large";
        return false;
    }
    const std::unique_ptr<uint8_t, decltype(&JPEGSUPP_JpegBitmapFreeRawImage)> bitmap(
        static_cast<uint8_t*>(JPEGSUPP_JpegBitmapAllocateFromMemoryBlockToDib(
            image.data(), static_cast<uint32_t>(image.size()))),
        JPEGSUPP_JpegBitmapFreeRawImage);
    if (!bitmap)
    {
        reason = "not a JPEG picture that decodes (or larger than " +
                 std::to_string(kMaxPictureSide) + " pixels on a side)";
        return false;
    }
    // The support writes the file size into the header it makes.
    const uint32_t bitmapSize = LoadLe32(bitmap.get() + 2);
    return DecodeBmpImage({bitmap.get(), bitmapSize}, buffer, reason);
}

}  // namespace render
