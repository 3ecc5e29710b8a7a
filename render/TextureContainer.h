#pragma once

// Texture containers: entries to the end of the member, each a 12-byte header {u32 type
// (1 BMP, 2 TGA), u32 size of the picture file, u32 table index} and the picture file. Each
// picture becomes the table texture of its index with user value -1, taking the slot from a
// texture that held it, and is downloaded.

#include <cstdint>
#include <string_view>

namespace render
{

class ImageBuffer;
class TextureStore;

// The number of textures loaded. Entries of another type or with an index outside the table
// are skipped; an entry whose size runs past the member ends the reading.
int32_t LoadTextureContainer(TextureStore& store, ImageBuffer& buffer, std::string_view name);

}  // namespace render
