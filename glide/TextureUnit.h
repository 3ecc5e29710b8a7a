#pragma once

// The board's one texture unit: a byte array of texture memory that downloads fill, the
// texture selected for drawing, the palette of 8-bit textures, the filter and the texture
// combine.
//
// Texels are read from texture memory, decoded to 0xAARRGGBB once per texture (and palette,
// for 8-bit ones) when the pipeline is built; the decoded copies are dropped whenever texture
// memory changes, so a download over a texture shows from the next primitive on.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "glide/Glide.h"
#include "glide/TexelFetch.h"
#include "glide/ZeroedBytes.h"

namespace glide
{

struct TextureLayout
{
    int width = 0;
    int height = 0;
    int widthLog2 = 0;
    int lod = 0;  // the longer side is 256 >> lod
    int bytesPerTexel = 0;

    uint32_t SizeInBytes() const
    {
        return static_cast<uint32_t>(width) * static_cast<uint32_t>(height) *
               static_cast<uint32_t>(bytesPerTexel);
    }
};

// Shape of a single-level texture; nothing for codes outside the board's tables.
std::optional<TextureLayout> LayoutOf(const GrTexInfo& info);

using DecodedTexels = std::shared_ptr<const std::vector<uint32_t>>;

class TextureUnit
{
public:
    // Fresh zeroed memory of the given byte range (none when it is empty), nothing selected,
    // black palette, point sampling.
    void Reset(uint32_t minAddress, uint32_t maxAddress);

    uint32_t MinAddress() const { return minAddress_; }
    uint32_t MaxAddress() const { return maxAddress_; }

    // Copies the level into memory at address; ignored when it would not fit in [min, max).
    void Download(uint32_t address, const GrTexInfo& info);
    // Selects the texture at address. One that does not lie inside texture memory reads as
    // transparent black.
    void Select(uint32_t address, const GrTexInfo& info);
    void LoadPalette(const uint32_t* rgbWords);

    void SetBilinear(bool bilinear) { bilinear_ = bilinear; }
    bool Bilinear() const { return bilinear_; }
    void SetCombine(GrCombineFunction rgbFunction, GrCombineFunction alphaFunction, bool rgbInvert,
                    bool alphaInvert);

    // The selected texture as the pixel pipeline reads it; the sampler points into texels,
    // which the caller keeps for as long as it samples.
    TexelSampler Sampler(DecodedTexels& texels);
    // Every texel the sampler gives has alpha 255 (a texture without alpha is selected).
    bool OpaqueTexels() const { return selected_ && format_ != GrTextureFormat::Argb4444; }
    // The unit's output is texel & keep ^ invert.
    uint32_t OutputKeep() const { return outputKeep_; }
    uint32_t OutputInvert() const { return outputInvert_; }

private:
    bool Fits(uint32_t address, uint32_t size) const;
    DecodedTexels Decode() const;

    ZeroedBytes memory_;  // index 0 is address minAddress_
    uint32_t minAddress_ = 0;
    uint32_t maxAddress_ = 0;

    bool selected_ = false;
    uint32_t selectedAddress_ = 0;
    TextureLayout layout_;
    GrTextureFormat format_ = GrTextureFormat::Argb4444;

    std::array<uint32_t, kGrPaletteSize> palette_{};
    uint64_t paletteHash_ = 0;
    bool bilinear_ = false;
    uint32_t outputKeep_ = 0xFFFFFFFFu;
    uint32_t outputInvert_ = 0;

    // Decoded textures by address, shape, format and (for 8-bit ones) palette.
    using DecodedKey = std::tuple<uint32_t, int, int, int, uint64_t>;
    std::map<DecodedKey, DecodedTexels> decoded_;
    size_t decodedBytes_ = 0;
};

}  // namespace glide
