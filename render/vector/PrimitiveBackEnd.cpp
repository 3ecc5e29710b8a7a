#include "render/vector/PrimitiveBackEnd.h"

#include <algorithm>

#include "core/world/WorldObject.h"
#include "render/RenderLibrary.h"

namespace render::vector
{
namespace
{
// The frame's W-buffer depth is 0.1 / z; the texture w is scaled with the field of view.
constexpr float kDepthScale = 0.1f;

struct PrimitiveState
{
    uint32_t currentTexture = 0xFFFFFFFF;
    const Texture* lastSource = nullptr;
    const uint32_t* lastPalette = nullptr;
    float textureWFactor = 0.1f;
};

PrimitiveState& State()
{
    static PrimitiveState state;
    return state;
}

int32_t BeginFrame(float horizontalScale)
{
    const float depthFactor = std::max(0.0f, horizontalScale / 600.0f - 1.0f);
    State().textureWFactor = depthFactor * 1.53f + 0.1f;
    return TheLibrary().screen.IsActive() ? 1 : 0;
}

void SetFog(const WorldObject& object)
{
    grFogTable(object.fogTable.get());
    grFogColorValue(object.fogColour);
}

void DepthTestOn()
{
    grDepthBufferFunction(GrCmpFunction::LEqual);
}

void DepthTestOff()
{
    grDepthBufferFunction(GrCmpFunction::Always);
}

void DepthWriteOn()
{
    grDepthMask(true);
}

void DepthWriteOff()
{
    grDepthMask(false);
}

void Nop() {}

void FilterBilinear()
{
    grTexFilterMode(GrChipId::Tmu0, GrTextureFilterMode::Bilinear, GrTextureFilterMode::Bilinear);
}

void FilterPoint()
{
    grTexFilterMode(GrChipId::Tmu0, GrTextureFilterMode::PointSampled,
                    GrTextureFilterMode::PointSampled);
}

void ColourOpaque()
{
    grConstantColorValue(0xFF000000u);
}

void ColourObject(const WorldObject& object)
{
    grConstantColorValue(object.colour);
}

// The texture the polygon is drawn with, selected on the board; null when it cannot be: a
// number outside the table, an empty slot, or a picture that never reached texture memory.
const Texture* Select(PrimitiveState& state)
{
    const Texture* texture = TheLibrary().textures.Get(static_cast<int32_t>(state.currentTexture));
    if (texture == nullptr || texture->downloaded == 0)
    {
        return nullptr;
    }
    if (texture != state.lastSource)
    {
        state.lastSource = texture;
        const TextureGlideInfo& described = texture->glideInfo;
        const GrTexInfo info{static_cast<GrLod>(described.smallLod),
                             static_cast<GrLod>(described.largeLod),
                             static_cast<GrAspectRatio>(described.aspectRatio),
                             static_cast<GrTextureFormat>(described.format), described.data};
        grTexSource(GrChipId::Tmu0, texture->textureAddress, GrMipMapLevelMask::Both, &info);
    }
    if (texture->palette != nullptr && texture->palette != state.lastPalette)
    {
        state.lastPalette = texture->palette;
        grTexDownloadTable(GrChipId::Tmu0, GrTexTable::Palette, texture->palette);
    }
    return texture;
}

void SelectTexture(int32_t count, GrVertex* vertices)
{
    PrimitiveState& state = State();
    const Texture* texture = Select(state);
    if (texture == nullptr || count > kMaxDrawnVertices)
    {
        return;
    }
    const float g = state.textureWFactor;
    const auto sScale = static_cast<float>(texture->sRange);
    const auto tScale = static_cast<float>(texture->negatedTRange);
    for (int32_t i = 0; i < count; ++i)
    {
        GrVertex& vertex = vertices[i];
        const float w = vertex.oow;
        GrTmuVertex& tmu = vertex.tmuvtx[0];
        vertex.oow = w * kDepthScale;
        tmu.oow = w * g;
        tmu.sow = w * g * tmu.sow * sScale;
        tmu.tow = w * g * tmu.tow * tScale;
    }
    grDrawPolygonVertexList(count, vertices);
}

constexpr GlidePrimitiveTable kTable = {
    BeginFrame, SetFog,         DepthTestOn, DepthTestOff, DepthWriteOn, DepthWriteOff, Nop,
    Nop,        FilterBilinear, FilterPoint, ColourOpaque, ColourObject, SelectTexture, Nop,
};
}  // namespace

const GlidePrimitiveTable& PrimitiveTable()
{
    return kTable;
}

void SetCurrentTexture(uint32_t textureNumber)
{
    State().currentTexture = textureNumber;
}

void ResetPrimitiveState()
{
    PrimitiveState& state = State();
    state.currentTexture = 0xFFFFFFFF;
    state.lastSource = nullptr;
    state.lastPalette = nullptr;
}
}  // namespace render::vector
