// Unpacks the input as one block into a block-sized destination and into one only as large as
// the input, where most headers no longer fit.

#include <cstdint>
#include <vector>

#include "core/archive/LzCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> block(data, size);
    std::vector<uint8_t> blockSized(kLzBlockSize);
    LzUnpackBlock(block, blockSized);
    std::vector<uint8_t> inputSized(size);
    LzUnpackBlock(block, inputSized);
    return 0;
}
