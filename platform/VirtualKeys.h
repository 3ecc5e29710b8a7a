#pragma once

// Windows virtual-key codes: the game's key table, its control settings and its key
// listeners all speak in these numbers, whatever the machine's own key codes are.

#include <cstdint>

namespace vk
{
constexpr uint8_t LeftButton = 0x01;
constexpr uint8_t RightButton = 0x02;
constexpr uint8_t Back = 0x08;
constexpr uint8_t Tab = 0x09;
constexpr uint8_t Return = 0x0D;
constexpr uint8_t Shift = 0x10;
constexpr uint8_t Control = 0x11;
constexpr uint8_t Menu = 0x12;  // Alt
constexpr uint8_t Pause = 0x13;
constexpr uint8_t Capital = 0x14;
constexpr uint8_t Escape = 0x1B;
constexpr uint8_t Space = 0x20;
constexpr uint8_t Prior = 0x21;  // Page Up
constexpr uint8_t Next = 0x22;   // Page Down
constexpr uint8_t End = 0x23;
constexpr uint8_t Home = 0x24;
constexpr uint8_t Left = 0x25;
constexpr uint8_t Up = 0x26;
constexpr uint8_t Right = 0x27;
constexpr uint8_t Down = 0x28;
constexpr uint8_t Snapshot = 0x2C;  // Print Screen
constexpr uint8_t Insert = 0x2D;
constexpr uint8_t Delete = 0x2E;
constexpr uint8_t Digit0 = 0x30;   // '0'..'9' are 0x30..0x39
constexpr uint8_t LetterA = 0x41;  // 'A'..'Z' are 0x41..0x5A
constexpr uint8_t Numpad0 = 0x60;  // keypad digits are 0x60..0x69
constexpr uint8_t Multiply = 0x6A;
constexpr uint8_t Add = 0x6B;
constexpr uint8_t Subtract = 0x6D;
constexpr uint8_t Decimal = 0x6E;
constexpr uint8_t Divide = 0x6F;
constexpr uint8_t F1 = 0x70;  // F1..F12 are 0x70..0x7B
constexpr uint8_t F4 = 0x73;
constexpr uint8_t F12 = 0x7B;
constexpr uint8_t NumLock = 0x90;
constexpr uint8_t Scroll = 0x91;
constexpr uint8_t LeftShift = 0xA0;
constexpr uint8_t RightShift = 0xA1;
constexpr uint8_t LeftControl = 0xA2;
constexpr uint8_t RightControl = 0xA3;
constexpr uint8_t LeftMenu = 0xA4;
constexpr uint8_t RightMenu = 0xA5;
constexpr uint8_t Oem1 = 0xBA;       // ;:
constexpr uint8_t OemPlus = 0xBB;    // =+
constexpr uint8_t OemComma = 0xBC;   // ,<
constexpr uint8_t OemMinus = 0xBD;   // -_
constexpr uint8_t OemPeriod = 0xBE;  // .>
constexpr uint8_t Oem2 = 0xBF;       // /?
constexpr uint8_t Oem3 = 0xC0;       // `~
constexpr uint8_t Oem4 = 0xDB;       // [{
constexpr uint8_t Oem5 = 0xDC;       // \|
constexpr uint8_t Oem6 = 0xDD;       // ]}
constexpr uint8_t Oem7 = 0xDE;       // '"
constexpr uint8_t Oem102 = 0xE2;     // the extra key beside left Shift on 102-key boards

constexpr uint8_t Letter(char upper)
{
    return static_cast<uint8_t>(upper);
}
constexpr uint8_t Digit(int n)
{
    return static_cast<uint8_t>(Digit0 + n);
}
constexpr uint8_t Function(int n)
{
    return static_cast<uint8_t>(F1 + n - 1);
}
}  // namespace vk
