#pragma once

// A rider profile's fixed-size texts as zero-terminated strings: a full field has no zero of
// its own.

#include <algorithm>
#include <array>
#include <cstddef>

template <size_t N>
std::array<char, N + 1> TerminatedText(const std::array<char, N>& field)
{
    std::array<char, N + 1> text{};
    std::copy_n(field.begin(), N, text.begin());
    return text;
}
