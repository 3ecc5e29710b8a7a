#include "render/draw/Overlays.h"

#include <algorithm>
#include <array>
#include <optional>

#include "glide/Glide.h"
#include "render/RenderState.h"
#include "render/Screen.h"
#include "render/TextureStore.h"
#include "render/draw/ConstantColour.h"

namespace render
{
namespace
{

constexpr GrColor kWhite = 0xFFFFFFFFu;

// Screen corners and texel coordinates of the part of an overlay inside the clip rectangle.
struct OverlayQuad
{
    float x0, y0, x1, y1;
    float u0, v0, u1, v1;
};

// Nothing when the rectangle is empty or lies wholly outside the clip rectangle.
std::optional<OverlayQuad> CutToClip(const OverlayRect& rect, const Rect& clip)
{
    const int64_t right = int64_t{rect.x} + rect.width;
    const int64_t bottom = int64_t{rect.y} + rect.height;
    if (rect.width <= 0 || rect.height <= 0 || rect.x > clip.right || right < clip.left ||
        rect.y > clip.bottom || bottom < clip.top)
    {
        return std::nullopt;
    }
    const double width = rect.width;
    const double height = rect.height;
    double x0 = rect.x;
    double x1 = static_cast<double>(right);
    double y0 = rect.y;
    double y1 = static_cast<double>(bottom);
    double u0 = rect.u;
    double u1 = static_cast<double>(rect.u) + rect.du;
    double v0 = rect.v;
    double v1 = static_cast<double>(rect.v) + rect.dv;
    if (x0 < clip.left)
    {
        u0 += rect.du * (clip.left - x0) / width;
        x0 = clip.left;
    }
    if (x1 > clip.right)
    {
        u1 -= rect.du * (x1 - clip.right) / width;
        x1 = clip.right;
    }
    if (y0 < clip.top)
    {
        v0 += rect.dv * (clip.top - y0) / height;
        y0 = clip.top;
    }
    if (y1 > clip.bottom)
    {
        v1 -= rect.dv * (y1 - clip.bottom) / height;
        y1 = clip.bottom;
    }
    if (x1 <= x0 || y1 <= y0)
    {
        return std::nullopt;
    }
    const auto f = [](double value) { return static_cast<float>(value); };
    return OverlayQuad{f(x0), f(y0), f(x1), f(y1), f(u0), f(v0), f(u1), f(v1)};
}

// The texture of the slot when it can be drawn: it exists and is in texture memory.
const Texture* DrawableTexture(const TextureStore& textures, int32_t slot)
{
    const Texture* texture = textures.Get(slot);
    return texture != nullptr && texture->downloaded != 0 ? texture : nullptr;
}

void SelectTexture(const Texture& texture)
{
    const TextureGlideInfo& described = texture.glideInfo;
    const GrTexInfo info{static_cast<GrLod>(described.smallLod),
                         static_cast<GrLod>(described.largeLod),
                         static_cast<GrAspectRatio>(described.aspectRatio),
                         static_cast<GrTextureFormat>(described.format), texture.pixels};
    if (texture.format == kTextureFormatPalette8 && texture.palette != nullptr)
    {
        grTexDownloadTable(GrChipId::Tmu0, GrTexTable::Palette, texture.palette);
    }
    grTexSource(GrChipId::Tmu0, texture.textureAddress, GrMipMapLevelMask::Both, &info);
}

GrVertex Corner(float x, float y, float u, float v, const Texture* texture, float oow, GrColor tint)
{
    GrVertex vertex{};
    vertex.x = x;
    vertex.y = y;
    vertex.r = static_cast<float>(tint & 0xFF);
    vertex.g = static_cast<float>((tint >> 8) & 0xFF);
    vertex.b = static_cast<float>((tint >> 16) & 0xFF);
    vertex.a = 255.0f;
    vertex.oow = oow;
    if (texture != nullptr)
    {
        // Texel units to the board's texture space, where the longer side spans 0..256.
        const float s =
            u * static_cast<float>(texture->sRange) / static_cast<float>(texture->width);
        const float t =
            v * static_cast<float>(-texture->negatedTRange) / static_cast<float>(texture->height);
        vertex.tmuvtx[0] = {s * oow, t * oow, oow};
    }
    return vertex;
}

void DrawOverlay(Screen& screen, const TextureStore& textures, const Rect& clip,
                 const OverlayRect& rect, float depth, GrColor tint, bool additive)
{
    screen.ReleaseLfb();
    if (!screen.IsActive())
    {
        return;
    }
    const std::optional<OverlayQuad> quad = CutToClip(rect, clip);
    const Texture* texture = rect.texture >= 0 ? DrawableTexture(textures, rect.texture) : nullptr;
    if (!quad || (rect.texture >= 0 && texture == nullptr))
    {
        return;
    }
    const auto alpha = static_cast<GrColor>(std::clamp(rect.alpha, 0, 255));
    if (texture != nullptr)
    {
        SetRenderStateDefaults();
        SelectTexture(*texture);
    }
    else
    {
        UseConstantColourAndAlpha();
        grDitherMode(GrDitherMode::Disable);
    }
    grConstantColorValue(alpha << 24);
    if (additive)
    {
        grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::One, GrBlendFactor::One,
                             GrBlendFactor::Zero);
    }
    const float oow = OneOverDepth(depth);
    const std::array<GrVertex, 4> corners{
        Corner(quad->x0, quad->y0, quad->u0, quad->v0, texture, oow, tint),
        Corner(quad->x1, quad->y0, quad->u1, quad->v0, texture, oow, tint),
        Corner(quad->x1, quad->y1, quad->u1, quad->v1, texture, oow, tint),
        Corner(quad->x0, quad->y1, quad->u0, quad->v1, texture, oow, tint),
    };
    grDrawPolygonVertexList(static_cast<int>(corners.size()), corners.data());
    SetRenderStateDefaults();
}

}  // namespace

void DrawRect(Screen& screen, const TextureStore& textures, const Rect& clip,
              const OverlayRect& rect, float depth)
{
    DrawOverlay(screen, textures, clip, rect, depth, kWhite, false);
}

void DrawFlare(Screen& screen, const TextureStore& textures, const Rect& clip,
               const OverlayRect& rect, int32_t red, int32_t green, int32_t blue)
{
    const GrColor tint = static_cast<GrColor>(red & 0xFF) |
                         static_cast<GrColor>(green & 0xFF) << 8 |
                         static_cast<GrColor>(blue & 0xFF) << 16 | 0xFF000000u;
    DrawOverlay(screen, textures, clip, rect, 1.0f, tint, true);
}

}  // namespace render
