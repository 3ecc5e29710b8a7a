#include "kit/sound/WaveWriter.h"

#include <cstring>

#include "core/util/LittleEndian.h"

namespace kit
{
namespace
{
constexpr size_t kHeaderSize = 44;
constexpr uint32_t kFormatSize = 16;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kBitsPerSample = 16;
}  // namespace

std::vector<uint8_t> BuildWaveImage(std::span<const int16_t> samples, uint32_t sampleRate,
                                    uint16_t channels)
{
    const auto blockAlign = static_cast<uint16_t>(channels * kBitsPerSample / 8);
    const auto dataSize = static_cast<uint32_t>(samples.size() * sizeof(int16_t));
    std::vector<uint8_t> image(kHeaderSize + dataSize);
    uint8_t* header = image.data();
    std::memcpy(header, "RIFF", 4);
    StoreLe32(header + 4, static_cast<uint32_t>(kHeaderSize - 8) + dataSize);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    StoreLe32(header + 16, kFormatSize);
    StoreLe16(header + 20, kFormatPcm);
    StoreLe16(header + 22, channels);
    StoreLe32(header + 24, sampleRate);
    StoreLe32(header + 28, sampleRate * blockAlign);
    StoreLe16(header + 32, blockAlign);
    StoreLe16(header + 34, kBitsPerSample);
    std::memcpy(header + 36, "data", 4);
    StoreLe32(header + 40, dataSize);
    for (size_t i = 0; i < samples.size(); ++i)
    {
        StoreLe16(header + kHeaderSize + 2 * i, static_cast<uint16_t>(samples[i]));
    }
    return image;
}
}  // namespace kit
