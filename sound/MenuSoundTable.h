#pragma once

// The menu-sound table "sound/menusounds.dat": which sound each menu button plays when it
// lights up and when it is pressed, and the list of sound files. Little-endian:
//
//   offset  size             field
//   0       4                u32 count of sound files, at most 99
//   4       2400             100 button entries of 24 bytes, by menu button number:
//                              u32 highlighted sound, f32 pitch (Hz), f32 volume,
//                              u32 pressed sound, f32 pitch (Hz), f32 volume
//   2404    (count+1) x 260  sound files 0..count: a 256-byte zero-terminated name, then
//                            4 bytes written as 0; file 0 holds no sound
//
// A sound index names a file of the list; 0 is none.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct ButtonSound
{
    uint32_t sound = 0;  // index into the file list, 0 = none
    float pitch = 0.0f;  // Hz
    float volume = 0.0f;
};

struct ButtonSoundEntry
{
    ButtonSound highlighted;
    ButtonSound pressed;
};

struct MenuSoundTable
{
    static constexpr size_t kButtonCount = 100;
    static constexpr uint32_t kMaxSounds = 99;
    static constexpr size_t kNameSize = 256;
    static constexpr size_t kEntrySize = 24;
    static constexpr size_t kFileRecordSize = 260;
    static constexpr size_t kHeadSize = 4 + kButtonCount * kEntrySize;  // 2404

    std::array<ButtonSoundEntry, kButtonCount> buttons{};
    // Entry 0 is the empty name of "no sound"; entries 1..SoundCount() name the files.
    std::vector<std::string> files{std::string()};

    uint32_t SoundCount() const { return static_cast<uint32_t>(files.size() - 1); }
};

// A table from the bytes of the file. Nothing for a count above 99 or a file shorter than its
// count needs; sound indexes beyond the count read as 0 and every name ends at its 256th byte.
std::optional<MenuSoundTable> ParseMenuSoundTable(std::span<const uint8_t> bytes);

// The bytes of the file: 2664 + 260 x count.
std::vector<uint8_t> BuildMenuSoundTable(const MenuSoundTable& table);
