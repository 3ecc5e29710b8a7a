#include "kit/DemoInstallation.h"

#include "platform/FileSystem.h"

namespace kit
{
bool WriteDemoInstallation(const std::string& directory, std::string& error)
{
    if (!files::MakeDirectories(directory))
    {
        error = "cannot create " + directory;
        return false;
    }
    return true;
}
}  // namespace kit
