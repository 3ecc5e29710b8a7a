#pragma once

// Pictures read into textures: the reader is chosen by the name, the decoded picture is
// converted to the form its kind is kept in, and its pixels are copied into the texture.

#include <cstdint>
#include <string_view>

#include "render/RenderApi.h"

namespace render
{

class ImageBuffer;
class TextureStore;

enum class PictureKind
{
    Unknown,
    Bmp,
    Tga,
    Jpeg,
};

// The first of "BMP", "TGA" and "JPG", in that order, found anywhere in the upper-cased name.
PictureKind PictureKindOf(std::string_view name);

// Brings the decoded picture into its texture form: 8-bit bitmaps stay palettised (when
// allowed), 24-bit bitmaps and JPEGs become RGB 5-6-5, TGAs ARGB 4-4-4-4. False for a form
// that is not taken.
bool ConvertForTexture(ImageBuffer& buffer, PictureKind kind, bool allowPalette);

// A new texture, in no list, holding the converted picture of the buffer.
Texture* TextureFromPicture(TextureStore& store, const ImageBuffer& buffer);

// Null when the slot is outside the table or taken, or the picture cannot be read.
Texture* LoadTableTexture(TextureStore& store, ImageBuffer& buffer, std::string_view name,
                          int32_t index, int32_t userValue);
// Null, with the texture unchanged, when the slot is empty or the new picture differs from
// the old one in size or format.
Texture* ReLoadTableTexture(TextureStore& store, ImageBuffer& buffer, std::string_view name,
                            int32_t index, int32_t userValue);
// 16-bit pictures only.
Texture* LoadMemoryTexture(TextureStore& store, ImageBuffer& buffer, std::string_view name,
                           int32_t userValue);
Texture* ReLoadMemoryTexture(TextureStore& store, ImageBuffer& buffer, Texture* texture,
                             std::string_view name, int32_t userValue);

}  // namespace render
