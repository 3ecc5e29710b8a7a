// Decodes the input as a bitmap, a TGA and a JPEG, and puts every picture that decodes through
// the conversions the texture loaders and the colour reduction make. Then the game's own road:
// the input as a picture file of each kind loaded into a table texture (conversion, texture
// shape, download) and as a memory texture.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/support/FuzzInputFile.h"
#include "fuzz/support/FuzzScreen.h"
#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/JpegReader.h"
#include "render/RenderApi.h"
#include "render/TgaReader.h"

namespace
{
// Conversions of larger pictures only cost time; their loops are the same.
constexpr int kMaxConvertedPixels = 256 * 256;
constexpr int32_t kTableIndex = 7;

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

// The picture as each kind of file the texture loaders read, by the game's name rule.
void LoadAsTextures(const uint8_t* data, size_t size)
{
    static const FuzzInputFile files[] = {FuzzInputFile("fuzz.bmp"), FuzzInputFile("fuzz.tga"),
                                          FuzzInputFile("fuzz.jpg")};
    for (const FuzzInputFile& file : files)
    {
        file.Hold(data, size);
        if (rdll_LoadTexture(file.Path().c_str(), kTableIndex, 0, 0) != nullptr)
        {
            rdll_DownLoadTextureIndex(kTableIndex);
            rdll_ReLoadTexture(file.Path().c_str(), kTableIndex, 0, 0);
        }
        if (Texture* memory = rdll_LoadMemoryTexture(file.Path().c_str(), 0))
        {
            rdll_FreeMemoryTexture(memory);
        }
        rdll_Free();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OpenFuzzScreen();
    SilenceMessages();
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
    LoadAsTextures(data, size);
    return 0;
}
