#pragma once

// The nations of riders and lap-record holders, numbered 0..12: names and short codes in
// each language. Texts are Windows-1252.

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr size_t kNationCount = 13;

// The nation whose German name begins with the given name (compared over the given name's
// length), or -1; an empty name is no nation.
int32_t FindNation(std::string_view germanName);

// In g_language; empty for a number that is no nation.
const char* GetNationCode(int32_t nation);
const char* GetNationName(int32_t nation);
