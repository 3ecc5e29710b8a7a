#include "tests/glide/GlideTestScene.h"

#include "glide/GlideOptions.h"

GrVertex Vertex(float x, float y, float w, GrColor colour, float s, float t)
{
    GrVertex v{};
    v.x = x;
    v.y = y;
    v.r = static_cast<float>(colour & 0xFF);
    v.g = static_cast<float>((colour >> 8) & 0xFF);
    v.b = static_cast<float>((colour >> 16) & 0xFF);
    v.a = static_cast<float>(colour >> 24);
    v.oow = 1.0f / w;
    v.tmuvtx[0].oow = 1.0f / w;
    v.tmuvtx[0].sow = s / w;
    v.tmuvtx[0].tow = t / w;
    return v;
}

std::vector<GrVertex> Rectangle(float x0, float y0, float x1, float y1, float w, GrColor colour,
                                float s0, float t0, float s1, float t1)
{
    return {Vertex(x0, y0, w, colour, s0, t0), Vertex(x1, y0, w, colour, s1, t0),
            Vertex(x1, y1, w, colour, s1, t1), Vertex(x0, y1, w, colour, s0, t1)};
}

void Draw(const std::vector<GrVertex>& polygon)
{
    grDrawPolygonVertexList(static_cast<int>(polygon.size()), polygon.data());
}

void UseConstantColour(GrColor colour)
{
    grConstantColorValue(colour);
    grColorCombine(GrCombineFunction::Local, GrCombineFactor::None, GrCombineLocal::Constant,
                   GrCombineOther::None, false);
    grAlphaCombine(GrCombineFunction::Local, GrCombineFactor::None, GrCombineLocal::Constant,
                   GrCombineOther::None, false);
}

void UseIteratedColour()
{
    grColorCombine(GrCombineFunction::Local, GrCombineFactor::None, GrCombineLocal::Iterated,
                   GrCombineOther::None, false);
    grAlphaCombine(GrCombineFunction::Local, GrCombineFactor::None, GrCombineLocal::Constant,
                   GrCombineOther::None, false);
}

void UseTextureTimesIterated()
{
    grColorCombine(GrCombineFunction::ScaleOther, GrCombineFactor::Local, GrCombineLocal::Iterated,
                   GrCombineOther::Texture, false);
    grAlphaCombine(GrCombineFunction::ScaleOther, GrCombineFactor::Local, GrCombineLocal::Constant,
                   GrCombineOther::Texture, false);
}

void LoadTexture(uint32_t address, GrLod lod, GrAspectRatio aspect, GrTextureFormat format,
                 const void* texels)
{
    GrTexInfo info{lod, lod, aspect, format, const_cast<void*>(texels)};
    grTexDownloadMipMap(GrChipId::Tmu0, address, GrMipMapLevelMask::Both, &info);
    grTexSource(GrChipId::Tmu0, address, GrMipMapLevelMask::Both, &info);
}

void GlideScene::SetUp()
{
    GlideOptions options;
    options.colourStrideBytes = kPaddedStrideBytes;
    options.spanRoutines = spanRoutines_;
    SetGlideOptions(options);
    grGlideInit();
    ASSERT_TRUE(grSstWinOpen(nullptr, GrScreenResolution::Res512x384, GrScreenRefresh::Rate60Hz,
                             GrColorFormat::Abgr, GrOriginLocation::UpperLeft, 2, 1));
    SetPresentCallback(
        [](const GlideFrame& frame, void* user)
        {
            auto* scene = static_cast<GlideScene*>(user);
            PresentedFrame copy{frame.width, frame.height, frame.pitchBytes, frame.gamma, {}};
            const auto* bytes = reinterpret_cast<const uint8_t*>(frame.pixels);
            for (int y = 0; y < frame.height; ++y)
            {
                const auto* row = reinterpret_cast<const uint16_t*>(bytes + y * frame.pitchBytes);
                copy.pixels.insert(copy.pixels.end(), row, row + frame.width);
            }
            scene->presented_.push_back(std::move(copy));
        },
        this);

    // The state the render library sets when it opens the screen.
    grDepthBufferMode(GrDepthBufferMode::WBuffer);
    grDepthBufferFunction(GrCmpFunction::LEqual);
    grDepthMask(true);
    UseTextureTimesIterated();
    grConstantColorValue(0xFF000000u);
    grAlphaBlendFunction(GrBlendFactor::SrcAlpha, GrBlendFactor::OneMinusSrcAlpha,
                         GrBlendFactor::One, GrBlendFactor::Zero);
    grTexFilterMode(GrChipId::Tmu0, GrTextureFilterMode::PointSampled,
                    GrTextureFilterMode::PointSampled);
    grTexMipMapMode(GrChipId::Tmu0, GrMipMapMode::Disable, false);
    grColorMask(true, false);
    grTexCombine(GrChipId::Tmu0, GrCombineFunction::Local, GrCombineFactor::None,
                 GrCombineFunction::Local, GrCombineFactor::None, false, false);
    grTexClampMode(GrChipId::Tmu0, GrTextureClampMode::Wrap, GrTextureClampMode::Wrap);
    grHints(GrHint::StwHint, kGrStwHintTmu0WDiffers);
    grDitherMode(GrDitherMode::Dither4x4);
}

void GlideScene::TearDown()
{
    grGlideShutdown();
    SetPresentCallback(nullptr, nullptr);
    SetGlideOptions(GlideOptions{});
}

FrameView565 GlideScene::BackBuffer()
{
    GrLfbInfo info{};
    EXPECT_TRUE(grLfbLock(GrLock::ReadOnly, GrBuffer::BackBuffer, GrLfbWriteMode::Rgb565,
                          GrOriginLocation::UpperLeft, false, &info));
    grLfbUnlock(GrLock::ReadOnly, GrBuffer::BackBuffer);
    return {static_cast<const uint16_t*>(info.lfbPtr), kScreenWidth, kScreenHeight,
            static_cast<int>(info.strideInBytes)};
}

void GlideScene::Clear(GrColor colour)
{
    grBufferClear(colour, 0, 0xFFFF);
}

void GlideScene::ExpectGolden(const std::string& name, int width, int height, uint64_t hash)
{
    EXPECT_TRUE(MatchesGolden("glide-" + name, BackBuffer().Region(0, 0, width, height), hash,
                              std::string(ZARVO_GOLDEN_DIR) + "/" + name + ".bmp"));
}

void GlideScene::ExpectUntouchedOutside(int width, int height, uint16_t clearPixel)
{
    const FrameView565 frame = BackBuffer();
    int touched = 0;
    for (int y = 0; y < frame.height; ++y)
    {
        for (int x = 0; x < frame.width; ++x)
        {
            if ((x >= width || y >= height) && frame.At(x, y) != clearPixel)
            {
                ++touched;
            }
        }
    }
    EXPECT_EQ(touched, 0) << "pixels written outside the drawn area";
}

std::string SpanRoutinesName(const ::testing::TestParamInfo<GlideSpanRoutines>& info)
{
    switch (info.param)
    {
        case GlideSpanRoutines::Fastest:
            return "Fastest";
        case GlideSpanRoutines::OnePixel:
            return "OnePixel";
        case GlideSpanRoutines::FourWide:
            return "FourWide";
        case GlideSpanRoutines::EightWide:
            return "EightWide";
    }
    return "Unknown";
}
