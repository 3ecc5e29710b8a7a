#pragma once

// A PCM WAVE file on the disk read as a stream: the RIFF chunks are walked once at opening to
// find the format and the data, which is then read front to back and can be rewound. A file
// cut short plays what it holds. One thread at a time.

#include <cstdint>
#include <span>
#include <string_view>

#include "core/files/FileSystem.h"

struct WaveFormat
{
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
};

class WaveFile
{
public:
    // False, and closed, for a missing file, one that is no RIFF "WAVE" form, a format other
    // than PCM, or no data chunk after the format.
    bool Open(std::string_view gamePath);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    const WaveFormat& Format() const { return format_; }
    // The size the data chunk declares.
    uint32_t DataBytes() const { return dataBytes_; }
    // Bytes of data read into the front of the buffer: fewer at the end of the data, or of a
    // file that ends before it.
    size_t Read(std::span<uint8_t> buffer);
    // Back to the first byte of the data.
    bool Rewind();

private:
    files::File file_;
    WaveFormat format_;
    uint64_t dataStart_ = 0;
    uint32_t dataBytes_ = 0;
    uint32_t dataRead_ = 0;
};
