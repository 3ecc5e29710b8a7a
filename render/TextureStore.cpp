#include "render/TextureStore.h"

#include <algorithm>
#include <cstring>

#include "render/ImageBuffer.h"

namespace render
{
namespace
{

// The record and its pixel memory, freed together.
struct OwnedTexture : Texture
{
    std::unique_ptr<uint8_t[]> pixelMemory;
};

Texture* NewTexture(int32_t width, int32_t height, int32_t stride, int32_t format)
{
    auto texture = std::make_unique<OwnedTexture>();
    texture->pixelMemory =
        std::make_unique<uint8_t[]>(static_cast<size_t>(stride) * static_cast<size_t>(height));
    texture->width = width;
    texture->height = height;
    texture->stride = stride;
    texture->pixels = texture->pixelMemory.get();
    texture->format = format;
    return texture.release();
}

void DestroyAll(TextureList& list)
{
    while (!list.Empty())
    {
        Texture* texture = list.Head();
        list.Remove(texture);
        TextureStore::Destroy(texture);
    }
}

}  // namespace

SavedTextures::~SavedTextures()
{
    DestroyAll(tableTextures);
}

bool IsTableIndex(int32_t index)
{
    return index >= 0 && index < kTextureTableSize;
}

TextureStore::TextureStore() = default;

TextureStore::~TextureStore()
{
    DestroyAll(tableTextures_);
    DestroyAll(memoryTextures_);
}

Texture* TextureStore::NewBitmap(int32_t width, int32_t height, int32_t format)
{
    if (width < 1 || width > kMaxPictureSide || height < 1 || height > kMaxPictureSide)
    {
        return nullptr;
    }
    return NewTexture(width, height, 2 * width, format);
}

Texture* TextureStore::NewPicture(int32_t width, int32_t height, int32_t stride, int32_t format,
                                  const uint8_t* pixels)
{
    Texture* texture = NewTexture(width, height, stride, format);
    std::memcpy(texture->pixels, pixels, static_cast<size_t>(stride) * static_cast<size_t>(height));
    return texture;
}

void TextureStore::Destroy(Texture* texture)
{
    delete static_cast<OwnedTexture*>(texture);
}

Texture* TextureStore::Get(int32_t index) const
{
    return IsTableIndex(index) ? table_[index] : nullptr;
}

void TextureStore::Enter(Texture* texture, int32_t index)
{
    if (Texture* previous = table_[index]; previous != nullptr && previous != texture)
    {
        previous->tableIndex = -1;
    }
    table_[index] = texture;
    texture->tableIndex = index;
    tableTextures_.Append(texture);
}

void TextureStore::AddMemoryTexture(Texture* texture)
{
    texture->tableIndex = -1;
    memoryTextures_.Append(texture);
}

bool TextureStore::IsTableTexture(const Texture* texture) const
{
    return tableTextures_.Contains(texture);
}

bool TextureStore::FreeMemoryTexture(Texture* texture)
{
    if (texture == nullptr || IsTableTexture(texture))
    {
        return false;
    }
    if (memoryTextures_.Contains(texture))
    {
        memoryTextures_.Remove(texture);
    }
    Destroy(texture);
    return true;
}

uint32_t* TextureStore::SharePalette(const PaletteColours& colours)
{
    const auto same = std::ranges::find(palettes_, colours);
    return (same != palettes_.end() ? *same : palettes_.emplace_back(colours)).data();
}

void TextureStore::DownloadAll()
{
    for (const Texture* texture = tableTextures_.Head(); texture != nullptr;
         texture = texture->next)
    {
        if (texture->tableIndex != -1 && texture->downloaded != 0)
        {
            memory_.SkipTo(texture->textureAddress + TextureBytes(*texture));
        }
    }
    for (Texture* texture = tableTextures_.Head(); texture != nullptr; texture = texture->next)
    {
        if (texture->tableIndex != -1)
        {
            memory_.Download(*texture);
        }
    }
}

void TextureStore::FreeTableTextures()
{
    ClearTable();
    DestroyAll(tableTextures_);
    palettes_.clear();
}

SavedTextures TextureStore::TakeTableTextures()
{
    SavedTextures saved;
    saved.tableTextures = std::move(tableTextures_);
    saved.palettes.splice(saved.palettes.end(), palettes_);
    ClearTable();
    return saved;
}

void TextureStore::Restore(SavedTextures saved)
{
    FreeTableTextures();
    tableTextures_ = std::move(saved.tableTextures);
    palettes_.splice(palettes_.end(), saved.palettes);
    for (Texture* texture = tableTextures_.Head(); texture != nullptr; texture = texture->next)
    {
        if (IsTableIndex(texture->tableIndex))
        {
            table_[texture->tableIndex] = texture;
        }
    }
}

}  // namespace render
