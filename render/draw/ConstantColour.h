#pragma once

// Colour and alpha both from the board's constant colour, for untextured overlays and lines.

#include "glide/Glide.h"

namespace render
{

inline void UseConstantColourAndAlpha()
{
    grColorCombine(GrCombineFunction::Local, GrCombineFactor::None, GrCombineLocal::Constant,
                   GrCombineOther::None, false);
    grAlphaCombine(GrCombineFunction::Local, GrCombineFactor::None, GrCombineLocal::Constant,
                   GrCombineOther::None, false);
}

// The 1 / W of overlay and line vertices at depth W; depths that are not positive count as 1.
inline float OneOverDepth(float depth)
{
    return 1.0f / (depth > 0.0f ? depth : 1.0f);
}

}  // namespace render
