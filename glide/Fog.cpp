#include "glide/Fog.h"

#include <algorithm>
#include <cmath>

namespace glide
{

double FogTableW(int index)
{
    return std::ldexp(1.0, 3 + (index >> 2)) / (8 - (index & 3));
}

FogRamp MakeFogRamp(const GrFog table[kGrFogTableSize])
{
    FogRamp ramp{};
    for (int i = 0; i < kGrFogTableSize; ++i)
    {
        ramp.level[i] = table[i];
        ramp.rise[i] = i + 1 < kGrFogTableSize ? table[i + 1] - table[i] : 0;
    }
    return ramp;
}

std::shared_ptr<const FogByDepth> MakeFogByDepth(const GrFog table[kGrFogTableSize])
{
    const FogRamp ramp = MakeFogRamp(table);
    auto fog = std::make_shared<FogByDepth>();
    for (uint32_t depth = 0; depth < fog->size(); ++depth)
    {
        (*fog)[depth] = static_cast<uint8_t>(FogAmount(ramp, depth));
    }
    return fog;
}

}  // namespace glide

void guFogGenerateLinear(GrFog table[kGrFogTableSize], float nearW, float farW)
{
    for (int i = 0; i < kGrFogTableSize; ++i)
    {
        const double w = glide::FogTableW(i);
        double fraction = 0.0;
        if (farW == nearW)
        {
            // No ramp to spread over: full fog from the far distance on.
            fraction = w >= farW ? 1.0 : 0.0;
        }
        else
        {
            fraction = std::clamp((w - nearW) / (static_cast<double>(farW) - nearW), 0.0, 1.0);
        }
        // NaN distances give no fog rather than an undefined conversion.
        table[i] = std::isnan(fraction) ? 0 : static_cast<GrFog>(255.0 * fraction);
    }
}
