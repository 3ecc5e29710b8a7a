// The setters of the pixel pipeline's state.

#include <algorithm>

#include "glide/Board.h"
#include "glide/Glide.h"

namespace
{

glide::RenderState& State()
{
    return glide::TheBoard().state;
}

}  // namespace

void grColorMask(bool rgb, bool /*alpha: there is no alpha buffer*/)
{
    State().colourWrite = rgb;
    glide::StateChanged();
}

void grDepthMask(bool enable)
{
    State().depthWrite = enable;
    glide::StateChanged();
}

void grDepthBufferMode(GrDepthBufferMode mode)
{
    State().depthMode = mode;
    glide::StateChanged();
}

void grDepthBufferFunction(GrCmpFunction function)
{
    State().depthFunction = function;
    glide::StateChanged();
}

void grGammaCorrectionValue(float gamma)
{
    State().gamma = gamma;
}

void grDitherMode(GrDitherMode mode)
{
    State().dither = mode;
    glide::StateChanged();
}

void grHints(GrHint /*type*/, uint32_t /*value: texture perspective always uses the unit's w*/) {}

void grColorCombine(GrCombineFunction function, GrCombineFactor factor, GrCombineLocal local,
                    GrCombineOther other, bool invert)
{
    State().colourCombine = {function, factor, local, other, invert};
    glide::StateChanged();
}

void grAlphaCombine(GrCombineFunction function, GrCombineFactor factor, GrCombineLocal local,
                    GrCombineOther other, bool invert)
{
    State().alphaCombine = {function, factor, local, other, invert};
    glide::StateChanged();
}

void grAlphaBlendFunction(GrBlendFactor rgbSource, GrBlendFactor rgbDestination,
                          GrBlendFactor /*alphaSource*/, GrBlendFactor /*alphaDestination*/)
{
    State().blendSource = rgbSource;
    State().blendDestination = rgbDestination;
    glide::StateChanged();
}

void grConstantColorValue(GrColor colour)
{
    State().constant = colour;
    glide::StateChanged();
}

void grFogMode(GrFogMode mode)
{
    State().fogMode = mode;
    glide::StateChanged();
}

void grFogTable(const GrFog table[kGrFogTableSize])
{
    if (table == nullptr)
    {
        return;
    }
    GrFog* const current = State().fogTable;
    if (std::equal(table, table + kGrFogTableSize, current))
    {
        return;  // the lookup made for it still holds
    }
    std::copy(table, table + kGrFogTableSize, current);
    glide::TheBoard().fogByDepth = nullptr;
    glide::StateChanged();
}

void grFogColorValue(GrColor colour)
{
    State().fogColour = colour;
    glide::StateChanged();
}
