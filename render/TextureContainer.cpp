#include "render/TextureContainer.h"

#include <string>

#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"
#include "render/BmpReader.h"
#include "render/ImageBuffer.h"
#include "render/RenderMessages.h"
#include "render/TextureLoading.h"
#include "render/TextureStore.h"
#include "render/TgaReader.h"

namespace render
{
namespace
{

bool ReadEntryHeader(DAFile& file, TextureImageEntry& entry)
{
    uint8_t bytes[TextureImageEntry::kSize];
    if (file.Read(bytes, sizeof bytes) != sizeof bytes)
    {
        return false;
    }
    entry.type = LoadLe32(bytes);
    entry.size = LoadLe32(bytes + 4);
    entry.tableIndex = LoadLe32(bytes + 8);
    return true;
}

PictureKind KindOf(const TextureImageEntry& entry)
{
    switch (entry.type)
    {
        case TextureImageEntry::kBmp:
            return PictureKind::Bmp;
        case TextureImageEntry::kTga:
            return PictureKind::Tga;
        default:
            return PictureKind::Unknown;
    }
}

bool ReadPicture(ImageBuffer& buffer, PictureKind kind, const TextureImageEntry& entry,
                 DAFile& file)
{
    const bool read = kind == PictureKind::Bmp ? BmpReader(&buffer).ReadOpen(entry, file)
                                               : TgaReader(&buffer).ReadOpen(entry, file);
    return read && ConvertForTexture(buffer, kind, true);
}

}  // namespace

int32_t LoadTextureContainer(TextureStore& store, ImageBuffer& buffer, std::string_view name)
{
    DAFile file(buffer.Archive());
    if (!file.Open(name))
    {
        ShowRenderMessage("Cannot Open TextureImage " + std::string(name) + "\n");
        return 0;
    }
    const int64_t length = file.GetLength();
    int64_t position = 0;
    int32_t loaded = 0;
    TextureImageEntry entry;
    while (length - position >= TextureImageEntry::kSize && ReadEntryHeader(file, entry))
    {
        position += TextureImageEntry::kSize;
        if (entry.size > length - position)
        {
            break;
        }
        position += entry.size;
        const auto index = static_cast<int32_t>(entry.tableIndex);
        const PictureKind kind = KindOf(entry);
        if (kind == PictureKind::Unknown || !IsTableIndex(index))
        {
            file.Seek(static_cast<int32_t>(entry.size), DAFile::kFromCurrent);
        }
        else if (ReadPicture(buffer, kind, entry, file))
        {
            Texture* texture = TextureFromPicture(store, buffer);
            texture->userValue = -1;
            store.Enter(texture, index);
            store.Download(*texture);
            ++loaded;
        }
        if (file.GetPosition() != position)
        {
            break;  // the member could not be read as far as its entries say
        }
    }
    return loaded;
}

}  // namespace render
