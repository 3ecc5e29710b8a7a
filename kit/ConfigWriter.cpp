#include "kit/ConfigWriter.h"

#include "core/files/FileSystem.h"

namespace kit
{
ConfigBlock DemoConfig()
{
    ConfigBlock config;
    config.SetRenderLibraryName("ZarvoGlide2.so");
    config.SetDisplayMode({.width = 640, .height = 480, .bitsPerPixel = 16, .refreshHz = 60});
    return config;
}

bool WriteConfig(const std::string& path, const ConfigBlock& config, std::string& error)
{
    if (!files::ReplaceAtomically(path, config.Bytes()))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
}  // namespace kit
