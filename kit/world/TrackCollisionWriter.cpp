#include "kit/world/TrackCollisionWriter.h"

#include <bit>

#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{
constexpr uint32_t kRecordBytes = 56;
constexpr uint32_t kTriangleChunk = 6;
}  // namespace

std::vector<uint8_t> WriteTrackCollisionFile(const std::vector<TrackTriangle>& triangles)
{
    std::vector<uint8_t> bytes = {'_', '4', 'C', 'O'};
    AppendLe32(bytes, kTriangleChunk);
    AppendLe32(bytes, static_cast<uint32_t>(triangles.size()) * kRecordBytes);
    for (const TrackTriangle& triangle : triangles)
    {
        AppendLe32(bytes, triangle.surface);
        for (const float word : triangle.plane)
        {
            AppendLe32(bytes, std::bit_cast<uint32_t>(word));
        }
        for (const int32_t neighbour : triangle.neighbours)
        {
            AppendLe32(bytes, neighbour < 0 ? 0xFFFFFFFF
                                            : static_cast<uint32_t>(neighbour) * kRecordBytes);
        }
        for (const float word : triangle.corners)
        {
            AppendLe32(bytes, std::bit_cast<uint32_t>(word));
        }
    }
    return bytes;
}
}  // namespace kit
