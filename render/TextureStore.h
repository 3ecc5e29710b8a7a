#pragma once

// Every texture the library owns: the table the game addresses by number, the list of table
// textures (which may still hold textures whose slot a newer one took), the memory textures
// for 2D pictures, the shared palettes of 8-bit pictures, and texture memory.

#include <array>
#include <cstdint>
#include <list>
#include <memory>

#include "render/RenderApi.h"
#include "render/TextureList.h"
#include "render/TextureMemory.h"

namespace render
{

using PaletteColours = std::array<uint32_t, 256>;  // 0x00RRGGBB

// Table textures and palettes taken out of the store, to be put back later; freed with the
// record when they never are.
struct SavedTextures
{
    SavedTextures() = default;
    ~SavedTextures();
    SavedTextures(SavedTextures&&) = default;
    SavedTextures& operator=(SavedTextures&&) = default;

    TextureList tableTextures;
    std::list<PaletteColours> palettes;
};

bool IsTableIndex(int32_t index);

class TextureStore
{
public:
    TextureStore();
    ~TextureStore();
    TextureStore(const TextureStore&) = delete;
    TextureStore& operator=(const TextureStore&) = delete;

    // A new picture of 2 x width bytes a row, cleared, in no list; null for a side outside
    // 1 to 4096.
    static Texture* NewBitmap(int32_t width, int32_t height, int32_t format);
    // A new picture with the given rows' bytes, in no list.
    static Texture* NewPicture(int32_t width, int32_t height, int32_t stride, int32_t format,
                               const uint8_t* pixels);
    // Frees a texture that is in no list.
    static void Destroy(Texture* texture);

    Texture* Get(int32_t index) const;
    // Puts the texture into its slot and the table-texture list; a texture that held the
    // slot stays listed without a slot.
    void Enter(Texture* texture, int32_t index);
    void AddMemoryTexture(Texture* texture);
    bool IsTableTexture(const Texture* texture) const;
    // Frees a memory texture or one in no list; false for a table texture.
    bool FreeMemoryTexture(Texture* texture);
    int32_t MemoryTextureCount() const { return memoryTextures_.Count(); }

    // The palette node with these colours, made when there is none.
    uint32_t* SharePalette(const PaletteColours& colours);

    TextureMemory& Memory() { return memory_; }
    bool Download(Texture& texture) { return memory_.Download(texture); }
    // Every table texture again, each to the address it has; new ones after the highest.
    void DownloadAll();

    // Empties the table and frees every table texture and palette.
    void FreeTableTextures();
    SavedTextures TakeTableTextures();
    // Puts saved textures back into the emptied store and their table slots.
    void Restore(SavedTextures saved);

private:
    void ClearTable() { table_.fill(nullptr); }

    std::array<Texture*, kTextureTableSize> table_{};
    TextureList tableTextures_;
    TextureList memoryTextures_;
    std::list<PaletteColours> palettes_;
    TextureMemory memory_;
};

}  // namespace render
