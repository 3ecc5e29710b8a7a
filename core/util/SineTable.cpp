#include "core/util/SineTable.h"

#include <cmath>

const float* g_sinTable = nullptr;
const float* g_cosTable = nullptr;

SineTable::SineTable() : values_(std::make_unique<std::array<float, kSineTableSize>>())
{
    // The angle is accumulated in single precision, step by step, as the table always was:
    // later entries carry the accumulated rounding, and every figure read from them does too.
    constexpr float kStep = 0.0015339808f;  // 2 pi / 4096
    float angle = 0.0f;
    for (float& value : *values_)
    {
        value = static_cast<float>(std::sin(static_cast<double>(angle)));
        angle += kStep;
    }
    g_sinTable = values_->data();
    g_cosTable = values_->data() + kSineStepsPerTurn / 4;
}

SineTable::~SineTable()
{
    g_sinTable = nullptr;
    g_cosTable = nullptr;
}
