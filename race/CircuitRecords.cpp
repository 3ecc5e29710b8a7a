#include "race/CircuitRecords.h"

#include "core/util/LittleEndian.h"
#include "race/BikeRecord.h"

namespace
{
constexpr size_t kTimesOffset = kBikeClassCount * kCircuitCount;

bool IsHolder(uint8_t rider)
{
    return rider < kRiderCount || rider == CircuitRecords::kNoHolder;
}
}  // namespace

CircuitRecords::CircuitRecords()
{
    for (auto& row : holder)
    {
        row.fill(kNoHolder);
    }
    for (auto& row : lapMs)
    {
        row.fill(kNoTime);
    }
}

CircuitRecords CircuitRecords::Decode(std::span<const uint8_t> bytes)
{
    CircuitRecords records;
    if (bytes.size() < kFileSize)
    {
        return records;
    }
    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        for (size_t circuit = 0; circuit < kCircuitCount; ++circuit)
        {
            const size_t entry = bikeClass * kCircuitCount + circuit;
            const uint8_t rider = bytes[entry];
            const auto time = static_cast<int32_t>(LoadLe32(&bytes[kTimesOffset + 4 * entry]));
            if (time >= kShortestLapMs && IsHolder(rider))
            {
                records.holder[bikeClass][circuit] = rider;
                records.lapMs[bikeClass][circuit] = time;
            }
        }
    }
    return records;
}

std::array<uint8_t, CircuitRecords::kFileSize> CircuitRecords::Encode() const
{
    std::array<uint8_t, kFileSize> bytes{};
    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        for (size_t circuit = 0; circuit < kCircuitCount; ++circuit)
        {
            const size_t entry = bikeClass * kCircuitCount + circuit;
            bytes[entry] = holder[bikeClass][circuit];
            StoreLe32(&bytes[kTimesOffset + 4 * entry],
                      static_cast<uint32_t>(lapMs[bikeClass][circuit]));
        }
    }
    return bytes;
}

bool CircuitRecords::Offer(BikeClass bikeClass, CircuitId circuit, uint32_t rider,
                           int32_t lapTimeMs)
{
    const size_t row = ToIndex(bikeClass);
    const size_t column = ToIndex(circuit);
    if (row >= kBikeClassCount || column >= kCircuitCount || rider >= kRiderCount ||
        lapTimeMs <= kShortestLapMs || lapTimeMs >= lapMs[row][column])
    {
        return false;
    }
    holder[row][column] = static_cast<uint8_t>(rider);
    lapMs[row][column] = lapTimeMs;
    return true;
}
