#include "kit/world/TrackCollisionWriter.h"

#include <bit>

#include "app/util/LittleEndian.h"

namespace kit
{
namespace
{
constexpr uint32_t kRecordBytes = 56;
constexpr uint32_t kTriangleChunk = 6;

void AppendWord(std::vector<uint8_t>& bytes, uint32_t value)
{
    uint8_t word[4];
    StoreLe32(word, value);
    bytes.insert(bytes.end(), word, word + 4);
}
}  // namespace

std::vector<uint8_t> WriteTrackCollisionFile(const std::vector<TrackTriangle>& triangles)
{
    std::vector<uint8_t> bytes = {'_', '4', 'C', 'O'};
    AppendWord(bytes, kTriangleChunk);
    AppendWord(bytes, static_cast<uint32_t>(triangles.size()) * kRecordBytes);
    for (const TrackTriangle& triangle : triangles)
    {
        AppendWord(bytes, triangle.surface);
        for (const float word : triangle.plane)
        {
            AppendWord(bytes, std::bit_cast<uint32_t>(word));
        }
        for (const int32_t neighbour : triangle.neighbours)
        {
            AppendWord(bytes, neighbour < 0 ? 0xFFFFFFFF
                                            : static_cast<uint32_t>(neighbour) * kRecordBytes);
        }
        for (const float word : triangle.corners)
        {
            AppendWord(bytes, std::bit_cast<uint32_t>(word));
        }
    }
    return bytes;
}
}  // namespace kit
