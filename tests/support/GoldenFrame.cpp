#include "tests/support/GoldenFrame.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

constexpr int kBmpHeaderSize = 54;

void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
    {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t GetLe(const std::vector<uint8_t>& in, size_t at, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
    {
        value |= static_cast<uint32_t>(in[at + i]) << (8 * i);
    }
    return value;
}

int BmpRowBytes(int width)
{
    return (width * 3 + 3) & ~3;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

// Writes a picture given as 8-bit blue, green, red per pixel, rows top first.
bool WriteBgrBmp(const std::string& path, int width, int height, const std::vector<uint8_t>& bgr)
{
    const int rowBytes = BmpRowBytes(width);
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * static_cast<uint32_t>(height);
    std::vector<uint8_t> file(kBmpHeaderSize + imageBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLe(file, 2, static_cast<uint32_t>(file.size()), 4);
    PutLe(file, 10, kBmpHeaderSize, 4);
    PutLe(file, 14, 40, 4);
    PutLe(file, 18, static_cast<uint32_t>(width), 4);
    PutLe(file, 22, static_cast<uint32_t>(height), 4);
    PutLe(file, 26, 1, 2);
    PutLe(file, 28, 24, 2);
    PutLe(file, 34, imageBytes, 4);
    PutLe(file, 38, 2834, 4);
    PutLe(file, 42, 2834, 4);
    for (int y = 0; y < height; ++y)
    {
        const size_t row = kBmpHeaderSize + static_cast<size_t>(height - 1 - y) * rowBytes;
        std::copy_n(bgr.begin() + static_cast<ptrdiff_t>(y) * width * 3, width * 3,
                    file.begin() + static_cast<ptrdiff_t>(row));
    }
    return WriteBytes(path, file);
}

std::vector<uint8_t> ToBgr(const FrameView565& frame)
{
    std::vector<uint8_t> bgr(static_cast<size_t>(frame.width) * frame.height * 3);
    size_t i = 0;
    for (int y = 0; y < frame.height; ++y)
    {
        for (int x = 0; x < frame.width; ++x)
        {
            const uint16_t p = frame.At(x, y);
            bgr[i++] = static_cast<uint8_t>((p & 0x1F) << 3);
            bgr[i++] = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2);
            bgr[i++] = static_cast<uint8_t>((p >> 11) << 3);
        }
    }
    return bgr;
}

bool Recording()
{
    const char* value = std::getenv("ZARVO_RECORD_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

std::string HexHash(uint64_t hash)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(hash));
    return text;
}

// A picture of where the frames differ: black where equal, the channel differences times 8
// where not. Also counts the differing pixels and the largest difference in one channel.
struct Difference
{
    std::vector<uint8_t> bgr;
    int pixels = 0;
    int worstChannel = 0;
};

Difference Compare(const FrameView565& actual, const Frame565& expected)
{
    Difference diff;
    diff.bgr.assign(static_cast<size_t>(actual.width) * actual.height * 3, 0);
    for (int y = 0; y < actual.height; ++y)
    {
        for (int x = 0; x < actual.width; ++x)
        {
            const uint16_t a = actual.At(x, y);
            const uint16_t e = expected.pixels[static_cast<size_t>(y) * expected.width + x];
            if (a == e)
            {
                continue;
            }
            ++diff.pixels;
            const int channels[3] = {std::abs((a & 0x1F) - (e & 0x1F)) << 3,
                                     std::abs(((a >> 5) & 0x3F) - ((e >> 5) & 0x3F)) << 2,
                                     std::abs((a >> 11) - (e >> 11)) << 3};
            for (int c = 0; c < 3; ++c)
            {
                diff.worstChannel = std::max(diff.worstChannel, channels[c]);
                diff.bgr[(static_cast<size_t>(y) * actual.width + x) * 3 + c] =
                    static_cast<uint8_t>(std::min(255, 32 + channels[c] * 8));
            }
        }
    }
    return diff;
}

}  // namespace

std::filesystem::path GoldenFailureFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
    {
        return fs::temp_directory_path() / "golden-failures";
    }
    return program.parent_path().parent_path() / "golden-failures";
}

FrameView565 FrameView565::Region(int x, int y, int regionWidth, int regionHeight) const
{
    FrameView565 region = *this;
    region.pixels = Address(x, y);
    region.width = regionWidth;
    region.height = regionHeight;
    return region;
}

uint64_t HashFrame(const FrameView565& frame)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    const auto add = [&hash](uint8_t byte)
    {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    };
    for (int y = 0; y < frame.height; ++y)
    {
        for (int x = 0; x < frame.width; ++x)
        {
            const uint16_t pixel = frame.At(x, y);
            add(static_cast<uint8_t>(pixel & 0xFF));
            add(static_cast<uint8_t>(pixel >> 8));
        }
    }
    return hash;
}

bool WriteFrameBmp(const std::string& path, const FrameView565& frame)
{
    return WriteBgrBmp(path, frame.width, frame.height, ToBgr(frame));
}

std::optional<Frame565> ReadFrameBmp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (file.size() < kBmpHeaderSize || file[0] != 'B' || file[1] != 'M' ||
        GetLe(file, 28, 2) != 24)
    {
        return std::nullopt;
    }
    Frame565 frame;
    frame.width = static_cast<int>(GetLe(file, 18, 4));
    frame.height = static_cast<int>(GetLe(file, 22, 4));
    const size_t pixelsAt = GetLe(file, 10, 4);
    if (frame.width <= 0 || frame.height <= 0 || frame.width > 8192 || frame.height > 8192 ||
        pixelsAt + static_cast<size_t>(BmpRowBytes(frame.width)) * frame.height > file.size())
    {
        return std::nullopt;
    }
    frame.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y)
    {
        const size_t row =
            pixelsAt + static_cast<size_t>(frame.height - 1 - y) * BmpRowBytes(frame.width);
        for (int x = 0; x < frame.width; ++x)
        {
            const uint8_t* bgr = &file[row + static_cast<size_t>(x) * 3];
            frame.pixels[static_cast<size_t>(y) * frame.width + x] =
                static_cast<uint16_t>(((bgr[2] >> 3) << 11) | ((bgr[1] >> 2) << 5) | (bgr[0] >> 3));
        }
    }
    return frame;
}

::testing::AssertionResult MatchesGolden(const std::string& name, const FrameView565& frame,
                                         uint64_t expectedHash, const std::string& referenceBmp)
{
    const uint64_t actualHash = HashFrame(frame);
    if (Recording())
    {
        std::printf("golden %s = %s\n", name.c_str(), HexHash(actualHash).c_str());
        if (!referenceBmp.empty() && !WriteFrameBmp(referenceBmp, frame))
        {
            return ::testing::AssertionFailure() << "cannot write " << referenceBmp;
        }
        return ::testing::AssertionSuccess();
    }
    if (actualHash == expectedHash)
    {
        return ::testing::AssertionSuccess();
    }

    const fs::path folder = GoldenFailureFolder();
    const std::string actualPath = (folder / (name + ".actual.bmp")).string();
    std::ostringstream message;
    message << "frame " << name << " hashes to " << HexHash(actualHash) << ", expected "
            << HexHash(expectedHash) << "\n  actual frame: "
            << (WriteFrameBmp(actualPath, frame) ? actualPath
                                                 : "(cannot write " + actualPath + ")");
    const std::optional<Frame565> expected =
        referenceBmp.empty() ? std::nullopt : ReadFrameBmp(referenceBmp);
    if (expected && expected->width == frame.width && expected->height == frame.height)
    {
        const Difference diff = Compare(frame, *expected);
        const std::string diffPath = (folder / (name + ".diff.bmp")).string();
        WriteBgrBmp(diffPath, frame.width, frame.height, diff.bgr);
        message << "\n  expected frame: " << referenceBmp << "\n  difference: " << diffPath << " ("
                << diff.pixels << " pixels differ, at most " << diff.worstChannel
                << " in one channel)";
    }
    else if (!referenceBmp.empty())
    {
        message << "\n  no usable reference picture at " << referenceBmp;
    }
    return ::testing::AssertionFailure() << message.str();
}
