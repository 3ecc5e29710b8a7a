#pragma once

// The loader's work on the ground: the racing line's heights, surfaces and derived values
// (slope, heading and the line's edge equation), the places of the crash figures, and each
// machine set on the ground under its wheels. Every index read from the racing line is
// checked before it is followed: a damaged line gives fewer values, never a read outside it.
// Pure functions of their arguments; main thread.

#include <cstdint>
#include <optional>
#include <vector>

class GroundMesh;
class RacingLine;
struct BikeRecord;

namespace content
{
inline constexpr uint32_t kGroundSeries = 0xAFFE;  // a cache that names no triangle
inline constexpr uint8_t kNoSurfaceCode = 0xFF;

// Along the linked line from node 0: each node's height is the ground's under it; then every
// node's surface code (kNoSurfaceCode off the ground) into surfaces; then along the linked
// line each node's slope, heading and edge equation towards its next node, the equation's
// (a, b) the unit normal (dz, -dx) / d, so that a x + b z + c is the signed distance from the
// line. A node on the same spot as its next one takes the previous node's values, slope 0.
void RunRacingLineGroundPass(RacingLine& line, const GroundMesh& ground,
                             std::vector<uint8_t>& surfaces);

struct CrashFigurePlace
{
    float x;
    float z;
    float heading;  // looking from the previous node towards this one
};
inline constexpr uint32_t kCrashFigures = 10;
// The start slot of the practice slots' offset + figure (at most the last slot); nothing when
// the line has no start slots.
std::optional<CrashFigurePlace> CrashFigurePlaceOf(const RacingLine& line, uint32_t figure);

// The machine on the ground at its position and heading: the reference triangle, the two
// contact points with their heights and triangles, the reference height between them, the
// ground trail. A point off the ground takes the height of the racing-line node the bike is
// at. Returns the reference height.
float PlaceOnGround(BikeRecord& bike, const GroundMesh& ground, const RacingLine& line);
}  // namespace content
