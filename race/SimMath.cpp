#include "race/SimMath.h"

#include <algorithm>
#include <cmath>

#include "core/util/MathUtils.h"

namespace sim
{
float Sin(float angle)
{
    return std::sin(angle);
}

float Cos(float angle)
{
    return std::cos(angle);
}

float Tan(float angle)
{
    return std::tan(angle);
}

float Atan(float value)
{
    return std::atan(value);
}

float Atan2(float y, float x)
{
    return std::atan2(y, x);
}

float Asin(float value)
{
    return std::asin(std::clamp(value, -1.0f, 1.0f));
}

float Acos(float value)
{
    return std::acos(std::clamp(value, -1.0f, 1.0f));
}

float Sqrt(float value)
{
    return SqrtFloat(value);
}

float Pow(float base, float exponent)
{
    return std::pow(base, exponent);
}

float WrapAngle(float angle)
{
    const float wrapped = std::fmod(angle, kTwoPi);
    return wrapped < 0.0f ? wrapped + kTwoPi : wrapped;
}

float WrapSigned(float angle)
{
    const float wrapped = WrapAngle(angle);
    return wrapped > kPi ? wrapped - kTwoPi : wrapped;
}
}  // namespace sim
