// Reads the input as "menustate.dat" from the working directory and applies what it took. The
// working directory is the input file's folder during the read only, so that the fuzzer's own
// relative paths keep their meaning. ("setup.tmp" goes through the set-up file reader, which
// fuzz_setup_stream covers.)

#include <cstdint>
#include <filesystem>

#include "frontend/settings/MenuStateFile.h"
#include "fuzz/support/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile settings("menustate.dat");
    settings.Hold(data, size);
    const std::filesystem::path fuzzerDirectory = std::filesystem::current_path();
    std::filesystem::current_path(settings.Directory());
    LoadMenuState();
    std::filesystem::current_path(fuzzerDirectory);
    return 0;
}
