#pragma once

// The telemetry screen's circuit maps: per circuit number, how the circuit's ground plane is
// turned and scaled onto the 2D map of the screen. "course.dat" holds 20 records of 16 bytes,
// little-endian, no header:
//
//   offset  type  meaning
//   0       f32   rotation of the map, radians
//   4       f32   scale, map pixels per world unit
//   8       i32   screen x of the world origin
//   12      i32   screen y of the world origin

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

struct CourseMapRecord
{
    float angle = 0.0f;
    float scale = 0.0f;
    int32_t originX = 0;
    int32_t originY = 0;
};

struct MapPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

class CourseMaps
{
public:
    static constexpr size_t kRecords = 20;
    static constexpr size_t kRecordSize = 16;
    static constexpr size_t kFileSize = kRecords * kRecordSize;

    CourseMaps();  // the built-in table

    // Takes the table from a whole "course.dat". A file of another size, or one with a
    // rotation or scale that is no finite number, leaves the built-in table: false.
    bool Load(std::span<const uint8_t> bytes);

    // A circuit number beyond the table gets an empty map (everything at the origin).
    const CourseMapRecord& Record(uint32_t circuit) const;

    // (x cos a + z sin a) s + X, Y - (z cos a - x sin a) s, truncated.
    MapPoint Project(uint32_t circuit, float x, float z) const;

private:
    std::array<CourseMapRecord, kRecords> m_records{};
};
