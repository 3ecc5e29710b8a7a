// Mounts the input as an archive, from its file and read wholly, and reads every member whole,
// in pieces across block boundaries and after seeks.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive/CprArchive.h"
#include "app/archive/DAFile.h"
#include "platform/FileSystem.h"

namespace
{
// One file per fuzzing process, removed when it ends.
class TemporaryFile
{
public:
    TemporaryFile()
        : path_((std::filesystem::temp_directory_path() / "fuzz_archive.XXXXXX").string())
    {
        const int descriptor = mkstemp(path_.data());
        if (descriptor < 0)
        {
            std::abort();
        }
        close(descriptor);
    }
    ~TemporaryFile() { std::filesystem::remove(path_); }

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const std::string& ArchivePath()
{
    static const TemporaryFile file;
    return file.Path();
}

void ReadMember(CprArchive& archive, const std::string& name)
{
    DAFile file(&archive);
    if (!file.Open(name))
    {
        return;
    }
    const int32_t length = file.GetLength();
    std::vector<uint8_t> whole(static_cast<size_t>(length) + 1);
    file.Read(whole.data(), static_cast<uint32_t>(whole.size()));

    file.Seek(0, DAFile::kFromBegin);
    uint8_t piece[0x7001];
    while (file.Read(piece, sizeof piece) > 0)
    {
    }
    file.Seek(length / 2, DAFile::kFromBegin);
    file.Read(piece, sizeof piece);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        files::File file(ArchivePath(), files::File::Mode::Write);
        file.Write(data, size);
    }
    for (const bool readWholly : {false, true})
    {
        CprArchive archive;
        if (!archive.Open(ArchivePath(), readWholly))
        {
            continue;
        }
        for (const CprEntry& entry : archive.GetEntryList())
        {
            ReadMember(archive, entry.name);
        }
    }
    return 0;
}
