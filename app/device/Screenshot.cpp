#include "app/device/Screenshot.h"

#include <cstdio>
#include <cstring>

#include "app/device/RenderDevice.h"
#include "core/files/FileSystem.h"
#include "core/util/LittleEndian.h"

namespace
{
constexpr size_t kHeaderSize = 54;
constexpr size_t kPixelBytes = size_t{kScreenshotWidth} * kScreenshotHeight * 3;
constexpr size_t kTrailerSize = 2;  // as the game's screenshots always ended
constexpr int32_t kPixelsPerMetre = 2834;

void WriteHeader(uint8_t* header)
{
    const auto u16 = [&](size_t offset, uint16_t value)
    {
        header[offset] = static_cast<uint8_t>(value);
        header[offset + 1] = static_cast<uint8_t>(value >> 8);
    };
    const auto u32 = [&](size_t offset, uint32_t value) { StoreLe32(header + offset, value); };
    header[0] = 'B';
    header[1] = 'M';
    u32(2, kHeaderSize + kPixelBytes + kTrailerSize);
    u32(10, kHeaderSize);
    u32(14, 40);
    u32(18, kScreenshotWidth);
    u32(22, kScreenshotHeight);  // positive: rows bottom-up
    u16(26, 1);
    u16(28, 24);
    u32(38, kPixelsPerMetre);
    u32(42, kPixelsPerMetre);
}

// Blue, green and red bytes of a 5-6-5 pixel, each channel shifted to the top of its byte.
void AppendPixel(uint16_t pixel, uint8_t*& out)
{
    *out++ = static_cast<uint8_t>((pixel & 0x1F) << 3);
    *out++ = static_cast<uint8_t>(((pixel >> 5) & 0x3F) << 2);
    *out++ = static_cast<uint8_t>((pixel >> 11) << 3);
}
}  // namespace

std::string ScreenshotFileName(uint32_t number)
{
    char name[32];
    std::snprintf(name, sizeof name, "graps/Grap_%03u.bmp", number);
    return name;
}

std::vector<uint8_t> ScreenshotFile(const LfbInfo& frameBuffer)
{
    std::vector<uint8_t> file(kHeaderSize + kPixelBytes + kTrailerSize);
    WriteHeader(file.data());
    uint8_t* out = file.data() + kHeaderSize;
    const auto* base = static_cast<const uint8_t*>(frameBuffer.address);
    for (int32_t row = kScreenshotHeight - 1; row >= 0; --row)
    {
        const uint8_t* line = base + static_cast<ptrdiff_t>(row) * frameBuffer.stride;
        for (int32_t x = 0; x < kScreenshotWidth; ++x)
        {
            uint16_t pixel = 0;
            std::memcpy(&pixel, line + 2 * x, sizeof pixel);
            AppendPixel(pixel, out);
        }
    }
    return file;
}

void RenderDevice::SaveScreenshot()
{
    if (screenWidth_ != kScreenshotWidth || screenHeight_ != kScreenshotHeight)
    {
        return;
    }
    LfbInfo frameBuffer;
    if (LockLFB(&frameBuffer) == 0)
    {
        return;
    }
    const std::vector<uint8_t> file = ScreenshotFile(frameBuffer);
    UnlockLFB(&frameBuffer);
    files::ReplaceAtomically(ScreenshotFileName(screenshotNumber_++), file);
}
