#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "render/ImageBuffer.h"

namespace
{
using render::ImageBuffer;
using render::ImageFormat;

constexpr uint32_t kRed565 = 0xF800;
constexpr uint32_t kGreen565 = 0x07E0;
constexpr uint32_t kBlue565 = 0x001F;

// A picture of 3-byte pixels in the buffer's own work memory.
void SetRgb24(ImageBuffer& buffer, int width, int height, const std::vector<uint8_t>& rgb)
{
    uint8_t* pixels = buffer.RequestPictureWork(width, height).data();
    std::memcpy(pixels, rgb.data(), rgb.size());
    buffer.SetPicture(ImageFormat::Rgb24, width, height, width * 3, pixels, nullptr);
}

// Every 16-bit value once, as a 256 x 256 picture.
void SetAll16BitValues(ImageBuffer& buffer, ImageFormat format)
{
    uint8_t* pixels = buffer.RequestPictureWork(256, 256).data();
    for (uint32_t value = 0; value < 65536; ++value)
    {
        const auto pixel = static_cast<uint16_t>(value);
        std::memcpy(pixels + 2 * value, &pixel, 2);
    }
    buffer.SetPicture(format, 256, 256, 512, pixels, nullptr);
}

uint16_t PixelAt(const ImageBuffer& buffer, int x, int y)
{
    uint16_t pixel = 0;
    std::memcpy(&pixel, buffer.Pixels() + static_cast<size_t>(buffer.Stride()) * y + 2 * x, 2);
    return pixel;
}

TEST(ImageBufferTest, PacksChannelsByTheirMasks)
{
    ImageBuffer buffer;
    buffer.SetChannelMasks(kRed565, kGreen565, kBlue565, 0);
    SetRgb24(buffer, 3, 1, {255, 255, 255, 0x80, 0x40, 0x20, 0x07, 0x03, 0x07});
    buffer.To565();
    EXPECT_EQ(buffer.Format(), ImageFormat::Rgb565);
    EXPECT_EQ(buffer.Stride(), 8);  // 2 x width rounded up to 4 bytes
    EXPECT_EQ(PixelAt(buffer, 0, 0), 0xFFFF);
    EXPECT_EQ(PixelAt(buffer, 1, 0), 0x8204);
    EXPECT_EQ(PixelAt(buffer, 2, 0), 0x0000);

    buffer.SetChannelMasks(0x0F00, 0x00F0, 0x000F, 0xF000);
    SetRgb24(buffer, 1, 1, {255, 255, 255});
    buffer.To4444();
    EXPECT_EQ(buffer.Format(), ImageFormat::Argb4444);
    EXPECT_EQ(PixelAt(buffer, 0, 0), 0xFFFF);  // 3-byte pixels are opaque
}

TEST(ImageBufferTest, ExpandsSixteenBitPixelsByTheirMasks)
{
    ImageBuffer buffer;
    buffer.SetChannelMasks(kRed565, kGreen565, kBlue565, 0);
    SetAll16BitValues(buffer, ImageFormat::Rgb565);
    buffer.ToTrueColour();
    ASSERT_EQ(buffer.Format(), ImageFormat::Rgba32);
    const uint8_t* white = buffer.Pixels() + 255 * buffer.Stride() + 255 * 4;
    EXPECT_EQ(std::vector<uint8_t>(white, white + 4),
              (std::vector<uint8_t>{0xF8, 0xFC, 0xF8, 0xFF}));
}

// Expansion keeps each channel's bits at the top of its byte, so packing gives them back.
TEST(ImageBufferTest, EverySixteenBitValueSurvivesExpandingAndPacking)
{
    struct Layout
    {
        ImageFormat format;
        uint32_t red, green, blue, alpha;
    };
    for (const Layout layout : {Layout{ImageFormat::Rgb565, kRed565, kGreen565, kBlue565, 0},
                                Layout{ImageFormat::Argb4444, 0x0F00, 0x00F0, 0x000F, 0xF000}})
    {
        ImageBuffer buffer;
        buffer.SetChannelMasks(layout.red, layout.green, layout.blue, layout.alpha);
        SetAll16BitValues(buffer, layout.format);
        buffer.ToTrueColour();
        layout.format == ImageFormat::Rgb565 ? buffer.To565() : buffer.To4444();
        ASSERT_EQ(buffer.Format(), layout.format);
        for (uint32_t value = 0; value < 65536; ++value)
        {
            ASSERT_EQ(PixelAt(buffer, value % 256, value / 256), value);
        }
    }
}

TEST(ImageBufferTest, WorkRequestsNeverReturnThePreviousRequestsMemory)
{
    ImageBuffer buffer;
    const size_t sizes[] = {16,
                            16,
                            ImageBuffer::kFixedWorkSize + 1,
                            16,
                            ImageBuffer::kFixedWorkSize + 1,
                            ImageBuffer::kFixedWorkSize + 1,
                            16};
    const uint8_t* previous = nullptr;
    for (const size_t size : sizes)
    {
        const std::span<uint8_t> work = buffer.RequestWork(size);
        ASSERT_EQ(work.size(), size);
        EXPECT_NE(work.data(), previous);
        std::memset(work.data(), 0xA5, size);  // all of it is ours to write
        previous = work.data();
    }
}

TEST(ImageBufferTest, PaletteRequestsAlternateAndComeCleared)
{
    ImageBuffer buffer;
    uint8_t* first = buffer.NewPalette();
    std::memset(first, 0x11, render::kPaletteBytes);
    uint8_t* second = buffer.NewPalette();
    EXPECT_NE(first, second);
    EXPECT_EQ(std::vector<uint8_t>(second, second + render::kPaletteBytes),
              std::vector<uint8_t>(render::kPaletteBytes, 0));
    EXPECT_EQ(first[100], 0x11);  // the one handed out before stays intact
    EXPECT_EQ(buffer.NewPalette(), first);
    EXPECT_EQ(first[100], 0);
}

std::vector<uint8_t> PaletteColourOf(const ImageBuffer& buffer, uint8_t index)
{
    const uint8_t* entry = buffer.Palette() + 4 * index;
    return {entry[0], entry[1], entry[2]};
}

TEST(ImageBufferTest, ColourReductionKeepsUpTo256ColoursExactly)
{
    ImageBuffer buffer;
    std::vector<uint8_t> rgb;
    for (int pixel = 0; pixel < 200; ++pixel)
    {
        rgb.insert(rgb.end(), {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel * 7),
                               static_cast<uint8_t>(255 - pixel)});
    }
    SetRgb24(buffer, 20, 10, rgb);
    ASSERT_TRUE(buffer.ToPalette(1));
    ASSERT_EQ(buffer.Format(), ImageFormat::Palette8);
    EXPECT_EQ(buffer.Stride(), 20);
    std::set<uint8_t> indices;
    for (int pixel = 0; pixel < 200; ++pixel)
    {
        const uint8_t index = buffer.Pixels()[(pixel / 20) * 20 + pixel % 20];
        indices.insert(index);
        EXPECT_EQ(PaletteColourOf(buffer, index),
                  std::vector<uint8_t>(rgb.begin() + 3 * pixel, rgb.begin() + 3 * pixel + 3));
    }
    EXPECT_EQ(indices.size(), 200u);
    EXPECT_TRUE(buffer.ToPalette(1));  // already 8-bit: left as it is
}

TEST(ImageBufferTest, ColourReductionMergesCloseColoursIntoAtMostThePaletteSize)
{
    for (const int mode : {1, 2})
    {
        SCOPED_TRACE(mode);
        ImageBuffer buffer;
        std::vector<uint8_t> rgb;
        for (int pixel = 0; pixel < 64 * 64; ++pixel)
        {
            rgb.insert(rgb.end(), {static_cast<uint8_t>((pixel & 15) * 17),
                                   static_cast<uint8_t>(((pixel >> 4) & 15) * 17),
                                   static_cast<uint8_t>((pixel >> 8) * 17)});
        }
        SetRgb24(buffer, 64, 64, rgb);
        ASSERT_TRUE(buffer.ToPalette(mode));
        const int stride = buffer.Stride();
        std::set<int> indices;
        int worst = 0;
        for (int pixel = 0; pixel < 64 * 64; ++pixel)
        {
            const int x = pixel % 64;
            const uint8_t byte = buffer.Pixels()[(pixel / 64) * stride + (mode == 1 ? x : x / 2)];
            const uint8_t index = mode == 1 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 0x0F);
            indices.insert(index);
            const std::vector<uint8_t> colour = PaletteColourOf(buffer, index);
            for (int channel = 0; channel < 3; ++channel)
            {
                worst = std::max(worst, std::abs(colour[channel] - rgb[3 * pixel + channel]));
            }
        }
        EXPECT_EQ(buffer.Format(), mode == 1 ? ImageFormat::Palette8 : ImageFormat::Palette4);
        EXPECT_EQ(stride, mode == 1 ? 64 : 32);
        EXPECT_LE(indices.size(), mode == 1 ? 256u : 16u);
        EXPECT_GT(indices.size(), mode == 1 ? 128u : 8u);
        // Merged colours share their top bits: a level-3 leaf spans 32 values a channel.
        EXPECT_LT(worst, mode == 1 ? 64 : 128);
    }
}

TEST(ImageBufferTest, ColourReductionRefusesOtherModesAndEmptyPictures)
{
    ImageBuffer buffer;
    EXPECT_FALSE(buffer.ToPalette(1));
    SetRgb24(buffer, 1, 1, {1, 2, 3});
    EXPECT_FALSE(buffer.ToPalette(3));
    EXPECT_EQ(buffer.Format(), ImageFormat::Rgb24);
}

}  // namespace
