#include "fuzz/support/FuzzInputFile.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "core/files/FileSystem.h"

FuzzInputFile::FuzzInputFile(std::string_view name)
    : directory_((std::filesystem::temp_directory_path() / "zarvo_fuzz.XXXXXX").string())
{
    if (mkdtemp(directory_.data()) == nullptr)
    {
        std::abort();
    }
    path_ = (std::filesystem::path(directory_) / name).string();
}

FuzzInputFile::~FuzzInputFile()
{
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void FuzzInputFile::Hold(const uint8_t* data, size_t size) const
{
    files::File file(path_, files::File::Mode::Write);
    if (!file || file.Write(data, size) != size)
    {
        std::abort();
    }
}
