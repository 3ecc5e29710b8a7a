#pragma once

// The shared sine table: 5120 f32 values at 4096 steps a turn (a turn and a quarter), so that
// the cosine table is the same block read 1024 entries in. Built by the main routine for the
// whole run; both pointers are null while no table exists. Main thread only.

#include <array>
#include <cstddef>
#include <memory>

inline constexpr size_t kSineStepsPerTurn = 4096;
inline constexpr size_t kSineTableSize = kSineStepsPerTurn + kSineStepsPerTurn / 4;

extern const float* g_sinTable;
extern const float* g_cosTable;

// Builds the table and publishes it; the pointers are cleared when the object goes.
class SineTable
{
public:
    SineTable();
    ~SineTable();
    SineTable(const SineTable&) = delete;
    SineTable& operator=(const SineTable&) = delete;

private:
    std::unique_ptr<std::array<float, kSineTableSize>> values_;
};
