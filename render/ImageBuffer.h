#pragma once

// The picture the readers decode into and the conversions to the board's 16-bit formats. The
// buffer lends its work memory to the loaders: each request returns memory different from the
// previous request's, so a conversion reads one request's memory and writes the next.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class CprArchive;

namespace render
{

enum class ImageFormat : int32_t
{
    None = 0,
    Palette8 = 1,  // one index byte a pixel
    Palette4 = 2,  // two pixels a byte, the first in the high nibble
    Rgba32 = 3,    // red, green, blue, alpha bytes
    Rgb565 = 4,    // 16-bit host words packed by the channel masks
    Argb4444 = 5,  // 16-bit host words packed by the channel masks, with alpha
    Rgb24 = 6,     // red, green, blue bytes
};

// Pictures larger than this on either side are refused, which also keeps every size
// computed from them far inside 32 bits.
inline constexpr int kMaxPictureSide = 4096;

// A palette: 256 entries of red, green, blue and a zero byte.
inline constexpr size_t kPaletteColours = 256;
inline constexpr size_t kPaletteBytes = kPaletteColours * 4;

class ImageBuffer
{
public:
    static constexpr size_t kFixedWorkSize = 0x41000;

    ImageBuffer();
    virtual ~ImageBuffer();
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    // Work memory of size bytes. Larger requests than the fixed size get memory of their own,
    // which lives until the request after next; others alternate between two fixed buffers.
    std::span<uint8_t> RequestWork(size_t size);
    // Work memory for any form of a picture of that size.
    std::span<uint8_t> RequestPictureWork(int width, int height);
    // Gives all work memory back when any was requested since the last call; the picture is
    // forgotten with it.
    void FreeWork();
    // A cleared palette; the one handed out before stays intact.
    uint8_t* NewPalette();

    // 16-bit channel masks in force for packing and unpacking 16-bit pixels.
    void SetChannelMasks(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
    // The picture packed by the masks without alpha (format Rgb565) or with it (Argb4444).
    void To565();
    void To4444();
    // The picture as 4-byte pixels.
    void ToTrueColour();
    // Colour reduction to 8-bit (mode 1) or 4-bit (mode 2) indices; false for another mode or
    // an empty picture.
    bool ToPalette(int mode);

    void SetPicture(ImageFormat format, int width, int height, int stride, uint8_t* pixels,
                    uint8_t* palette);
    ImageFormat Format() const { return format_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return stride_; }
    uint8_t* Pixels() const { return pixels_; }
    const uint8_t* Palette() const { return palette_; }

    void SetArchive(CprArchive* archive) { archive_ = archive; }
    CprArchive* Archive() const { return archive_; }

private:
    enum Channel
    {
        kRed,
        kGreen,
        kBlue,
        kAlpha,
        kChannels
    };

    void PackByMasks(ImageFormat result, bool withAlpha);
    uint16_t Pack(const uint8_t* rgb, uint8_t alpha, bool withAlpha) const;
    uint8_t Unpack(uint32_t pixel, Channel channel) const;

    ImageFormat format_ = ImageFormat::None;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    uint8_t* pixels_ = nullptr;
    uint8_t* palette_ = nullptr;

    std::array<uint32_t, kChannels> masks_{};
    std::array<uint32_t, kChannels> shifts_{};

    CprArchive* archive_ = nullptr;

    std::array<std::unique_ptr<uint8_t[]>, 2> fixedWork_;
    int lastFixedWork_ = 1;
    std::unique_ptr<uint8_t[]> lastDedicatedWork_;
    std::unique_ptr<uint8_t[]> earlierDedicatedWork_;
    bool workRequested_ = false;

    std::array<std::array<uint8_t, kPaletteBytes>, 2> palettes_{};
    int lastPalette_ = 1;
};

}  // namespace render
