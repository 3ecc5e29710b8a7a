// Reads the input as a WAVE file streamed from the disk, as the music and the stream node do.

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "sound/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/zarvo-fuzz-wave-" + std::to_string(getpid()) + ".wav";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    WaveFile wave;
    if (wave.Open(path))
    {
        std::array<uint8_t, 4096> buffer{};
        for (int pass = 0; pass < 2; ++pass)
        {
            while (wave.Read(buffer) > 0)
            {
            }
            wave.Rewind();
        }
    }
    std::remove(path.c_str());
    return 0;
}
