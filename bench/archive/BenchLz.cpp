// Unpacks the same few megabytes of game-like data (pictures, meshes, text) in 0x20000-byte
// blocks with LzUnpackBlock and with zlib's raw inflate, and prints the speed of both, each on
// one thread. Raw deflate streams carry no header and no checksum, as our blocks do not, so
// that both sides do the same work: decoding only.

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <span>
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

constexpr int kRawWindowBits = -15;  // a raw stream: no header, no checksum

Bytes RawDeflate(std::span<const uint8_t> source)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawWindowBits, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, static_cast<uLong>(source.size())));
    stream.next_in = const_cast<Bytes::value_type*>(source.data());
    stream.avail_in = static_cast<uInt>(source.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// One inflater for every block, reset between them, so that only decoding is measured.
class RawInflater
{
public:
    RawInflater() { inflateInit2(&stream_, kRawWindowBits); }
    ~RawInflater() { inflateEnd(&stream_); }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    // The bytes written, or 0 when the stream did not end within the output.
    size_t Inflate(const Bytes& source, Bytes& out)
    {
        inflateReset(&stream_);
        stream_.next_in = const_cast<Bytes::value_type*>(source.data());
        stream_.avail_in = static_cast<uInt>(source.size());
        stream_.next_out = out.data();
        stream_.avail_out = static_cast<uInt>(out.size());
        return inflate(&stream_, Z_FINISH) == Z_STREAM_END ? stream_.total_out : 0;
    }

private:
    z_stream stream_{};
};

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
        block.zlib = RawDeflate({source, block.length});
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

bool Check(const std::vector<Block>& blocks, const Bytes& corpus, Bytes& out, RawInflater& inflater)
{
    const auto matches = [&](const Block& block)
    {
        return std::equal(out.begin(), out.begin() + static_cast<ptrdiff_t>(block.length),
                          corpus.begin() + static_cast<ptrdiff_t>(block.offset));
    };
    for (const Block& block : blocks)
    {
        if (LzUnpackBlock(block.lz, out) != block.length || !matches(block) ||
            inflater.Inflate(block.zlib, out) != block.length || !matches(block))
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
    RawInflater inflater;
    if (!Check(blocks, corpus, out, inflater))
    {
        std::fprintf(stderr, "bench_lz: a block did not unpack to its input\n");
        return 1;
    }

    const double lz = MegabytesPerSecond(
        blocks, corpus.size(), [&out](const Block& block) { LzUnpackBlock(block.lz, out); });
    const double inflate = MegabytesPerSecond(blocks, corpus.size(),
                                              [&out, &inflater](const Block& block)
                                              { inflater.Inflate(block.zlib, out); });

    std::printf("corpus           %.2f MB in %zu blocks (pictures, meshes, text)\n",
                static_cast<double>(corpus.size()) / 1e6, blocks.size());
    std::printf("packed           LZ %.1f %%, raw deflate %.1f %% of the input\n",
                100.0 * static_cast<double>(lzBytes) / static_cast<double>(corpus.size()),
                100.0 * static_cast<double>(zlibBytes) / static_cast<double>(corpus.size()));
    std::printf("unpacking, one thread, best of %d passes, MB/s of output:\n", kPasses);
    std::printf("  LzUnpackBlock  %8.1f MB/s\n", lz);
    std::printf("  raw inflate    %8.1f MB/s\n", inflate);
    std::printf("  ratio          %8.2f (LzUnpackBlock / raw inflate)\n", lz / inflate);
    return 0;
}
