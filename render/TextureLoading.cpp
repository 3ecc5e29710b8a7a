#include "render/TextureLoading.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/JpegReader.h"
#include "render/TextureStore.h"
#include "render/TgaReader.h"

namespace render
{
namespace
{

bool ReadPicture(ImageBuffer& buffer, std::string_view name, bool allowPalette)
{
    const PictureKind kind = PictureKindOf(name);
    bool read = false;
    switch (kind)
    {
        case PictureKind::Bmp:
            read = BmpReader(&buffer).Load(name);
            break;
        case PictureKind::Tga:
            read = TgaReader(&buffer).Load(name);
            break;
        case PictureKind::Jpeg:
            read = JpegReader(&buffer).Load(name);
            break;
        case PictureKind::Unknown:
            break;
    }
    return read && ConvertForTexture(buffer, kind, allowPalette);
}

int32_t TextureFormatOf(ImageFormat format)
{
    switch (format)
    {
        case ImageFormat::Palette8:
            return kTextureFormatPalette8;
        case ImageFormat::Argb4444:
            return kTextureFormatArgb4444;
        default:
            return kTextureFormatRgb565;
    }
}

uint32_t* PaletteOf(TextureStore& store, const ImageBuffer& buffer)
{
    if (buffer.Format() != ImageFormat::Palette8)
    {
        return nullptr;
    }
    PaletteColours colours;
    const uint8_t* entry = buffer.Palette();
    for (uint32_t& colour : colours)
    {
        colour = uint32_t{entry[0]} << 16 | uint32_t{entry[1]} << 8 | entry[2];
        entry += 4;
    }
    return store.SharePalette(colours);
}

bool Matches(const Texture& texture, const ImageBuffer& buffer)
{
    return texture.width == buffer.Width() && texture.height == buffer.Height() &&
           texture.stride == buffer.Stride() && texture.format == TextureFormatOf(buffer.Format());
}

void CopyInto(TextureStore& store, Texture& texture, const ImageBuffer& buffer)
{
    std::memcpy(texture.pixels, buffer.Pixels(),
                static_cast<size_t>(texture.stride) * static_cast<size_t>(texture.height));
    texture.palette = PaletteOf(store, buffer);
}

}  // namespace

PictureKind PictureKindOf(std::string_view name)
{
    std::string upper(name);
    std::ranges::transform(upper, upper.begin(),
                           [](char c)
                           { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    if (upper.find("BMP") != std::string::npos)
    {
        return PictureKind::Bmp;
    }
    if (upper.find("TGA") != std::string::npos)
    {
        return PictureKind::Tga;
    }
    if (upper.find("JPG") != std::string::npos)
    {
        return PictureKind::Jpeg;
    }
    return PictureKind::Unknown;
}

bool ConvertForTexture(ImageBuffer& buffer, PictureKind kind, bool allowPalette)
{
    const ImageFormat format = buffer.Format();
    switch (kind)
    {
        case PictureKind::Bmp:
            if (format == ImageFormat::Palette8)
            {
                return allowPalette;
            }
            break;
        case PictureKind::Tga:
            buffer.SetChannelMasks(0x0F00, 0x00F0, 0x000F, 0xF000);
            buffer.To4444();
            return buffer.Format() == ImageFormat::Argb4444;
        case PictureKind::Jpeg:
            if (format != ImageFormat::Rgb24)
            {
                return false;
            }
            break;
        case PictureKind::Unknown:
            return false;
    }
    if (format != ImageFormat::Rgb24 && format != ImageFormat::Rgba32)
    {
        return false;
    }
    buffer.SetChannelMasks(0xF800, 0x07E0, 0x001F, 0);
    buffer.To565();
    return true;
}

Texture* TextureFromPicture(TextureStore& store, const ImageBuffer& buffer)
{
    Texture* texture = TextureStore::NewPicture(buffer.Width(), buffer.Height(), buffer.Stride(),
                                                TextureFormatOf(buffer.Format()), buffer.Pixels());
    texture->palette = PaletteOf(store, buffer);
    return texture;
}

Texture* LoadTableTexture(TextureStore& store, ImageBuffer& buffer, std::string_view name,
                          int32_t index, int32_t userValue)
{
    if (!IsTableIndex(index) || store.Get(index) != nullptr || !ReadPicture(buffer, name, true))
    {
        return nullptr;
    }
    Texture* texture = TextureFromPicture(store, buffer);
    texture->userValue = userValue;
    store.Enter(texture, index);
    store.Download(*texture);
    return texture;
}

Texture* ReLoadTableTexture(TextureStore& store, ImageBuffer& buffer, std::string_view name,
                            int32_t index, int32_t userValue)
{
    Texture* texture = store.Get(index);
    if (texture == nullptr || !ReadPicture(buffer, name, true) || !Matches(*texture, buffer))
    {
        return nullptr;
    }
    CopyInto(store, *texture, buffer);
    texture->userValue = userValue;
    store.Download(*texture);
    return texture;
}

Texture* LoadMemoryTexture(TextureStore& store, ImageBuffer& buffer, std::string_view name,
                           int32_t userValue)
{
    if (!ReadPicture(buffer, name, false))
    {
        return nullptr;
    }
    Texture* texture = TextureFromPicture(store, buffer);
    texture->userValue = userValue;
    store.AddMemoryTexture(texture);
    return texture;
}

Texture* ReLoadMemoryTexture(TextureStore& store, ImageBuffer& buffer, Texture* texture,
                             std::string_view name, int32_t userValue)
{
    if (texture == nullptr || store.IsTableTexture(texture) || !ReadPicture(buffer, name, false) ||
        !Matches(*texture, buffer))
    {
        return nullptr;
    }
    CopyInto(store, *texture, buffer);
    texture->userValue = userValue;
    return texture;
}

}  // namespace render
