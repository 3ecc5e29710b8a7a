#include "kit/world/BillboardListWriter.h"

#include <bit>
#include <cstddef>

#include "core/util/LittleEndian.h"

namespace kit
{
std::vector<uint8_t> WriteBillboardList(const std::vector<Billboard>& billboards)
{
    constexpr size_t kRecordBytes = 40;
    std::vector<uint8_t> bytes(4 + kRecordBytes * billboards.size(), 0);
    StoreLe32(bytes.data(), static_cast<uint32_t>(billboards.size()));
    uint8_t* record = bytes.data() + 4;
    for (const Billboard& billboard : billboards)
    {
        const float words[5] = {billboard.x, billboard.y, billboard.z, billboard.halfWidth,
                                billboard.height};
        for (int i = 0; i < 5; ++i)
        {
            StoreLe32(record + 4 * i, std::bit_cast<uint32_t>(words[i]));
        }
        StoreLe32(record + 36, billboard.textureNumber);
        record += kRecordBytes;
    }
    return bytes;
}
}  // namespace kit
