#include "kit/settings/SetupWriter.h"

#include <optional>

#include "core/files/FileSystem.h"
#include "setup/SetupFiles.h"
#include "setup/SetupStream.h"

namespace kit
{
bool WriteSetupStream(const std::string& path, const BikeSetup& setup, std::string& error)
{
    const size_t slash = path.rfind('/');
    const bool folderReady =
        slash == std::string::npos || files::MakeDirectories(path.substr(0, slash));
    if (!folderReady || !files::ReplaceAtomically(path, StoreSetupStream(setup)))
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WritePlayerSetupFile(const std::string& directory, BikeClass bikeClass, std::string_view name,
                          const BikeSetup& setup, std::string& error)
{
    const std::optional<std::string> path = SetupFilePath(bikeClass, name);
    if (!path)
    {
        error = "not a set-up name: " + std::string(name);
        return false;
    }
    return WriteSetupStream(directory + "/" + *path, setup, error);
}
}  // namespace kit
