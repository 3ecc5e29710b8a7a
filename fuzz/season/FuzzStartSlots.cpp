// Reads the input as the start slots' full stream and checks that what it took stores back to
// the bytes it read.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "frontend/season/StartSlotStreams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StartSlots slots{};
    const std::span<const uint8_t> bytes(data, size);
    if (!LoadStartSlots(bytes, slots))
    {
        return 0;
    }
    const std::vector<uint8_t> stored = StoreStartSlots(slots);
    if (slots.count > StartSlots::kMaxSlots || stored.size() > size ||
        !std::equal(stored.begin(), stored.end(), bytes.begin()))
    {
        std::abort();
    }
    StoreStartSlotsCompact(slots);
    return 0;
}
