#include "glide/TextureUnit.h"

#include <algorithm>
#include <cstring>

#include "glide/Colour.h"

namespace glide
{
namespace
{

// Width and height of a level as powers of two: the longer side 8 - lod, the shorter side
// that less the aspect's ratio, at least 1 texel.
struct AspectShape
{
    int widthShift;
    int heightShift;
};
constexpr AspectShape kAspectShapes[] = {{0, 3}, {0, 2}, {0, 1}, {0, 0}, {1, 0}, {2, 0}, {3, 0}};

// A texture selected where there is none: transparent black, as many words as a bilinear
// sample reads.
constexpr uint32_t kNoTexel[4] = {};

// Decoded copies beyond this many bytes are dropped all together.
constexpr size_t kDecodedBudgetBytes = size_t{96} << 20;

uint64_t HashPalette(const std::array<uint32_t, kGrPaletteSize>& palette)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const uint32_t colour : palette)
    {
        hash = (hash ^ colour) * 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::optional<TextureLayout> LayoutOf(const GrTexInfo& info)
{
    const int lod = static_cast<int>(info.largeLod);
    const int aspect = static_cast<int>(info.aspectRatio);
    if (info.smallLod != info.largeLod || lod < 0 || lod > 8 || aspect < 0 || aspect > 6)
    {
        return std::nullopt;
    }
    TextureLayout layout;
    switch (info.format)
    {
        case GrTextureFormat::P8:
            layout.bytesPerTexel = 1;
            break;
        case GrTextureFormat::Rgb565:
        case GrTextureFormat::Argb4444:
            layout.bytesPerTexel = 2;
            break;
        default:
            return std::nullopt;
    }
    const int longLog2 = 8 - lod;
    layout.lod = lod;
    layout.widthLog2 = std::max(0, longLog2 - kAspectShapes[aspect].widthShift);
    layout.width = 1 << layout.widthLog2;
    layout.height = 1 << std::max(0, longLog2 - kAspectShapes[aspect].heightShift);
    return layout;
}

void TextureUnit::Reset(uint32_t minAddress, uint32_t maxAddress)
{
    minAddress_ = minAddress;
    maxAddress_ = std::max(minAddress, maxAddress);
    memory_ = ZeroedBytes();  // the old mapping goes before the new one is made
    memory_ = ZeroedBytes(maxAddress_ - minAddress_);
    selected_ = false;
    palette_.fill(0xFF000000u);
    paletteHash_ = HashPalette(palette_);
    decoded_.clear();
    decodedBytes_ = 0;
    bilinear_ = false;
    outputKeep_ = 0xFFFFFFFFu;
    outputInvert_ = 0;
}

bool TextureUnit::Fits(uint32_t address, uint32_t size) const
{
    return address >= minAddress_ && address <= maxAddress_ && size <= maxAddress_ - address;
}

void TextureUnit::Download(uint32_t address, const GrTexInfo& info)
{
    const std::optional<TextureLayout> layout = LayoutOf(info);
    if (!layout || info.data == nullptr || !Fits(address, layout->SizeInBytes()))
    {
        return;
    }
    std::memcpy(memory_.data() + (address - minAddress_), info.data, layout->SizeInBytes());
    decoded_.clear();
    decodedBytes_ = 0;
}

void TextureUnit::Select(uint32_t address, const GrTexInfo& info)
{
    const std::optional<TextureLayout> layout = LayoutOf(info);
    selected_ = layout && Fits(address, layout->SizeInBytes());
    if (!selected_)
    {
        return;
    }
    selectedAddress_ = address;
    layout_ = *layout;
    format_ = info.format;
}

void TextureUnit::LoadPalette(const uint32_t* rgbWords)
{
    for (int i = 0; i < kGrPaletteSize; ++i)
    {
        palette_[i] = 0xFF000000u | (rgbWords[i] & 0x00FFFFFFu);
    }
    paletteHash_ = HashPalette(palette_);
}

void TextureUnit::SetCombine(GrCombineFunction rgbFunction, GrCombineFunction alphaFunction,
                             bool rgbInvert, bool alphaInvert)
{
    outputKeep_ = (rgbFunction == GrCombineFunction::Local ? 0x00FFFFFFu : 0u) |
                  (alphaFunction == GrCombineFunction::Local ? 0xFF000000u : 0u);
    outputInvert_ = (rgbInvert ? 0x00FFFFFFu : 0u) | (alphaInvert ? 0xFF000000u : 0u);
}

DecodedTexels TextureUnit::Decode() const
{
    const auto width = static_cast<uint32_t>(layout_.width);
    const auto height = static_cast<uint32_t>(layout_.height);
    const uint32_t stride = width + 1;
    std::vector<uint32_t> row(stride);
    auto texels = std::make_shared<std::vector<uint32_t>>(DecodedIndex(stride, 0, height));
    uint32_t* const out = texels->data();
    const uint8_t* source = memory_.data() + (selectedAddress_ - minAddress_);
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t x = 0; x < width; ++x)
        {
            const size_t i = static_cast<size_t>(y) * width + x;
            if (format_ == GrTextureFormat::P8)
            {
                row[x] = palette_[source[i]];
                continue;
            }
            uint16_t pixel;
            std::memcpy(&pixel, source + 2 * i, sizeof pixel);
            row[x] = format_ == GrTextureFormat::Rgb565 ? Expand565(pixel) : Expand4444(pixel);
        }
        row[width] = row[0];
        // The row's texels, and each again as the one below the row above.
        const uint32_t above = (y + height - 1) % height;
        for (uint32_t x = 0; x < stride; ++x)
        {
            out[DecodedIndex(stride, x, y)] = row[x];
            out[DecodedIndex(stride, x, above) + 1] = row[x];
        }
    }
    return texels;
}

TexelSampler TextureUnit::Sampler(DecodedTexels& texels)
{
    TexelSampler sampler;
    if (!selected_)
    {
        texels = nullptr;
        sampler.texels = kNoTexel;
        return sampler;
    }
    const DecodedKey key{selectedAddress_, layout_.lod, layout_.widthLog2,
                         static_cast<int>(format_),
                         format_ == GrTextureFormat::P8 ? paletteHash_ : 0};
    auto found = decoded_.find(key);
    if (found == decoded_.end())
    {
        if (decodedBytes_ > kDecodedBudgetBytes)
        {
            decoded_.clear();  // pipelines still drawing hold on to their own
            decodedBytes_ = 0;
        }
        found = decoded_.emplace(key, Decode()).first;
        decodedBytes_ += found->second->size() * sizeof(uint32_t);
    }
    texels = found->second;
    sampler.texels = texels->data();
    sampler.widthMask = static_cast<uint32_t>(layout_.width - 1);
    sampler.heightMask = static_cast<uint32_t>(layout_.height - 1);
    sampler.stride = static_cast<uint32_t>(layout_.width) + 1;
    // Texel = s x 2^-lod (the longer side spans 0..256 in s or t), kept as x256.
    sampler.coordinateScale = static_cast<float>(1 << (8 - layout_.lod));
    return sampler;
}

}  // namespace glide
