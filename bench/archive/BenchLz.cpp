// Unpacks the same few megabytes of game-like data (pictures, meshes, text) in 0x20000-byte
// blocks with LzUnpackBlock and with zlib's inflate, and prints the speed of both.

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/archive/LzCodec.h"

namespace
{
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr int kPictures = 12;
constexpr int kMeshes = 8;
constexpr int kTexts = 6;
constexpr int kPasses = 5;

void AppendU16(Bytes& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

uint16_t Rgb565(int r, int g, int b)
{
    return static_cast<uint16_t>((std::clamp(r, 0, 255) >> 3) << 11 |
                                 (std::clamp(g, 0, 255) >> 2) << 5 | std::clamp(b, 0, 255) >> 3);
}

// A 256 x 256 16-bit picture: a sky gradient, a noisy road texture and flat menu panels.
Bytes Picture(std::mt19937& random)
{
    Bytes out;
    const int panelColour = static_cast<int>(random() % 200);
    for (int y = 0; y < 256; ++y)
    {
        for (int x = 0; x < 256; ++x)
        {
            if (y < 96)
            {
                AppendU16(out, Rgb565(60 + y / 2, 120 + y / 3, 230 - y / 4));
            }
            else if (y < 192)
            {
                const int grey =
                    90 + static_cast<int>(random() % 24) + ((x / 16 + y / 16) % 2) * 10;
                AppendU16(out, Rgb565(grey, grey, grey + 4));
            }
            else
            {
                const bool border = x % 64 < 2 || y % 32 < 2;
                AppendU16(
                    out, border ? Rgb565(255, 255, 255) : Rgb565(panelColour, panelColour / 2, 40));
            }
        }
    }
    return out;
}

// Vertices and normals as floats, then triangle indices, as a 3D object file holds them.
Bytes Mesh(std::mt19937& random)
{
    Bytes out;
    std::uniform_real_distribution<float> jitter(-0.05f, 0.05f);
    const int rings = 40;
    const int segments = 48;
    auto appendFloat = [&out](float value)
    {
        uint8_t bytes[4];
        std::memcpy(bytes, &value, 4);
        out.insert(out.end(), bytes, bytes + 4);
    };
    for (int ring = 0; ring < rings; ++ring)
    {
        for (int segment = 0; segment < segments; ++segment)
        {
            const float angle = 6.2831853f * static_cast<float>(segment) / segments;
            const float radius = 2.0f + static_cast<float>(ring % 5) * 0.25f;
            appendFloat(radius * std::cos(angle) + jitter(random));
            appendFloat(static_cast<float>(ring) * 0.5f);
            appendFloat(radius * std::sin(angle) + jitter(random));
            appendFloat(std::cos(angle));
            appendFloat(0.0f);
            appendFloat(std::sin(angle));
        }
    }
    for (int ring = 0; ring + 1 < rings; ++ring)
    {
        for (int segment = 0; segment < segments; ++segment)
        {
            const int a = ring * segments + segment;
            const int b = ring * segments + (segment + 1) % segments;
            for (const int corner : {a, b, a + segments, b, b + segments, a + segments})
            {
                AppendU16(out, static_cast<uint16_t>(corner));
            }
        }
    }
    return out;
}

// Menu and circuit texts in both languages.
Bytes Text(std::mt19937& random)
{
    static const char* const kWords[] = {
        "Rennen",   "Training", "Qualifikation", "Strecke",       "Fahrer",     "Reifen",
        "Federung", "Bremse",   "Getriebe",      "Meisterschaft", "race",       "lap",
        "practice", "warm-up",  "setup",         "gear",          "tyre",       "weather",
        "sonnig",   "Regen",    "bew\xF6lkt",    "Z\xFCndung",    "K\xFChlung", "Ma\xDFstab"};
    std::string text;
    while (text.size() < 120000)
    {
        text += std::to_string(random() % 100) + "\t";
        for (int i = 0; i < 6; ++i)
        {
            text += kWords[random() % std::size(kWords)];
            text += ' ';
        }
        text += "\r\n";
    }
    return {text.begin(), text.end()};
}

Bytes Corpus()
{
    std::mt19937 random(2024);
    Bytes corpus;
    for (int i = 0; i < kPictures; ++i)
    {
        const Bytes part = Picture(random);
        corpus.insert(corpus.end(), part.begin(), part.end());
    }
    for (int i = 0; i < kMeshes; ++i)
    {
        const Bytes part = Mesh(random);
        corpus.insert(corpus.end(), part.begin(), part.end());
    }
    for (int i = 0; i < kTexts; ++i)
    {
        const Bytes part = Text(random);
        corpus.insert(corpus.end(), part.begin(), part.end());
    }
    return corpus;
}

struct Block
{
    size_t offset = 0;
    size_t length = 0;
    Bytes lz;
    Bytes zlib;
};

std::vector<Block> PackBlocks(const Bytes& corpus)
{
    LzCodec codec;
    std::vector<Block> blocks;
    for (size_t offset = 0; offset < corpus.size(); offset += kLzBlockSize)
    {
        Block block;
        block.offset = offset;
        block.length = std::min(kLzBlockSize, corpus.size() - offset);
        const uint8_t* source = corpus.data() + offset;
        block.lz.resize(block.length + kLzMaxBlockOverhead);
        block.lz.resize(codec.Pack({source, block.length}, block.lz));
        uLongf zlibLength = compressBound(static_cast<uLong>(block.length));
        block.zlib.resize(zlibLength);
        compress2(block.zlib.data(), &zlibLength, source, static_cast<uLong>(block.length),
                  Z_DEFAULT_COMPRESSION);
        block.zlib.resize(zlibLength);
        blocks.push_back(std::move(block));
    }
    return blocks;
}

// Best of several passes, in MB/s of unpacked output.
template <typename Unpack>
double MegabytesPerSecond(const std::vector<Block>& blocks, size_t totalBytes, Unpack unpack)
{
    double best = 0;
    for (int pass = 0; pass < kPasses; ++pass)
    {
        const Clock::time_point start = Clock::now();
        for (const Block& block : blocks)
        {
            unpack(block);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        best = std::max(best, static_cast<double>(totalBytes) / 1e6 / seconds);
    }
    return best;
}

bool Check(const std::vector<Block>& blocks, const Bytes& corpus, Bytes& out)
{
    for (const Block& block : blocks)
    {
        if (LzUnpackBlock(block.lz, out) != block.length ||
            !std::equal(out.begin(), out.begin() + static_cast<ptrdiff_t>(block.length),
                        corpus.begin() + static_cast<ptrdiff_t>(block.offset)))
        {
            return false;
        }
    }
    return true;
}
}  // namespace

int main()
{
    const Bytes corpus = Corpus();
    const std::vector<Block> blocks = PackBlocks(corpus);
    size_t lzBytes = 0;
    size_t zlibBytes = 0;
    for (const Block& block : blocks)
    {
        lzBytes += block.lz.size();
        zlibBytes += block.zlib.size();
    }
    Bytes out(kLzBlockSize);
    if (!Check(blocks, corpus, out))
    {
        std::fprintf(stderr, "bench_lz: a block did not unpack to its input\n");
        return 1;
    }

    const double lz = MegabytesPerSecond(
        blocks, corpus.size(), [&out](const Block& block) { LzUnpackBlock(block.lz, out); });
    const double inflate = MegabytesPerSecond(blocks, corpus.size(),
                                              [&out](const Block& block)
                                              {
                                                  uLongf length = static_cast<uLongf>(out.size());
                                                  uncompress(out.data(), &length, block.zlib.data(),
                                                             static_cast<uLong>(block.zlib.size()));
                                              });

    std::printf("corpus         %.2f MB in %zu blocks (pictures, meshes, text)\n",
                static_cast<double>(corpus.size()) / 1e6, blocks.size());
    std::printf("packed         LZ %.1f %%, zlib %.1f %% of the input\n",
                100.0 * static_cast<double>(lzBytes) / static_cast<double>(corpus.size()),
                100.0 * static_cast<double>(zlibBytes) / static_cast<double>(corpus.size()));
    std::printf("LzUnpackBlock  %8.1f MB/s\n", lz);
    std::printf("zlib inflate   %8.1f MB/s\n", inflate);
    std::printf("ratio          %8.2f (LzUnpackBlock / inflate)\n", lz / inflate);
    return 0;
}
