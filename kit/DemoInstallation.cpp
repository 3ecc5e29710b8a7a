#include "kit/DemoInstallation.h"

#include <string_view>

#include "kit/ConfigWriter.h"
#include "kit/CprWriter.h"
#include "platform/FileSystem.h"

namespace kit
{
namespace
{
constexpr std::string_view kArchiveFolders[] = {"archives/deutsch", "archives/english"};

// Every archive the game mounts, the menu archive in both languages.
constexpr std::string_view kArchives[] = {
    "archives/data.cpr",     "archives/patch.cpr",        "archives/objects.cpr",
    "archives/textures.cpr", "archives/deutsch/menu.cpr", "archives/english/menu.cpr",
};

bool WriteArchives(const std::string& directory, std::string& error)
{
    for (const std::string_view folder : kArchiveFolders)
    {
        if (!files::MakeDirectories(directory + "/" + std::string(folder)))
        {
            error = "cannot create " + directory + "/" + std::string(folder);
            return false;
        }
    }
    for (const std::string_view archive : kArchives)
    {
        const std::string path = directory + "/" + std::string(archive);
        if (!files::ReplaceAtomically(path, CprWriter().Build()))
        {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}
}  // namespace

bool WriteDemoInstallation(const std::string& directory, std::string& error)
{
    if (!files::MakeDirectories(directory))
    {
        error = "cannot create " + directory;
        return false;
    }
    return WriteConfig(directory + "/config.dat", DemoConfig(), error) &&
           WriteArchives(directory, error);
}
}  // namespace kit
