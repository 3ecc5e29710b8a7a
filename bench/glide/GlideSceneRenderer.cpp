#include "bench/glide/GlideSceneRenderer.h"

#include <cstdio>
#include <vector>

#include "glide/Glide.h"

namespace
{

GrColor Abgr(const uint8_t rgb[3])
{
    return 0xFF000000u | static_cast<GrColor>(rgb[2]) << 16 | static_cast<GrColor>(rgb[1]) << 8 |
           rgb[0];
}

class GlideSceneRenderer final : public SceneRenderer
{
public:
    explicit GlideSceneRenderer(const ReferenceScene& scene) : scene_(scene)
    {
        grGlideInit();
        if (!grSstWinOpen(nullptr, GrScreenResolution::Res640x480, GrScreenRefresh::Rate60Hz,
                          GrColorFormat::Abgr, GrOriginLocation::UpperLeft, 2, 1))
        {
            std::fprintf(stderr, "cannot open the board\n");
        }
        grDepthBufferMode(GrDepthBufferMode::WBuffer);
        grDepthBufferFunction(GrCmpFunction::LEqual);
        grDepthMask(true);
        grColorMask(true, false);
        grColorCombine(GrCombineFunction::ScaleOther, GrCombineFactor::Local,
                       GrCombineLocal::Iterated, GrCombineOther::Texture, false);
        grAlphaCombine(GrCombineFunction::ScaleOther, GrCombineFactor::Local,
                       GrCombineLocal::Constant, GrCombineOther::Texture, false);
        grConstantColorValue(0xFF000000u);
        grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::OneMinusSrcAlpha,
                             GrBlendFactor::One, GrBlendFactor::Zero);
        grTexCombine(GrChipId::Tmu0, GrCombineFunction::Local, GrCombineFactor::None,
                     GrCombineFunction::Local, GrCombineFactor::None, false, false);
        const GrTextureFilterMode filter =
            scene.bilinear ? GrTextureFilterMode::Bilinear : GrTextureFilterMode::PointSampled;
        grTexFilterMode(GrChipId::Tmu0, filter, filter);
        grTexClampMode(GrChipId::Tmu0, GrTextureClampMode::Wrap, GrTextureClampMode::Wrap);
        grDitherMode(GrDitherMode::Dither4x4);

        const uint32_t address = grTexMinAddress(GrChipId::Tmu0);
        GrTexInfo info{GrLod::Lod256, GrLod::Lod256, GrAspectRatio::Aspect1x1,
                       GrTextureFormat::Rgb565, const_cast<uint16_t*>(scene.texture.data())};
        grTexDownloadMipMap(GrChipId::Tmu0, address, GrMipMapLevelMask::Both, &info);
        grTexSource(GrChipId::Tmu0, address, GrMipMapLevelMask::Both, &info);

        GrFog fog[kGrFogTableSize];
        guFogGenerateLinear(fog, scene.fogNear, scene.fogFar);
        grFogTable(fog);
        grFogColorValue(Abgr(scene.fogColour));
        grFogMode(GrFogMode::WithTable);

        // The texture spans 0..256 in s and t, one unit a texel.
        for (const auto& quad : scene.quads)
        {
            std::array<GrVertex, 4> vertices{};
            for (size_t i = 0; i < quad.size(); ++i)
            {
                const SceneVertex& v = quad[i];
                GrVertex& g = vertices[i];
                g.x = v.x;
                g.y = v.y;
                g.r = v.r;
                g.g = v.g;
                g.b = v.b;
                g.a = 255.0f;
                g.oow = 1.0f / v.w;
                g.tmuvtx[0].oow = g.oow;
                g.tmuvtx[0].sow = v.s * g.oow;
                g.tmuvtx[0].tow = v.t * g.oow;
            }
            quads_.push_back(vertices);
        }
    }

    ~GlideSceneRenderer() override { grGlideShutdown(); }

    const char* Name() const override { return "glide"; }

    void DrawFrame() override
    {
        grBufferClear(Abgr(scene_.clearColour), 0, 0xFFFF);
        for (const auto& quad : quads_)
        {
            grDrawPolygonVertexList(static_cast<int>(quad.size()), quad.data());
        }
        grBufferSwap(1);
    }

    const uint16_t* Pixels(int& pitchPixels) override
    {
        GrLfbInfo info{};
        grLfbLock(GrLock::ReadOnly, GrBuffer::FrontBuffer, GrLfbWriteMode::Rgb565,
                  GrOriginLocation::UpperLeft, false, &info);
        grLfbUnlock(GrLock::ReadOnly, GrBuffer::FrontBuffer);
        pitchPixels = static_cast<int>(info.strideInBytes / 2);
        return static_cast<const uint16_t*>(info.lfbPtr);
    }

private:
    const ReferenceScene& scene_;
    std::vector<std::array<GrVertex, 4>> quads_;
};

}  // namespace

std::unique_ptr<SceneRenderer> MakeGlideRenderer(const ReferenceScene& scene)
{
    return std::make_unique<GlideSceneRenderer>(scene);
}
