#pragma once

// How an animation frame follows from the one before: the picture and the frame's difference
// picture are taken as little-endian 32-bit words, and each picture word becomes picture word
// minus difference word (modulo 2^32). A tail shorter than a word is taken the same way as one
// 16-bit word and a last byte.

#include <cstdint>
#include <span>

namespace render
{

// difference holds at least as many bytes as picture.
void SubtractDifference(std::span<uint8_t> picture, std::span<const uint8_t> difference);

}  // namespace render
