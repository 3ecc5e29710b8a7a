#pragma once

// Readable names for the cases of parameterised tests: ctest lists them, and GoogleTest accepts
// only letters, digits and underscores. Each helper gives such a name; the suite keeps them
// unique.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace case_names
{
// "ten effect sounds, all there" -> "TenEffectSoundsAllThere".
std::string Words(std::string_view text);

// 1.5 -> "1_5", -40000 -> "Minus40000", -0.0 -> "Minus0", NaN -> "NaN", infinity -> "Infinity".
std::string Number(float value);

// Letters and digits stay, every other byte becomes "_XX" in hex; "" -> "Empty".
std::string Bytes(std::string_view bytes);

// Names cases by their `name` member, written as words.
struct ByName
{
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return Words(info.param.name);
    }
};
}  // namespace case_names
