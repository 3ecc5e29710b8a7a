// Lap files as the telemetry screen, the pit box and a ghost session read them: whole, head only
// and from disk. What a reader takes must store back as the bytes it took.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "fuzz/support/FuzzInputFile.h"
#include "race/laps/LapFile.h"
#include "race/laps/LapRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile file("ghost.fhr");
    static const auto record = std::make_unique<LapRecord>();
    const std::span<const uint8_t> bytes(data, size);

    if (LoadLapFile(bytes, *record))
    {
        if (record->sampleCount < 0 || record->sampleCount > LapRecord::kMaxSamples ||
            record->ghostStart < 0 || record->ghostStart > record->sampleCount)
        {
            std::abort();
        }
        const std::vector<uint8_t> stored = StoreLapFile(*record);
        if (stored.size() > size || !std::equal(stored.begin(), stored.end(), data))
        {
            std::abort();
        }
    }
    if (LoadLapFileHead(bytes, *record) && record->sampleCount > LapRecord::kMaxSamples)
    {
        std::abort();
    }

    file.Hold(data, size);
    ReadLapFile(file.Path(), *record);
    return 0;
}
