// Decodes the input as a bitmap, a TGA and a JPEG, and puts every picture that decodes through
// the conversions the texture loaders and the colour reduction make.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/JpegReader.h"
#include "render/TgaReader.h"

namespace
{
// Conversions of larger pictures only cost time; their loops are the same.
constexpr int kMaxConvertedPixels = 256 * 256;

void Convert(render::ImageBuffer& buffer)
{
    if (buffer.Width() * buffer.Height() > kMaxConvertedPixels)
    {
        return;
    }
    buffer.SetChannelMasks(0xF800, 0x07E0, 0x001F, 0);
    buffer.To565();
    buffer.ToTrueColour();
    buffer.SetChannelMasks(0x0F00, 0x00F0, 0x000F, 0xF000);
    buffer.To4444();
    buffer.ToPalette(2);
    buffer.ToPalette(1);
    buffer.ToTrueColour();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> image(data, size);
    for (const render::ImageDecoder decode :
         {render::DecodeBmpImage, render::DecodeTgaImage, render::DecodeJpegImage})
    {
        render::ImageBuffer buffer;
        std::string reason;
        if (decode(image, buffer, reason))
        {
            Convert(buffer);
        }
    }
    return 0;
}
