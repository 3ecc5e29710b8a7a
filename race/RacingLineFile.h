#pragma once

// The racing-line file ("Streckendaten/<circuit><n>.wgf", or ".weg" in a folder of the
// circuit's own): the image of the racing line, 249,920 bytes in the order and at the offsets
// of RacingLine's fields, then the 76-byte timing-line head record; little-endian, no header of
// its own. Bytes after those 249,996 are ignored.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "race/RacingLine.h"
#include "race/StandingsHeadRecord.h"

inline constexpr size_t kRacingLineImageSize = sizeof(RacingLine);
inline constexpr size_t kRacingLineFileSize = kRacingLineImageSize + StandingsHeadRecord::kSize;

// Takes the file's fields as they stand; false, with nothing changed, for fewer than
// kRacingLineFileSize bytes.
bool DecodeRacingLineFile(std::span<const uint8_t> bytes, RacingLine& line,
                          StandingsHeadRecord& head);
std::vector<uint8_t> EncodeRacingLineFile(const RacingLine& line, const StandingsHeadRecord& head);

// Whether a line can be raced on without an index leaving it: the index spaces in order
// (pitLaneFirstNode <= pitLaneEndNode <= linkLimit <= nodeCount <= 4750) with a main lap of at
// least one node that the per-node tables cover; a grip factor the tyres can divide by; at most
// 40 cameras and 70 start slots; every next and previous link a node of the line or kNoNode,
// on the main lap always a node; start slots, timing nodes and the finish zone on nodes of the
// line; a speed-trap line of the three.
bool IsUsableRacingLine(const RacingLine& line, const StandingsHeadRecord& head);
