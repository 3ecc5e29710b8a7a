#include "core/util/MathUtils.h"

#include <cmath>
#include <limits>

float SqrtFloat(float x)
{
    return std::sqrt(x);
}

float SqrtDouble(double x)
{
    return SqrtFloat(static_cast<float>(x));
}

int32_t TruncateToInt32(float x)
{
    // 2^31 is exact in a float; every float below it truncates into range.
    constexpr float kLimit = 2147483648.0f;
    if (std::isnan(x))
    {
        return 0;
    }
    if (x >= kLimit)
    {
        return std::numeric_limits<int32_t>::max();
    }
    if (x < -kLimit)
    {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(x);
}
