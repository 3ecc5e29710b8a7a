#pragma once

// The simulation's arithmetic: every transcendental function a race step uses, in single
// precision, through this one module, so that every peer of a network race and every replay
// computes the same values. Out of line on purpose: no call is folded at compile time with a
// result the running library would not give.

#include <numbers>

namespace sim
{
inline constexpr float kPi = std::numbers::pi_v<float>;
inline constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

float Sin(float angle);
float Cos(float angle);
float Tan(float angle);
float Atan(float value);
float Atan2(float y, float x);
// The arguments are brought into -1..1 first: a value just outside from rounding gives the
// end of the range, never NaN.
float Asin(float value);
float Acos(float value);
float Sqrt(float value);  // NaN for a negative value
float Pow(float base, float exponent);

// The angle brought into 0..2 pi, and into -pi..pi.
float WrapAngle(float angle);
float WrapSigned(float angle);
}  // namespace sim
