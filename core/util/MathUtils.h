#pragma once

#include <cstdint>

// The square root of physics, camera, motion and world code. Results are rounded to single
// precision so that every peer of a network race computes the same values.

// A negative x gives NaN.
float SqrtFloat(float x);

// x is rounded to single precision first.
float SqrtDouble(double x);

// Truncated toward zero, as the game turns floats into integers; values beyond the range
// saturate and NaN gives 0.
int32_t TruncateToInt32(float x);
