#include "frontend/MenuFiles.h"

#include <string>

#include "core/files/FileSystem.h"

namespace
{
constexpr int kLastLapFile = 99;
}

bool MakeDirectoryPath(std::string_view path)
{
    return files::MakeDirectories(path) && files::IsDirectory(path);
}

void DeleteLapFiles()
{
    for (int lap = 1; lap <= kLastLapFile; ++lap)
    {
        files::Remove("Tempdaten/Daten_Runde" + std::to_string(lap) + ".fhr");
    }
}
