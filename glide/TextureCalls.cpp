// The texture unit's calls. There is one unit; the unit argument names it.

#include <cstring>

#include "glide/Board.h"
#include "glide/Glide.h"

namespace
{

glide::TextureUnit& Unit()
{
    return glide::TheBoard().textures;
}

}  // namespace

void grTexCombine(GrChipId /*tmu*/, GrCombineFunction rgbFunction, GrCombineFactor /*rgbFactor*/,
                  GrCombineFunction alphaFunction, GrCombineFactor /*alphaFactor*/, bool rgbInvert,
                  bool alphaInvert)
{
    Unit().SetCombine(rgbFunction, alphaFunction, rgbInvert, alphaInvert);
    glide::StateChanged();
}

void grTexFilterMode(GrChipId /*tmu*/, GrTextureFilterMode /*minFilter*/,
                     GrTextureFilterMode magFilter)
{
    Unit().SetBilinear(magFilter == GrTextureFilterMode::Bilinear);
    glide::StateChanged();
}

void grTexMipMapMode(GrChipId /*tmu*/, GrMipMapMode /*mode: one level only*/, bool /*lodBlend*/) {}

void grTexClampMode(GrChipId /*tmu*/, GrTextureClampMode /*sMode: always wrap*/,
                    GrTextureClampMode /*tMode*/)
{
}

uint32_t grTexMinAddress(GrChipId /*tmu*/)
{
    return Unit().MinAddress();
}

uint32_t grTexMaxAddress(GrChipId /*tmu*/)
{
    return Unit().MaxAddress();
}

void grTexSource(GrChipId /*tmu*/, uint32_t startAddress, GrMipMapLevelMask /*levels*/,
                 const GrTexInfo* info)
{
    if (info == nullptr)
    {
        return;
    }
    Unit().Select(startAddress, *info);
    glide::StateChanged();
}

void grTexDownloadMipMap(GrChipId /*tmu*/, uint32_t startAddress, GrMipMapLevelMask /*levels*/,
                         const GrTexInfo* info)
{
    if (info != nullptr)
    {
        glide::FinishDrawing();  // queued triangles may read the memory it overwrites
        Unit().Download(startAddress, *info);
    }
}

void grTexDownloadTable(GrChipId /*tmu*/, GrTexTable type, const void* data)
{
    if (type != GrTexTable::Palette || data == nullptr)
    {
        return;
    }
    uint32_t words[kGrPaletteSize];
    std::memcpy(words, data, sizeof words);
    glide::FinishDrawing();  // queued triangles may use the old palette
    Unit().LoadPalette(words);
}
