#include "setup/SetupFiles.h"

#include "core/files/FileSystem.h"
#include "setup/SetupStream.h"

std::string SetupClassDirectory(BikeClass bikeClass)
{
    return "save/setup/Klasse" + std::to_string(ToIndex(bikeClass));
}

std::optional<std::string> SetupFilePath(BikeClass bikeClass, std::string_view name)
{
    const bool leavesFolder =
        name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos;
    if (name.empty() || name.size() > kMaxSetupNameLength || leavesFolder)
    {
        return std::nullopt;
    }
    return SetupClassDirectory(bikeClass) + "/" + std::string(name);
}

bool WriteSetupFile(std::string_view path, const BikeSetup& setup)
{
    return files::ReplaceAtomically(path, StoreSetupStream(setup));
}

bool ReadSetupFile(std::string_view path, BikeSetup& setup)
{
    files::File file(path, files::File::Mode::Read);
    if (!file)
    {
        return false;
    }
    SetupStream stream;
    const size_t length = file.Read(stream.data(), stream.size());
    return LoadSetupStream(std::span(stream).first(length), setup);
}
