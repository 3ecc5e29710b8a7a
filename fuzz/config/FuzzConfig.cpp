// Reads the input as "config.dat" from the working directory and takes from it what the game
// takes at start-up: the texts, the sound and display options and the race screen's mode. The
// working directory is the input file's folder during the read only, so that the fuzzer's own
// relative paths keep their meaning.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/config/ConfigFile.h"
#include "app/config/RaceScreenMode.h"
#include "core/util/Message.h"
#include "fuzz/support/FuzzInputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzInputFile config("config.dat");
    static const MessageSink silenced = SetMessageSink([](std::string_view) {});
    (void)silenced;
    config.Hold(data, size);
    const std::filesystem::path fuzzerDirectory = std::filesystem::current_path();
    std::filesystem::current_path(config.Directory());
    LoadConfig(static_cast<int>(size % 2));
    std::filesystem::current_path(fuzzerDirectory);
    const std::string libraryName(g_config.RenderLibraryName());
    const std::string displayText(g_config.DisplayText());
    TakeRaceScreenMode(g_config);
    if (libraryName.size() + displayText.size() > 2 * ConfigBlock::kTextSize ||
        g_raceScreenMode.height == 0)
    {
        std::abort();
    }
    return 0;
}
