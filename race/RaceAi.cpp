#include "race/RaceAi.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "core/archive/DAFile.h"
#include "race/CurrentRace.h"
#include "race/RacingLineFile.h"

namespace
{
// The one circuit whose line file holds a trackside camera a metre too low.
constexpr CircuitId kLowCameraCircuit = CircuitId::Sentul;
constexpr size_t kLowCamera = 19;
constexpr float kLowCameraRaise = 1.0f;
constexpr uint32_t kOwnLinesDifficulty = 2;
constexpr uint32_t kOwnLinesOffset = 3;

float GripOffset(float gripFactor)
{
    return gripFactor >= 1.0f ? (gripFactor - 1.0f) * 0.5f : (1.0f / gripFactor - 1.0f) * -0.5f;
}
}  // namespace

bool RaceAi::LoadRacingLine(CprArchive* dataArchive, CurrentRace& race, StandingsHeadRecord& head)
{
    const uint32_t bikeClass = std::min<uint32_t>(ToIndex(race.bikeClass) & 3, 2);
    race.bikeClass = static_cast<BikeClass>(bikeClass);
    const uint32_t fileNumber =
        bikeClass + (race.difficulty == kOwnLinesDifficulty ? kOwnLinesOffset : 0);
    const std::string circuit(race.circuitName);
    const std::string names[] = {
        "Streckendaten/" + circuit + std::to_string(fileNumber) + ".wgf",
        "Streckendaten/" + circuit + "/" + circuit + std::to_string(bikeClass) + ".weg"};

    const auto line = std::make_unique<RacingLine>();
    StandingsHeadRecord lineHead;
    const bool found = std::any_of(
        std::begin(names), std::end(names),
        [&](const std::string& name)
        {
            const std::optional<std::vector<uint8_t>> bytes = ReadWholeIfPresent(dataArchive, name);
            return bytes && DecodeRacingLineFile(*bytes, *line, lineHead) &&
                   IsUsableRacingLine(*line, lineHead);
        });
    if (!found)
    {
        return false;
    }
    static_cast<RacingLine&>(*this) = *line;
    head = lineHead;
    if (race.circuitIndex == kLowCameraCircuit)
    {
        tvCameras[kLowCamera].y += kLowCameraRaise;
    }
    gripOffset = GripOffset(gripFactor);
    return true;
}
