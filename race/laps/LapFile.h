#pragma once

// The lap file ".fhr": one LapRecord as "Tempdaten/Daten_Runde%u.fhr" (the laps of the running
// session) and as "save/ghost/%s%u.fhr" (the player's ghosts, exchanged between players). Little
// endian, 40 + 112 n bytes, no framing:
//
//   offset  bytes  field
//   0       4      u32 n, the sample count (0..5400)
//   4       16     u16 header[8]
//   20      4      u32 valid
//   24      16     i32 times[4]
//   40      2n     u16 node
//   then    4n     f32 groundX, groundZ, raceTime, suspensionFront, suspensionRear,
//                  acceleration, tyreFront, tyreRear (8 arrays)
//   then    2n     u16 power, brake, speed, rpm, throttle, steering (6 arrays)
//   then    n      u8 gear, temperature (2 arrays)
//   then    4n     f32 pose channels 0..15 (16 arrays)
//
// A file's arrays start wherever the one before ends: fields are copied byte by byte. Files come
// from anywhere, so a reader refuses a count above 5400 and a file shorter than its count says,
// just as a missing file; it never changes a record from a file it refuses. Main thread only.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "race/laps/LapRecord.h"

inline constexpr size_t kLapFileHeadSize = 40;
inline constexpr size_t kLapFileBytesPerSample = 112;

constexpr size_t LapFileSize(size_t sampleCount)
{
    return kLapFileHeadSize + kLapFileBytesPerSample * sampleCount;
}

// The whole file of the record.
std::vector<uint8_t> StoreLapFile(const LapRecord& record);
// Takes a whole file into the record and sets its ghostStart; bytes after the lap are not read.
bool LoadLapFile(std::span<const uint8_t> bytes, LapRecord& record);
// Takes only the head (n, header, valid, times), as the ghost list does.
bool LoadLapFileHead(std::span<const uint8_t> bytes, LapRecord& record);

// Replaces the file with the record's; the old file stays whole until the new one is complete.
bool WriteLapFile(std::string_view path, const LapRecord& record);
bool ReadLapFile(std::string_view path, LapRecord& record);

// "Tempdaten/Daten_Runde%u.fhr".
std::string SessionLapPath(uint32_t lap);

// What the pit box may do with a lap of the session.
enum class LapFileCheck : uint8_t
{
    Unusable = 0,      // missing, damaged, not valid or too long
    Usable = 3,        // a valid timed lap
    LoadedGhost = 11,  // a valid lap that is the ghost already loaded
};
// Checks the session's lap file; a ghost that has the file's n, rider and four times is the file's
// own lap.
LapFileCheck CheckLapFile(uint32_t lap, const LapRecord* ghost);

// "save/ghost/NAME%u.fhr" with the first free number 0..199; nothing when all are taken or the
// name would reach out of the folder.
inline constexpr uint32_t kGhostFileNumbers = 200;
std::optional<std::string> FreeGhostPath(std::string_view ghostName);
// Stores a valid record as the first free ghost file of the name, its folder created; the path
// written, or nothing when the record is not valid, all names are taken or the write fails.
std::optional<std::string> SaveAsGhost(const LapRecord& record, std::string_view ghostName);
