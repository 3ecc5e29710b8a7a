#include "app/config/ConfigFile.h"

#include <string_view>

#include "core/files/FileSystem.h"
#include "core/util/Message.h"
#include "platform/Platform.h"

ConfigBlock g_config;

namespace
{
constexpr std::string_view kConfigFileName = "config.dat";

constexpr std::string_view kMissingSetupMessages[] = {
    "Die 3D-Setupinformationen konnten nicht geladen werden.\nBitte starten sie zuerst das Setup",
    "The 3D-Setupinformations could not be loaded.\nPlease run Setup first.",
};

bool ReadRecord(ConfigBlock& config)
{
    files::File file(kConfigFileName, files::File::Mode::Read);
    if (!file.IsOpen() || file.Size() != ConfigBlock::kSize)
    {
        return false;
    }
    ConfigBlock record;
    if (file.Read(record.Bytes().data(), ConfigBlock::kSize) != ConfigBlock::kSize)
    {
        return false;
    }
    config = record;
    return true;
}
}  // namespace

bool LoadConfig(int language)
{
    g_config = ConfigBlock();
    if (ReadRecord(g_config))
    {
        return true;
    }
    ShowMessage(kMissingSetupMessages[language == 0 ? 0 : 1]);
    return false;
}

bool SaveConfig()
{
    return files::ReplaceAtomically(kConfigFileName, g_config.Bytes());
}
