#pragma once

// The 3D set-up record: the byte image of "config.dat", exactly 2088 bytes, little-endian.
//
//   offset  type       default  meaning
//   0       char[1024] ""       file name of the render library
//   1024    char[1024] ""       second text of the display choice
//   2048    5 x i32    0        display mode: width, height, bits per pixel, refresh Hz, one more
//   2068    i32        1        sound sample-rate index
//   2072    i32        2        sound buffer-length index
//   2076    i32        0        engine-voice index
//   2080    i32        16       not read
//   2084    u8         1        display option
//   2085    u8         0        sample option
//   2086    u8         0        sound off
//   2087    u8         0        not read
//
// The record is kept as bytes and only the fields asked for are touched, so that a block read
// and written back unchanged is the same file byte for byte.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

struct DisplayModeRecord
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    int32_t refreshHz = 0;
    int32_t reserved = 0;
};

class ConfigBlock
{
public:
    static constexpr size_t kSize = 2088;
    static constexpr size_t kTextSize = 1024;
    static constexpr size_t kRenderLibraryNameOffset = 0;
    static constexpr size_t kDisplayTextOffset = 1024;
    static constexpr size_t kDisplayModeOffset = 2048;
    static constexpr size_t kSoundRateIndexOffset = 2068;
    static constexpr size_t kSoundBufferIndexOffset = 2072;
    static constexpr size_t kEngineVoiceIndexOffset = 2076;
    static constexpr size_t kUnreadWordOffset = 2080;
    static constexpr size_t kDisplayOptionOffset = 2084;
    static constexpr size_t kSampleOptionOffset = 2085;
    static constexpr size_t kSoundOffOffset = 2086;

    ConfigBlock();  // the defaults

    std::span<const uint8_t, kSize> Bytes() const { return bytes_; }
    std::span<uint8_t, kSize> Bytes() { return bytes_; }

    int32_t I32At(size_t offset) const;
    void SetI32At(size_t offset, int32_t value);
    uint8_t U8At(size_t offset) const { return bytes_[offset]; }
    void SetU8At(size_t offset, uint8_t value) { bytes_[offset] = value; }

    // The texts end at their first zero byte or at the end of their field, whichever comes
    // first; a text set is cut to 1023 bytes and zero-filled.
    std::string_view RenderLibraryName() const { return TextAt(kRenderLibraryNameOffset); }
    void SetRenderLibraryName(std::string_view name) { SetTextAt(kRenderLibraryNameOffset, name); }
    std::string_view DisplayText() const { return TextAt(kDisplayTextOffset); }
    void SetDisplayText(std::string_view text) { SetTextAt(kDisplayTextOffset, text); }

    DisplayModeRecord DisplayMode() const;
    void SetDisplayMode(const DisplayModeRecord& mode);

    bool operator==(const ConfigBlock& other) const = default;

private:
    std::string_view TextAt(size_t offset) const;
    void SetTextAt(size_t offset, std::string_view text);

    std::array<uint8_t, kSize> bytes_{};
};
