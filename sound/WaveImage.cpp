#include "sound/WaveImage.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/archive/DAFile.h"
#include "core/util/LittleEndian.h"

namespace
{
constexpr uint16_t kFormatPcm = 1;
constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kRiffHeaderSize = 12;

struct Chunk
{
    std::span<const uint8_t> payload;
    size_t end = 0;  // offset after the payload and its pad byte
};

bool IsPcmFormat(std::span<const uint8_t> fmtPayload)
{
    return fmtPayload.size() >= 2 && (fmtPayload[0] | fmtPayload[1] << 8) == kFormatPcm;
}

bool ConvertPcm16(std::span<const uint8_t> data, std::vector<float>& samples)
{
    const size_t count = data.size() / 2;
    if (count > kMaxWaveSamples)
    {
        return false;
    }
    samples.resize(count);
    for (size_t i = 0; i < count; ++i)
    {
        const auto word = static_cast<uint16_t>(data[2 * i] | data[2 * i + 1] << 8);
        samples[i] = static_cast<float>(static_cast<int16_t>(word));
    }
    return true;
}

// The chunk whose header starts at offset, when header and payload lie inside bytes.
std::optional<Chunk> ChunkAt(std::span<const uint8_t> bytes, size_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < kChunkHeaderSize)
    {
        return std::nullopt;
    }
    const size_t size = LoadLe32(bytes.data() + offset + 4);
    const size_t payloadStart = offset + kChunkHeaderSize;
    if (size > bytes.size() - payloadStart)
    {
        return std::nullopt;
    }
    return Chunk{bytes.subspan(payloadStart, size), payloadStart + size + (size & 1)};
}

// The first chunk with the id at or after offset.
std::optional<Chunk> FindChunk(std::span<const uint8_t> bytes, size_t offset, const char* id)
{
    while (std::optional<Chunk> chunk = ChunkAt(bytes, offset))
    {
        if (std::memcmp(bytes.data() + offset, id, 4) == 0)
        {
            return chunk;
        }
        offset = chunk->end;
    }
    return std::nullopt;
}
}  // namespace

bool ParseWaveImage(std::span<const uint8_t> image, std::vector<float>& samples)
{
    samples.clear();
    const std::optional<Chunk> format = ChunkAt(image, kRiffHeaderSize);
    if (!format || !IsPcmFormat(format->payload))
    {
        return false;
    }
    // The data chunk follows the fmt payload without regard to a pad byte.
    const std::optional<Chunk> data =
        ChunkAt(image, kRiffHeaderSize + kChunkHeaderSize + format->payload.size());
    return data && ConvertPcm16(data->payload, samples);
}

bool ParseRiffWave(std::span<const uint8_t> file, std::vector<float>& samples)
{
    samples.clear();
    if (file.size() < kRiffHeaderSize || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
    {
        return false;
    }
    const std::span<const uint8_t> form =
        file.first(std::min<size_t>(file.size(), size_t{LoadLe32(file.data() + 4)} + 8));
    const std::optional<Chunk> format = FindChunk(form, kRiffHeaderSize, "fmt ");
    if (!format || !IsPcmFormat(format->payload))
    {
        return false;
    }
    const std::optional<Chunk> data = FindChunk(form, format->end, "data");
    return data && ConvertPcm16(data->payload, samples);
}

bool LoadWaveFile(std::string_view name, std::vector<float>& samples)
{
    samples.clear();
    DAFile file;
    if (!file.Open(name))
    {
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(file.GetLength(), 0)));
    const bool complete =
        file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())) == bytes.size();
    return complete && ParseRiffWave(bytes, samples);
}
