#include "kit/motion/PoseTableWriter.h"

#include <bit>

#include "core/util/LittleEndian.h"

namespace kit
{
std::vector<uint8_t> WritePoseTable(const PoseTable& table)
{
    constexpr int kUnusedWords = 3;
    std::vector<uint8_t> bytes;
    for (const PoseRow& row : table)
    {
        for (const float value : row.hip)
        {
            AppendLe32(bytes, std::bit_cast<uint32_t>(value));
        }
        for (const std::array<int32_t, 3>& joint : row.joints)
        {
            for (const int32_t angle : joint)
            {
                AppendLe32(bytes, static_cast<uint32_t>(angle));
            }
        }
        for (int word = 0; word < kUnusedWords; ++word)
        {
            AppendLe32(bytes, 0);
        }
    }
    return bytes;
}
}  // namespace kit
