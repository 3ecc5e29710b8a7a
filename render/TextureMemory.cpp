#include "render/TextureMemory.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "glide/Glide.h"

namespace render
{
namespace
{

struct AspectRow
{
    int32_t widthFactor;  // width * widthFactor == height * heightFactor
    int32_t heightFactor;
    GrAspectRatio aspect;
    int32_t sRange;
    int32_t tRange;
};

constexpr AspectRow kAspects[] = {
    {1, 8, GrAspectRatio::Aspect8x1, 256, 32},  {1, 4, GrAspectRatio::Aspect4x1, 256, 64},
    {1, 2, GrAspectRatio::Aspect2x1, 256, 128}, {1, 1, GrAspectRatio::Aspect1x1, 256, 256},
    {2, 1, GrAspectRatio::Aspect1x2, 128, 256}, {4, 1, GrAspectRatio::Aspect1x4, 64, 256},
    {8, 1, GrAspectRatio::Aspect1x8, 32, 256},
};

GrTextureFormat GlideFormatOf(int32_t format)
{
    switch (format)
    {
        case kTextureFormatPalette8:
            return GrTextureFormat::P8;
        case kTextureFormatArgb4444:
            return GrTextureFormat::Argb4444;
        default:
            return GrTextureFormat::Rgb565;
    }
}

uint32_t BytesPerTexel(const Texture& texture)
{
    return texture.format == kTextureFormatPalette8 ? 1 : 2;
}

// The board takes rows without padding; pictures whose rows are padded are packed first.
void Send(const Texture& texture)
{
    const size_t rowBytes = static_cast<size_t>(texture.width) * BytesPerTexel(texture);
    std::vector<uint8_t> packed;
    void* texels = texture.pixels;
    if (static_cast<size_t>(texture.stride) != rowBytes)
    {
        packed.resize(rowBytes * static_cast<size_t>(texture.height));
        for (int32_t y = 0; y < texture.height; ++y)
        {
            std::memcpy(packed.data() + rowBytes * static_cast<size_t>(y),
                        texture.pixels + static_cast<size_t>(texture.stride) * y, rowBytes);
        }
        texels = packed.data();
    }
    const TextureGlideInfo& described = texture.glideInfo;
    const GrTexInfo info{static_cast<GrLod>(described.smallLod),
                         static_cast<GrLod>(described.largeLod),
                         static_cast<GrAspectRatio>(described.aspectRatio),
                         static_cast<GrTextureFormat>(described.format), texels};
    grTexDownloadMipMap(GrChipId::Tmu0, texture.textureAddress, GrMipMapLevelMask::Both, &info);
}

}  // namespace

std::optional<TextureShape> ShapeOf(int32_t width, int32_t height)
{
    const int32_t longer = std::max(width, height);
    if (width < 1 || height < 1 || longer > 256 || !std::has_single_bit(uint32_t(longer)))
    {
        return std::nullopt;
    }
    const auto row = std::ranges::find_if(
        kAspects, [&](const AspectRow& candidate)
        { return width * candidate.widthFactor == height * candidate.heightFactor; });
    if (row == std::end(kAspects))
    {
        return std::nullopt;
    }
    const int32_t lod = 8 - std::countr_zero(uint32_t(longer));
    return TextureShape{static_cast<int32_t>(row->aspect), lod, row->sRange, row->tRange};
}

uint32_t TextureBytes(const Texture& texture)
{
    return static_cast<uint32_t>(texture.width) * static_cast<uint32_t>(texture.height) *
           BytesPerTexel(texture);
}

void TextureMemory::SetRange(uint32_t minimum, uint32_t maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    cursor_ = minimum_;
}

void TextureMemory::SkipTo(uint32_t address)
{
    cursor_ = std::max(cursor_, address);
}

bool TextureMemory::Download(Texture& texture)
{
    if (texture.downloaded == 0)
    {
        const std::optional<TextureShape> shape = ShapeOf(texture.width, texture.height);
        if (!shape || texture.pixels == nullptr)
        {
            return false;
        }
        const uint32_t bytes = TextureBytes(texture);
        if (cursor_ < minimum_ || cursor_ > maximum_ || bytes > maximum_ - cursor_)
        {
            if (!reportedFull_)
            {
                std::fprintf(stderr,
                             "Zarvo: texture memory is full; a %dx%d texture and others that "
                             "do not fit are not drawn\n",
                             texture.width, texture.height);
                reportedFull_ = true;
            }
            return false;
        }
        texture.sRange = shape->sRange;
        texture.negatedTRange = -shape->tRange;
        texture.glideInfo = {shape->lod, shape->lod, shape->aspectRatio,
                             static_cast<int32_t>(GlideFormatOf(texture.format)), texture.pixels};
        texture.textureAddress = cursor_;
        texture.downloaded = 1;
        cursor_ += bytes;
    }
    Send(texture);
    return true;
}

}  // namespace render
