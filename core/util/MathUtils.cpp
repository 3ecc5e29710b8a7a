#include "core/util/MathUtils.h"

#include <cmath>

float SqrtFloat(float x)
{
    return std::sqrt(x);
}

float SqrtDouble(double x)
{
    return SqrtFloat(static_cast<float>(x));
}
