// Mounts the input as an archive, from its file and read wholly, and reads every member whole,
// in pieces across block boundaries and after seeks.

#include <cstdint>
#include <string>
#include <vector>

#include "core/archive/CprArchive.h"
#include "core/archive/DAFile.h"
#include "fuzz/support/FuzzInputFile.h"

namespace
{
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
    static const FuzzInputFile file("fuzz.cpr");
    file.Hold(data, size);
    for (const bool readWholly : {false, true})
    {
        CprArchive archive;
        if (!archive.Open(file.Path(), readWholly))
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
