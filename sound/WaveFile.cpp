#include "sound/WaveFile.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/util/LittleEndian.h"

namespace
{
constexpr uint16_t kFormatPcm = 1;
constexpr size_t kFormatBytes = 16;

struct ChunkHeader
{
    std::array<char, 4> id{};
    uint32_t size = 0;
};

bool ReadChunkHeader(files::File& file, ChunkHeader& header)
{
    std::array<uint8_t, 8> bytes{};
    if (file.Read(bytes.data(), bytes.size()) != bytes.size())
    {
        return false;
    }
    std::memcpy(header.id.data(), bytes.data(), 4);
    header.size = LoadLe32(bytes.data() + 4);
    return true;
}

bool IsId(const ChunkHeader& header, const char* id)
{
    return std::memcmp(header.id.data(), id, 4) == 0;
}

// Walks to the chunk with the id, leaving the file at its payload.
bool FindChunk(files::File& file, const char* id, ChunkHeader& header)
{
    while (ReadChunkHeader(file, header))
    {
        if (IsId(header, id))
        {
            return true;
        }
        if (!file.Seek(file.Tell() + header.size + (header.size & 1)))
        {
            return false;
        }
    }
    return false;
}
}  // namespace

bool WaveFile::Open(std::string_view gamePath)
{
    Close();
    file_ = files::File(gamePath, files::File::Mode::Read);
    ChunkHeader riff;
    std::array<uint8_t, 4> form{};
    ChunkHeader format;
    std::array<uint8_t, kFormatBytes> formatBytes{};
    ChunkHeader data;
    const bool valid = file_ && ReadChunkHeader(file_, riff) && IsId(riff, "RIFF") &&
                       file_.Read(form.data(), form.size()) == form.size() &&
                       std::memcmp(form.data(), "WAVE", 4) == 0 &&
                       FindChunk(file_, "fmt ", format) && format.size >= kFormatBytes &&
                       file_.Read(formatBytes.data(), formatBytes.size()) == formatBytes.size() &&
                       LoadLe16(formatBytes.data()) == kFormatPcm &&
                       file_.Seek(file_.Tell() - kFormatBytes + format.size + (format.size & 1)) &&
                       FindChunk(file_, "data", data);
    if (!valid)
    {
        Close();
        return false;
    }
    format_ = {LoadLe16(formatBytes.data() + 2), LoadLe32(formatBytes.data() + 4),
               LoadLe16(formatBytes.data() + 14)};
    dataStart_ = file_.Tell();
    dataBytes_ = data.size;
    dataRead_ = 0;
    return true;
}

void WaveFile::Close()
{
    file_ = files::File();
    format_ = {};
    dataBytes_ = 0;
    dataRead_ = 0;
}

size_t WaveFile::Read(std::span<uint8_t> buffer)
{
    if (!IsOpen())
    {
        return 0;
    }
    const size_t wanted = std::min<size_t>(buffer.size(), dataBytes_ - dataRead_);
    const size_t read = file_.Read(buffer.data(), wanted);
    dataRead_ += static_cast<uint32_t>(read);
    return read;
}

bool WaveFile::Rewind()
{
    dataRead_ = 0;
    return IsOpen() && file_.Seek(dataStart_);
}
