#include "kit/picture/PictureCommand.h"

#include <cstring>
#include <optional>
#include <vector>

#include "core/files/FileSystem.h"
#include "core/util/PathUtils.h"
#include "kit/picture/BmpWriter.h"
#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/JpegReader.h"
#include "render/TextureLoading.h"
#include "render/TgaReader.h"

namespace kit
{
namespace
{

render::ImageDecoder DecoderFor(render::PictureKind kind)
{
    switch (kind)
    {
        case render::PictureKind::Bmp:
            return render::DecodeBmpImage;
        case render::PictureKind::Tga:
            return render::DecodeTgaImage;
        case render::PictureKind::Jpeg:
            return render::DecodeJpegImage;
        case render::PictureKind::Unknown:
            break;
    }
    return nullptr;
}

RgbaPicture PictureOf(const render::ImageBuffer& buffer)
{
    RgbaPicture picture{buffer.Width(), buffer.Height(), {}};
    const size_t rowBytes = static_cast<size_t>(picture.width) * 4;
    picture.rgba.resize(rowBytes * picture.height);
    for (int y = 0; y < picture.height; ++y)
    {
        std::memcpy(&picture.rgba[rowBytes * y],
                    buffer.Pixels() + static_cast<size_t>(buffer.Stride()) * y, rowBytes);
    }
    return picture;
}

}  // namespace

bool DecodePictureToBmp(const std::string& input, const std::string& output, std::string& error)
{
    // The game's rule looks at a member's name; the folders of a host path take no part.
    std::string fileName = input;
    StripDirectory(fileName);
    const render::ImageDecoder decode = DecoderFor(render::PictureKindOf(fileName));
    if (decode == nullptr)
    {
        error = input + ": the render library reads only names with BMP, TGA or JPG in them";
        return false;
    }
    const std::optional<std::vector<uint8_t>> image = files::ReadAll(input);
    if (!image)
    {
        error = input + ": cannot be read";
        return false;
    }
    render::ImageBuffer buffer;
    std::string reason;
    if (!decode(*image, buffer, reason))
    {
        error = input + ": refused: " + reason;
        return false;
    }
    buffer.ToTrueColour();
    if (!files::ReplaceAtomically(output, WriteBmp24(PictureOf(buffer))))
    {
        error = output + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace kit
