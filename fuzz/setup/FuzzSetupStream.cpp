// Takes the input into a set-up as a stream and as a set-up file, and checks that what it took
// stays within the ranges the set-up screens can make.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz/support/FuzzInputFile.h"
#include "race/BikeRecord.h"
#include "setup/SetupFiles.h"
#include "setup/SetupStream.h"

namespace
{
// A field the stream set lies within its range; one it left keeps the zero it had.
void CheckWithin(float value, float low, float high)
{
    if (value != 0.0f && !(value >= low && value <= high))
    {
        std::abort();
    }
}

void CheckRanges(const BikeSetup& setup)
{
    for (const float ignition : {setup.ignitionA, setup.ignitionB, setup.ignitionC})
    {
        CheckWithin(ignition, 0.95f, 1.05f);
    }
    CheckWithin(setup.coolingOpening, 0.0f, 1.0f);
    for (const float damping :
         {setup.frontCompression, setup.frontRebound, setup.rearCompression, setup.rearRebound})
    {
        CheckWithin(damping, 1.0f, 19.0f);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile file("setup.tmp");
    BikeSetup fromStream{};
    LoadSetupStream(std::span(data, size), fromStream);
    CheckRanges(fromStream);

    file.Hold(data, size);
    BikeSetup fromFile{};
    ReadSetupFile(file.Path(), fromFile);
    CheckRanges(fromFile);
    return 0;
}
