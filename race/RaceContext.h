#pragma once

// Everything a race simulation works on, in one object: the riders' bike records and profiles,
// the choices of the current race, the race object with its racing line and records, the
// standings and the shared random table. A test makes as many as it needs, side by side; the
// game has one, g_raceContext, and its g_ names below refer to that one's members.
//
// Main thread only, but for the player's rider number and the bike fields whose accessors say
// otherwise, which the input step on the timer thread reads.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "race/BikeRecord.h"
#include "race/BikeSetup.h"
#include "race/CurrentRace.h"
#include "race/RaceAiSystem.h"
#include "race/RandomTable.h"
#include "race/RiderProfile.h"
#include "race/laps/LapRecord.h"
#include "race/standings/RaceAttrition.h"
#include "race/standings/RaceStandings.h"

class CprArchive;

// The crash-out's hazard zone is the race object's, following the rider who leaves the race.
class RiderHazardZones : public HazardZoneOpener
{
public:
    explicit RiderHazardZones(RaceAi& race) : race_(race) {}
    bool OpenHazardZone(uint32_t rider) override { return race_.OpenHazardZone(rider, 1); }

private:
    RaceAi& race_;
};

class RaceContext
{
public:
    // The race object reads its records from the file at that game path.
    explicit RaceContext(std::string recordFilePath = std::string(RaceAiSystem::kRecordFileName));
    RaceContext(const RaceContext&) = delete;
    RaceContext& operator=(const RaceContext&) = delete;

    // The current circuit's racing line for the class, from the data archive (see
    // RaceAi::LoadRacingLine); its timing lines go into the standings.
    bool LoadRacingLine(CprArchive* dataArchive);

    // The riders of the current class from "Bikedaten/Fahrerdaten<class>.tst": a u16 rider
    // count, which becomes the race object's, and that many stored profiles. A file that is
    // missing, holds more than 26 riders or fewer profiles than it counts changes nothing:
    // false.
    bool LoadRiderProfiles();

    // The class's standard set-up "Raddaten/<class>Std.rdf" from the menu archive into every
    // bike, or the rider's own "Raddaten/<class><c1><c2>.rdf" where the profile names one and
    // it exists. A file that holds no rideable set-up counts as missing; without the standard
    // nothing changes: false.
    bool LoadClassBikeSetups(CprArchive* menuArchive, BikeClass bikeClass);

    // At a session's start, once the field's race statuses are set: the current class's
    // standard, then every computer rider (status 3, 5 and above) and every other rider whose
    // set-up does not fit the class gets its own file, or the standard where there is none or in
    // a network race. A player's fitting set-up is kept. Without the standard nothing changes:
    // false.
    bool LoadSessionBikeSetups(CprArchive* menuArchive);

    // Every rider's default "Raddaten/<class><c1>0.rdf", else the class standard; without the
    // standard nothing changes: false.
    bool LoadDefaultBikeSetups(CprArchive* menuArchive, BikeClass bikeClass);

    std::array<BikeRecord, kRiderCount> bikes{};
    std::atomic<uint32_t> playerRider{0};  // indexes bikes and the network peers
    CurrentRace current;
    RaceAiSystem race;
    std::array<RiderProfile, kRiderCount> riderProfiles;
    LapRecord lapRecord;    // the player's lap being recorded
    LapHeader lapHeader{};  // the session the player's laps are filed under
    RaceStandings standings;
    // The drop-out schedule and the computer riders' pace, driven by the standings; what it
    // asks of the computer riders it leaves in incidentRequests.
    IncidentRequests incidentRequests;
    RaceAttrition attrition{standings, race, bikes, riderProfiles, incidentRequests};
    RiderHazardZones hazardZones{race};
    RandomTable randomTable;
    BikeSetup classStandard{};  // the class's standard set-up, as last loaded

private:
    bool ReadClassStandard(CprArchive* menuArchive, BikeClass bikeClass);
};

extern RaceContext g_raceContext;

inline std::array<BikeRecord, kRiderCount>& g_bikes = g_raceContext.bikes;
inline std::atomic<uint32_t>& g_playerRider = g_raceContext.playerRider;
inline uint32_t& g_riderCount = g_raceContext.current.riderCount;
inline RaceAiSystem& g_race = g_raceContext.race;
inline std::array<RiderProfile, kRiderCount>& g_riderProfiles = g_raceContext.riderProfiles;
inline RaceStandings& g_standings = g_raceContext.standings;
inline RandomTable& g_randomTable = g_raceContext.randomTable;
inline uint8_t& g_observationMode = g_raceContext.current.observationMode;
