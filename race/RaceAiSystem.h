#pragma once

// The race object: the racing line, the computer riders' state and the table of circuit
// records, which lives in the record file for the whole run. The game's one instance reads the
// file when it is made and writes it back when it goes, and only when a record changed. Main
// thread only.

#include <cstdint>
#include <string>
#include <string_view>

#include "race/CircuitRecords.h"
#include "race/RaceAi.h"

class RaceAiSystem : public RaceAi
{
public:
    static constexpr std::string_view kRecordFileName = "TempDaten/system.cpr";

    // Reads the records from the file at the game path (see CircuitRecords::Decode).
    explicit RaceAiSystem(std::string recordFilePath = std::string(kRecordFileName));
    // Saves the records when one changed.
    ~RaceAiSystem();
    RaceAiSystem(const RaceAiSystem&) = delete;
    RaceAiSystem& operator=(const RaceAiSystem&) = delete;

    // Takes a rider's lap as a record (CircuitRecords::Offer); a new record is saved with the
    // others when the object goes.
    bool OfferLapRecord(BikeClass bikeClass, CircuitId circuit, uint32_t rider, int32_t lapMs);

    // Replaces the record file with the table, whole or not at all; false when it cannot be
    // written, the table then still counting as changed.
    bool SaveRecords();

    bool recordsDirty = false;
    CircuitRecords records;
    uint32_t sessionsToSkip = 0;  // set by the session menu, taken by the next session start

private:
    std::string recordFilePath_;
};
