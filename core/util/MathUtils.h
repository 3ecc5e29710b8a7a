#pragma once

// The square root of physics, camera, motion and world code. Results are rounded to single
// precision so that every peer of a network race computes the same values.

// A negative x gives NaN.
float SqrtFloat(float x);

// x is rounded to single precision first.
float SqrtDouble(double x);
