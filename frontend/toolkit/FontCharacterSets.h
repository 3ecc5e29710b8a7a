#pragma once

// The characters of the menu and race fonts in the order of their picture's cells, as
// Windows-1252 strings.

// Space, A-Z, a-z, ":.,-()", degree sign, "%/?", 0-9, the German and accented letters.
inline constexpr char kCharacterSetA[] =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz:.,-()\xB0%/?0123456789"
    "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xE1\xE2\xE0\xE9\xEA\xE8\xED\xEE\xEC\xF3\xF4\xF2\xFA\xFB\xF9";
// Tab, A-Z, a-z, "1234567890.:", acute accent, "-#!$" and the double quote.
inline constexpr char kCharacterSetB[] =
    "\tABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890.:\xB4-#!$\"";
// Tab, A-Z, a-z, ":.,-()", degree sign, "^%/?", 0-9 and the German letters.
inline constexpr char kCharacterSetC[] =
    "\tABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz:.,-()\xB0^%/?0123456789"
    "\xC4\xD6\xDC\xE4\xF6\xFC\xDF";
inline constexpr char kRaceSymbolCharacters[] = "ABCDEFGHIJKL";
inline constexpr char kBigDigitCharacters[] = "0123456789.:";
