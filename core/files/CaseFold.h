#pragma once

// The game's one notion of "the same letter": each pair maps its first byte to its second.
// 'A'..'Z' fold to 'a'..'z' and the Windows-1252 umlauts Ö, Ü, Ä to ö, ü, ä; ß stays; every
// other byte is its own fold. File names on disk and names in archives compare with it.

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr std::string_view kCaseFoldPairs =
    "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz\xD6\xF6\xDC\xFC\xC4\xE4\xDF\xDF";

constexpr std::array<uint8_t, 256> BuildCaseFoldTable()
{
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i)
    {
        table[i] = static_cast<uint8_t>(i);
    }
    for (size_t i = 0; i + 1 < kCaseFoldPairs.size(); i += 2)
    {
        table[static_cast<uint8_t>(kCaseFoldPairs[i])] =
            static_cast<uint8_t>(kCaseFoldPairs[i + 1]);
    }
    return table;
}

inline constexpr std::array<uint8_t, 256> kCaseFold = BuildCaseFoldTable();

constexpr uint8_t FoldCase(uint8_t byte)
{
    return kCaseFold[byte];
}
