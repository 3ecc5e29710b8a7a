#include "kit/picture/TextureContainerWriter.h"

#include "core/util/LittleEndian.h"

namespace kit
{

void TextureContainerWriter::Add(ContainedPicture type, uint32_t tableIndex,
                                 std::span<const uint8_t> pictureFile)
{
    uint8_t header[12];
    StoreLe32(header, static_cast<uint32_t>(type));
    StoreLe32(header + 4, static_cast<uint32_t>(pictureFile.size()));
    StoreLe32(header + 8, tableIndex);
    bytes_.insert(bytes_.end(), header, header + sizeof header);
    bytes_.insert(bytes_.end(), pictureFile.begin(), pictureFile.end());
}

}  // namespace kit
