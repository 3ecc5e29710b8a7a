#pragma once

// The short time texts of the panels.

#include <array>
#include <cstdint>

// Whole seconds as two-digit minutes, a colon and two-digit seconds, held to 00:00 .. 99:59.
std::array<char, 6> SessionClockText(int32_t seconds);
// A practice lap of 12: the lap (a blank before one digit), a slash and 12; held to 0..99.
std::array<char, 6> PracticeLapText(int32_t lap);
// "m:ss:mmm" of a section or lap time; with a sign, "+" or "-" before the value's size.
std::array<char, 16> SectionTimeText(int32_t ms);
std::array<char, 16> DeltaTimeText(int32_t ms);
