#include "render/ImageBuffer.h"

#include <bit>
#include <cassert>
#include <cstring>

#include "render/ColourOctree.h"

namespace render
{
namespace
{

constexpr int RoundUpTo4(int value)
{
    return (value + 3) & ~3;
}

// Zero bits above the mask's highest set bit, counted in 16 bits; 0 for an empty mask.
uint32_t ShiftOf(uint32_t mask)
{
    const auto low = static_cast<uint16_t>(mask);
    return low == 0 || mask > 0xFFFF ? 0 : static_cast<uint32_t>(std::countl_zero(low));
}

}  // namespace

ImageBuffer::ImageBuffer() = default;

ImageBuffer::~ImageBuffer() = default;

std::span<uint8_t> ImageBuffer::RequestWork(size_t size)
{
    workRequested_ = true;
    earlierDedicatedWork_ = std::move(lastDedicatedWork_);
    if (size > kFixedWorkSize)
    {
        lastDedicatedWork_ = std::make_unique_for_overwrite<uint8_t[]>(size);
        return {lastDedicatedWork_.get(), size};
    }
    lastFixedWork_ = 1 - lastFixedWork_;
    std::unique_ptr<uint8_t[]>& fixed = fixedWork_[lastFixedWork_];
    if (!fixed)
    {
        fixed = std::make_unique_for_overwrite<uint8_t[]>(kFixedWorkSize);
    }
    return {fixed.get(), size};
}

std::span<uint8_t> ImageBuffer::RequestPictureWork(int width, int height)
{
    assert(width > 0 && width <= kMaxPictureSide && height > 0 && height <= kMaxPictureSide);
    return RequestWork(static_cast<size_t>(width) * static_cast<size_t>(height) * 4 + 4096);
}

void ImageBuffer::FreeWork()
{
    if (!workRequested_)
    {
        return;
    }
    workRequested_ = false;
    fixedWork_ = {};
    lastDedicatedWork_.reset();
    earlierDedicatedWork_.reset();
    SetPicture(ImageFormat::None, 0, 0, 0, nullptr, nullptr);
}

uint8_t* ImageBuffer::NewPalette()
{
    lastPalette_ = 1 - lastPalette_;
    palettes_[lastPalette_].fill(0);
    return palettes_[lastPalette_].data();
}

void ImageBuffer::SetChannelMasks(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha)
{
    masks_ = {red, green, blue, alpha};
    for (int channel = 0; channel < kChannels; ++channel)
    {
        shifts_[channel] = ShiftOf(masks_[channel]);
    }
}

void ImageBuffer::SetPicture(ImageFormat format, int width, int height, int stride, uint8_t* pixels,
                             uint8_t* palette)
{
    format_ = format;
    width_ = width;
    height_ = height;
    stride_ = stride;
    pixels_ = pixels;
    palette_ = palette;
}

void ImageBuffer::To565()
{
    PackByMasks(ImageFormat::Rgb565, false);
}

void ImageBuffer::To4444()
{
    PackByMasks(ImageFormat::Argb4444, true);
}

uint16_t ImageBuffer::Pack(const uint8_t* rgb, uint8_t alpha, bool withAlpha) const
{
    uint32_t pixel = 0;
    for (int channel = kRed; channel <= kBlue; ++channel)
    {
        pixel |= ((uint32_t{rgb[channel]} << 8) >> shifts_[channel]) & masks_[channel];
    }
    if (withAlpha)
    {
        pixel |= ((uint32_t{alpha} << 8) >> shifts_[kAlpha]) & masks_[kAlpha];
    }
    return static_cast<uint16_t>(pixel);
}

uint8_t ImageBuffer::Unpack(uint32_t pixel, Channel channel) const
{
    return static_cast<uint8_t>(((pixel & masks_[channel]) << shifts_[channel]) >> 8);
}

void ImageBuffer::PackByMasks(ImageFormat result, bool withAlpha)
{
    if (format_ == result || format_ == ImageFormat::None)
    {
        return;
    }
    if (format_ != ImageFormat::Rgb24 && format_ != ImageFormat::Rgba32)
    {
        ToTrueColour();
    }
    const int pixelBytes = format_ == ImageFormat::Rgb24 ? 3 : 4;
    const int stride = RoundUpTo4(2 * width_);
    uint8_t* const packed = RequestPictureWork(width_, height_).data();
    for (int y = 0; y < height_; ++y)
    {
        const uint8_t* source = pixels_ + static_cast<size_t>(y) * stride_;
        uint8_t* target = packed + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width_; ++x, source += pixelBytes)
        {
            const uint8_t alpha = pixelBytes == 4 ? source[3] : 0xFF;
            const uint16_t pixel = Pack(source, alpha, withAlpha);
            std::memcpy(target + 2 * x, &pixel, 2);
        }
        std::memset(target + 2 * width_, 0, static_cast<size_t>(stride - 2 * width_));
    }
    SetPicture(result, width_, height_, stride, packed, nullptr);
}

void ImageBuffer::ToTrueColour()
{
    if (format_ == ImageFormat::Rgba32 || format_ == ImageFormat::None)
    {
        return;
    }
    const int stride = 4 * width_;
    uint8_t* const expanded = RequestPictureWork(width_, height_).data();
    const auto throughPalette = [this](uint8_t* target, unsigned index)
    {
        std::memcpy(target, palette_ + 4 * index, 3);
        target[3] = 0xFF;
    };
    for (int y = 0; y < height_; ++y)
    {
        const uint8_t* source = pixels_ + static_cast<size_t>(y) * stride_;
        uint8_t* target = expanded + static_cast<size_t>(y) * stride;
        switch (format_)
        {
            case ImageFormat::Palette8:
                for (int x = 0; x < width_; ++x)
                {
                    throughPalette(target + 4 * x, source[x]);
                }
                break;
            case ImageFormat::Palette4:
                // A row holds width / 2 bytes; an odd last column has no byte of its own.
                for (int x = 0; x < width_ / 2; ++x)
                {
                    throughPalette(target + 8 * x, source[x] >> 4);
                    throughPalette(target + 8 * x + 4, source[x] & 0x0F);
                }
                break;
            case ImageFormat::Rgb565:
            case ImageFormat::Argb4444:
                for (int x = 0; x < width_; ++x)
                {
                    uint16_t pixel = 0;
                    std::memcpy(&pixel, source + 2 * x, 2);
                    uint8_t* out = target + 4 * x;
                    out[0] = Unpack(pixel, kRed);
                    out[1] = Unpack(pixel, kGreen);
                    out[2] = Unpack(pixel, kBlue);
                    out[3] = format_ == ImageFormat::Argb4444 ? Unpack(pixel, kAlpha) : 0xFF;
                }
                break;
            case ImageFormat::Rgb24:
                for (int x = 0; x < width_; ++x)
                {
                    std::memcpy(target + 4 * x, source + 3 * x, 3);
                    target[4 * x + 3] = 0xFF;
                }
                break;
            case ImageFormat::None:
            case ImageFormat::Rgba32:
                break;
        }
    }
    SetPicture(ImageFormat::Rgba32, width_, height_, stride, expanded, nullptr);
}

bool ImageBuffer::ToPalette(int mode)
{
    const ImageFormat wanted = mode == 1   ? ImageFormat::Palette8
                               : mode == 2 ? ImageFormat::Palette4
                                           : ImageFormat::None;
    if (wanted == ImageFormat::None)
    {
        return false;
    }
    if (format_ == wanted)
    {
        return true;
    }
    ToTrueColour();
    if (format_ != ImageFormat::Rgba32 || width_ <= 0 || height_ <= 0)
    {
        return false;
    }
    // Sixteen leaves at most in 4-bit mode, so that every index fits its nibble.
    ColourOctree octree(wanted == ImageFormat::Palette8 ? 256 : 16);
    for (int y = 0; y < height_; ++y)
    {
        const uint8_t* source = pixels_ + static_cast<size_t>(y) * stride_;
        for (int x = 0; x < width_; ++x, source += 4)
        {
            octree.Insert(source[0], source[1], source[2]);
        }
    }
    uint8_t* const palette = NewPalette();
    octree.NumberLeaves(std::span<uint8_t, kPaletteBytes>(palette, kPaletteBytes));

    const int indexStride = RoundUpTo4(width_);
    uint8_t* const indices = RequestPictureWork(width_, height_).data();
    for (int y = 0; y < height_; ++y)
    {
        const uint8_t* source = pixels_ + static_cast<size_t>(y) * stride_;
        uint8_t* row = indices + static_cast<size_t>(y) * indexStride;
        for (int x = 0; x < width_; ++x, source += 4)
        {
            row[x] = octree.IndexOf(source[0], source[1], source[2]);
        }
        std::memset(row + width_, 0, static_cast<size_t>(indexStride - width_));
    }
    if (wanted == ImageFormat::Palette8)
    {
        SetPicture(ImageFormat::Palette8, width_, height_, indexStride, indices, palette);
        return true;
    }
    // Packed in place: every byte is written at or before the indices it is made of.
    const int packedStride = indexStride / 2;
    for (int y = 0; y < height_; ++y)
    {
        const uint8_t* row = indices + static_cast<size_t>(y) * indexStride;
        uint8_t* packed = indices + static_cast<size_t>(y) * packedStride;
        for (int x = 0; x < packedStride; ++x)
        {
            packed[x] = static_cast<uint8_t>(row[2 * x] << 4 | (row[2 * x + 1] & 0x0F));
        }
    }
    SetPicture(ImageFormat::Palette4, width_, height_, packedStride, indices, palette);
    return true;
}

}  // namespace render
