#pragma once

// The settings of the pixel pipeline, as the gr* setters leave them.

#include "glide/Glide.h"

namespace glide
{

struct ClipWindow
{
    int minX = 0;
    int minY = 0;
    int maxX = 0;  // exclusive
    int maxY = 0;  // exclusive
};

struct CombineSetting
{
    GrCombineFunction function;
    GrCombineFactor factor;
    GrCombineLocal local;
    GrCombineOther other;
    bool invert;
};

// The state the gr* setters change, at its reset values.
struct RenderState
{
    ClipWindow clip;
    bool colourWrite = true;
    bool depthWrite = false;
    GrDepthBufferMode depthMode = GrDepthBufferMode::Disable;
    GrCmpFunction depthFunction = GrCmpFunction::Less;
    GrDitherMode dither = GrDitherMode::Dither4x4;
    // Texel x iterated colour; texel alpha.
    CombineSetting colourCombine{GrCombineFunction::ScaleOther, GrCombineFactor::Local,
                                 GrCombineLocal::Iterated, GrCombineOther::Texture, false};
    CombineSetting alphaCombine{GrCombineFunction::ScaleOther, GrCombineFactor::One,
                                GrCombineLocal::Constant, GrCombineOther::Texture, false};
    GrBlendFactor blendSource = GrBlendFactor::One;
    GrBlendFactor blendDestination = GrBlendFactor::Zero;
    GrColor constant = 0;  // ABGR
    GrFogMode fogMode = GrFogMode::Disable;
    GrFog fogTable[kGrFogTableSize] = {};
    GrColor fogColour = 0;  // ABGR
    float gamma = 1.0f;
};

}  // namespace glide
