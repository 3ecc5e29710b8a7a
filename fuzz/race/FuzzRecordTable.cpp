// Reads the input as the record table "TempDaten/system.cpr", from bytes and through the race
// object: every entry is a record of a rider or empty, and the table writes back to what it
// read.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "fuzz/support/FuzzInputFile.h"
#include "race/BikeRecord.h"
#include "race/RaceAiSystem.h"

namespace
{
void Require(bool condition)
{
    if (!condition)
    {
        std::abort();
    }
}

void CheckEntries(const CircuitRecords& records)
{
    for (size_t bikeClass = 0; bikeClass < kBikeClassCount; ++bikeClass)
    {
        for (size_t circuit = 0; circuit < kCircuitCount; ++circuit)
        {
            const uint8_t holder = records.holder[bikeClass][circuit];
            const int32_t lapMs = records.lapMs[bikeClass][circuit];
            Require(holder < kRiderCount || holder == CircuitRecords::kNoHolder);
            Require(lapMs >= CircuitRecords::kShortestLapMs);
        }
    }
    const auto bytes = records.Encode();
    Require(CircuitRecords::Decode(bytes).Encode() == bytes);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile file("system.cpr");
    CheckEntries(CircuitRecords::Decode(std::span(data, size)));

    file.Hold(data, size);
    const auto race = std::make_unique<RaceAiSystem>(file.Path());
    CheckEntries(race->records);
    Require(!race->recordsDirty);
    return 0;
}
