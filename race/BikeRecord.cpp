#include "race/BikeRecord.h"

#include <bit>
#include <cstring>

std::array<BikeRecord, kRiderCount> g_bikes{};
std::atomic<uint32_t> g_playerRider{0};

namespace
{
static_assert(std::endian::native == std::endian::little);

const std::byte* BytesAt(const BikeRecord& record, size_t offset)
{
    return reinterpret_cast<const std::byte*>(&record) + offset;
}
}  // namespace

uint32_t BikeRecord::StateChecksum() const
{
    uint32_t sum = 0;
    const std::byte* word = BytesAt(*this, kChecksumOffset + 4);
    for (size_t i = 0; i < kChecksummedWords; ++i, word += 4)
    {
        uint32_t value = 0;
        std::memcpy(&value, word, sizeof value);
        sum += value;
    }
    return sum;
}

std::span<const std::byte, BikeRecord::kStateBlockBytes> BikeRecord::StateBlock() const
{
    return std::span<const std::byte, kStateBlockBytes>(BytesAt(*this, kChecksumOffset),
                                                        kStateBlockBytes);
}

std::span<const std::byte, BikeRecord::kSnapshotBytes> BikeRecord::SnapshotBlock() const
{
    return std::span<const std::byte, kSnapshotBytes>(BytesAt(*this, kChecksumOffset),
                                                      kSnapshotBytes);
}

std::span<std::byte, BikeRecord::kSnapshotBytes> BikeRecord::SnapshotBlock()
{
    return std::span<std::byte, kSnapshotBytes>(
        reinterpret_cast<std::byte*>(this) + kChecksumOffset, kSnapshotBytes);
}
