#pragma once

// The circuits' scenery table: for each of the 18 circuit keys the file names of its sky,
// scenery, track and transparent-parts models, its track texture set, collision model, dust
// and gravel sets and extras (cones, sun, fog, surface values); for each weather its fog, sun,
// wetness and surface tuning; and what is the same everywhere (the surface response table, the
// start lights). Names are Windows-1252 archive paths, spelt exactly as the data set spells
// them. Pure data and functions of it; no state.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/game/GameEnums.h"
#include "core/world/MeshRecords.h"
#include "race/RaceParameters.h"

namespace content
{
struct FogRange
{
    float nearDistance;
    float farDistance;
};

// sky, scenery, track: in the order of the nodes and of the fog tables.
inline constexpr size_t kFogLayers = 3;

struct WeatherRow
{
    float trackWetness;
    float weatherFactor;
    std::array<FogRange, kFogLayers> fog;
    std::array<uint32_t, kFogLayers> fogColour;  // 0xRRGGBB
    bool sun;
};

struct ConePlace
{
    float x;
    float z;
};

struct CircuitRow
{
    std::string_view key;
    std::string_view directory;  // of its objects below "objekte/"
    std::string_view trackStem;
    std::string_view textureStem;
    std::string_view collisionModel;  // below "objekte/kolision/"
    uint16_t dustSetA;
    uint16_t dustSetB;
    // Fine weather names of track and transparent parts where they differ from the pattern.
    std::string_view fineTrackModel;
    std::string_view fineTrackAlphaModel;
    bool lowerCaseTextureLetter = false;
    std::optional<std::array<FogRange, kFogLayers>> fineFog;
    std::span<const ConePlace> cones;
    std::optional<Vector3> ownSunOffset;
    std::optional<Vector3> observationSunOffset;
    bool ownClass6 = false;
};

inline constexpr Vector3 kSunOffset = {0.0f, 18274.0f, 40000.0f};
inline constexpr std::string_view kConeCollisionBody = "objekte/spezial/huetchen_col.4do";
inline constexpr uint32_t kConeObjectNumber = 16;
inline constexpr double kConeRange = 80.0;

// The row whose key equals the name byte for byte; nothing for any other name.
const CircuitRow* FindCircuit(std::string_view name);
std::span<const CircuitRow> Circuits();

// Weather 0..2; the circuit's own fine-weather fog where it has one.
const WeatherRow& WeatherOf(Weather weather);
std::array<FogRange, kFogLayers> FogOf(const CircuitRow& circuit, Weather weather);
// The sun's offset below the track, nothing in dull weather and rain.
std::optional<Vector3> SunOffsetOf(const CircuitRow& circuit, Weather weather,
                                   bool observationMode);

std::string SkyModelName(const CircuitRow& circuit, Weather weather);
std::string SceneryModelName(const CircuitRow& circuit, Weather weather);
std::string TrackModelName(const CircuitRow& circuit, Weather weather);
std::string TrackAlphaModelName(const CircuitRow& circuit, Weather weather);
std::string TrackTextureSetName(const CircuitRow& circuit, Weather weather);
std::string CollisionModelName(const CircuitRow& circuit);
std::string ConeModelName(const CircuitRow& circuit);
// The five pictures of dust set NNN in slot order: sand dust, gravel trail, three stones.
std::array<std::string, 5> DustTextureNames(uint16_t set);
inline constexpr int32_t kDustSlotsA = 1200;
inline constexpr int32_t kDustSlotsB = 1205;
// The class's ideal line on the circuit.
std::string IdealLineModelName(const CircuitRow& circuit, BikeClass bikeClass);

// gripOffset: the racing line's circuit value (L = 1.0 + 0.18 x it).
SurfaceTuning MakeSurfaceTuning(const CircuitRow& circuit, Weather weather, float gripOffset);
const SurfaceResponseTable& ResponseTable();

struct StartLight
{
    std::string_view model;
    uint32_t objectNumber;
    double range;
    Vector3 offset;
};
inline constexpr size_t kStartLights = 8;
inline constexpr float kStartLightHeading = 4.0f;
const std::array<StartLight, kStartLights>& StartLights();
}  // namespace content
