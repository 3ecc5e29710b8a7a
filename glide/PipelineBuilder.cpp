// Decoding the render state into the pipeline the span routines run.

#include "glide/Board.h"
#include "glide/Colour.h"

namespace glide
{
namespace
{

CombineSource LocalSource(GrCombineLocal local)
{
    return local == GrCombineLocal::Constant ? CombineSource::Constant : CombineSource::Iterated;
}

CombineSource OtherSource(GrCombineOther other)
{
    switch (other)
    {
        case GrCombineOther::Iterated:
            return CombineSource::Iterated;
        case GrCombineOther::Texture:
            return CombineSource::Texel;
        case GrCombineOther::Constant:
            return CombineSource::Constant;
        default:
            return CombineSource::Zero;
    }
}

struct CombineProduct
{
    CombineSource a = CombineSource::Zero;
    CombineSource b = CombineSource::Zero;
};

CombineProduct Decode(const CombineSetting& setting)
{
    switch (setting.function)
    {
        case GrCombineFunction::Local:
            return {LocalSource(setting.local), CombineSource::One};
        case GrCombineFunction::ScaleOther:
            switch (setting.factor)
            {
                case GrCombineFactor::Local:
                    return {OtherSource(setting.other), LocalSource(setting.local)};
                case GrCombineFactor::One:
                    return {OtherSource(setting.other), CombineSource::One};
                default:
                    return {};
            }
        default:
            return {};
    }
}

BlendKind KindOf(GrBlendFactor source, GrBlendFactor destination)
{
    if (source == GrBlendFactor::One && destination == GrBlendFactor::Zero)
    {
        return BlendKind::Replace;
    }
    if (source == GrBlendFactor::SrcAlpha && destination == GrBlendFactor::OneMinusSrcAlpha)
    {
        return BlendKind::SourceOver;
    }
    return BlendKind::General;
}

Pipeline Build(Board& board)
{
    const RenderState& state = board.state;
    Pipeline p;
    p.colour = board.buffers.Back();
    p.colourStride = board.buffers.ColourStride();
    p.depth = board.buffers.Depth();
    p.depthStride = board.buffers.Width();

    p.depthOn = state.depthMode == GrDepthBufferMode::WBuffer;
    p.depthFunction = static_cast<uint32_t>(state.depthFunction) & 7u;
    p.depthWrite = state.depthWrite;

    p.sampler = board.textures.Sampler(p.texels);
    p.texelKeep = board.textures.OutputKeep();
    p.texelInvert = board.textures.OutputInvert();

    const CombineProduct colour = Decode(state.colourCombine);
    const CombineProduct alpha = Decode(state.alphaCombine);
    p.colourA = colour.a;
    p.colourB = colour.b;
    p.colourInvert = state.colourCombine.invert ? 0x00FFFFFFu : 0u;
    p.alphaA = alpha.a;
    p.alphaB = alpha.b;
    p.alphaInvert = state.alphaCombine.invert ? 0xFF : 0;
    p.constant = AbgrToArgb(state.constant);

    p.fogOn = state.fogMode == GrFogMode::WithTable;
    if (p.fogOn)
    {
        if (!board.fogByDepth)
        {
            board.fogByDepth = MakeFogByDepth(state.fogTable);
        }
        p.fogKeep = board.fogByDepth;
        p.fog = p.fogKeep->data();
    }
    const uint32_t fogColour = AbgrToArgb(state.fogColour);
    p.fogRed = Red(fogColour);
    p.fogGreen = Green(fogColour);
    p.fogBlue = Blue(fogColour);

    p.blendSource = state.blendSource;
    p.blendDestination = state.blendDestination;
    p.colourWrite = state.colourWrite;
    p.dither = state.dither == GrDitherMode::Dither4x4 ? &Dither4x4Table() : &TruncatingTable();
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 4; ++x)
        {
            const int threshold = p.dither->threshold[y][x];
            p.ditherAdds[y][x * 4 + 0] = static_cast<int16_t>(threshold / 2);
            p.ditherAdds[y][x * 4 + 1] = static_cast<int16_t>(threshold / 4);
            p.ditherAdds[y][x * 4 + 2] = static_cast<int16_t>(threshold / 2);
        }
    }

    const bool textureUsed = colour.a == CombineSource::Texel || colour.b == CombineSource::Texel ||
                             alpha.a == CombineSource::Texel || alpha.b == CombineSource::Texel;
    const TexelKind texel = !textureUsed                ? TexelKind::None
                            : board.textures.Bilinear() ? TexelKind::Bilinear
                                                        : TexelKind::Point;
    const bool commonCombine = textureUsed && colour.a == CombineSource::Texel &&
                               colour.b == CombineSource::Iterated && p.colourInvert == 0 &&
                               alpha.a == CombineSource::Texel &&
                               alpha.b == CombineSource::Constant && p.alphaInvert == 0 &&
                               p.texelKeep == 0xFFFFFFFFu && p.texelInvert == 0;
    const BlendKind blend = KindOf(p.blendSource, p.blendDestination);
    // Source-over of a surely opaque source is a replace, which need not read the stored pixel.
    const bool opaque = commonCombine && board.textures.OpaqueTexels() && Alpha(p.constant) == 255;
    const BlendKind triangleBlend =
        blend == BlendKind::SourceOver && opaque ? BlendKind::Replace : blend;
    const SpanFunction vectorSpan =
        commonCombine ? ChooseVectorSpanFunction(board.spanRoutines, texel, p.fogOn, triangleBlend)
                      : nullptr;
    p.triangleSpan = vectorSpan != nullptr
                         ? vectorSpan
                         : ChooseSpanFunction(texel, commonCombine, p.fogOn, triangleBlend);
    p.lineSpan = ChooseSpanFunction(texel, false, p.fogOn, blend);
    return p;
}

}  // namespace

const Pipeline& CurrentPipeline()
{
    Board& board = TheBoard();
    if (board.pipelineStale || board.pipelines.empty())
    {
        board.pipelines.push_back(Build(board));
        board.pipelineStale = false;
    }
    return board.pipelines.back();
}

void FinishDrawing()
{
    Board& board = TheBoard();
    if (board.queue.Empty())
    {
        return;
    }
    board.queue.Draw();
    // Only the current pipeline can still be used.
    while (board.pipelines.size() > 1)
    {
        board.pipelines.pop_front();
    }
}

}  // namespace glide
