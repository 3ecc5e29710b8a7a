#pragma once

// Provisional: the simulation's one route to the transcendental functions, in single
// precision, until the simulation maths module lands.

#include <cmath>

namespace simmath
{
inline float Sin(float x)
{
    return std::sin(x);
}
inline float Cos(float x)
{
    return std::cos(x);
}
inline float Tan(float x)
{
    return std::tan(x);
}
inline float Asin(float x)
{
    return std::asin(x);
}
inline float Acos(float x)
{
    return std::acos(x);
}
inline float Atan(float x)
{
    return std::atan(x);
}
}  // namespace simmath
