#pragma once

// The race object's computer-rider level over the racing line: the rider being worked on, the
// ghost lap, the session's rider count and laps, and who takes part. Each step of the race the
// simulation calls HoldStartRevs before the start and UpdateRiders from the start on; they work
// on the race the object is part of (Attach). Main thread only.

#include <array>
#include <cstdint>
#include <string>

#include "race/BikeRecord.h"
#include "race/RacingLine.h"

class CprArchive;
class RaceContext;
class RaceServices;
class RaceSim;
struct CurrentRace;
struct LapRecord;
struct StandingsHeadRecord;

class RaceAi : public RacingLine
{
public:
    static constexpr uint32_t kNoGhost = 100;
    static constexpr uint16_t kDefaultTotalLaps = 35;

    RaceAi() = default;
    ~RaceAi() { Reset(); }
    RaceAi(const RaceAi&) = delete;
    RaceAi& operator=(const RaceAi&) = delete;

    // Replaces the line with the current circuit's for the class (at most 2, written back into
    // the race) from the data archive: "Streckendaten/<circuit><n>.wgf", n the class plus 3 at
    // difficulty 2, else "Streckendaten/<circuit>/<circuit><class>.weg"; the file's timing lines
    // go into head. A file that is missing, short or not usable (IsUsableRacingLine) counts as
    // missing, and without a usable file the line, the head and the grip offset stay as they
    // were: false.
    bool LoadRacingLine(CprArchive* dataArchive, CurrentRace& race, StandingsHeadRecord& head);

    // The race whose riders, profiles, choices and standings this object works on; attached
    // once by the race context that holds it.
    void Attach(RaceContext& context) { context_ = &context; }

    // Before the race-start step: the grid's riders hold their revs; armed once the start
    // lights have begun.
    void HoldStartRevs(bool armed);
    // One step of every rider of the race from the start on: the riders 0..riderCount-1 of
    // the step's simulation.
    void UpdateRiders(RaceSim& sim, uint32_t riderCount);

    // The session start, after the line is loaded: the hazard zone and counters cleared, the
    // class's launch constants, every rider's block on its target node and its performance
    // factor by difficulty, class and weather; the start-line bound.
    void PrepareRaceStart();
    // The riders in the race on consecutive start slots in g_gridOrder order (equal values in
    // rider order), at rest and facing along the line.
    void PlaceRidersOnGrid();
    // A race from the grid, before the machines' physics is set up: the session start, the
    // field on its slots, every rider's tyres and gears and the computer riders' brakes.
    void PrepareGridStart();
    // Practice and ghost sessions: on the line behind the start for a flying start, else in
    // the pit lane's slots from the first practice slot on.
    void PlaceRidersForPractice(bool flying);
    // A practice, qualifying, warm-up or test ride: the session start with the field in the
    // pit lane's slots instead of on the grid, or behind the start for a flying start.
    void PreparePracticeStart(bool flying);
    // The player's rider after a fall: standing on the nearest end of the lanes across its
    // target node, facing along the line, in first gear.
    void PutRiderBackOnLine(uint32_t rider);
    // The player's rider becomes the current rider, with its lap recording started afresh and
    // the ghost playing: on the line behind the start (toTrack, after a flying start), else in
    // its pit box. Its current lap is timed again from the next crossing of the start line.
    void SelectRider(bool toTrack);
    // Standing at the edge of the lanes 350 line units and more behind the start, held until
    // the start releases it (status 4).
    void MovePlayerToTrack();
    // Standing in its pit box before its first exit (status 2), asking for the pit lane.
    void MovePlayerToPitBox();
    // The trackside camera of the stretch where the rider rides, when the line has one.
    void ViewStretchOf(uint32_t rider);
    // The time gap in ms from rider a to rider b (b the rider placed just ahead); b then
    // becomes a, for the next call. -1 when a is not in the race.
    int32_t EstimateGapMs(uint32_t a, uint32_t& b) const;
    // The start phase: the front of the grid gets warmer tyres and keener riding for the first
    // 35 s; false once it is over.
    bool UpdateStartPhase(float raceTime);
    // The brakes of every rider in the race from the class, difficulty and skill tables.
    void AssignAiParameters();
    // The tyres of the riders first..last-1 and the circuit's abrasion and grip floor.
    void AssignBikeTuning(uint32_t first, uint32_t last);
    // Every rider's gears whole again: reserves of over-revving that grow with the race's
    // laps, longer for the higher gears.
    void FillGearReserves();
    // The current rider's machine prepared afresh for its way out of the pit box: its tyres
    // and the field's brakes, the engine at 60 deg C, fresh tyres.
    void RetuneCurrentRider();

    // One hazard zone at a time, 15 s long: around a node (mode 0) or following a rider (mode
    // 1). False while one is open.
    bool OpenHazardZone(uint32_t nodeOrRider, uint32_t mode);
    // Ends the zone once it is old and neither the viewed rider nor a player rides inside it.
    void ExpireHazard();
    // Whether a's place gained on b inside a hazard zone is excused (b lapped, slow, fallen,
    // or the zone too new); an excused gain moves a's reference place up.
    void OnPositionGained(uint32_t a, uint32_t b);
    // Takes the rider out of the race for good (final status -9).
    void RetireRider(uint32_t rider);

    // Squared x/z distance from the current rider to a node; 1e7 for no node.
    float NodeDistanceSq(uint32_t node) const;
    // Starts a line change of the rider towards side 0 or 1 for reason 0..2; false when
    // refused.
    bool ChangeLine(uint32_t rider, uint32_t side, uint32_t reason);
    // The first rider in the race whose main-line node lies from the node's (a lane node's
    // through its side links) to two nodes beyond it and that the current rider closes on
    // (ahead of it and slower) or that closes on it (behind and faster); 65535 for none.
    uint32_t FindRiderOnStretch(uint32_t node);
    // The rider the current one is to pass next: the nearest slower rider within 40 main-line
    // nodes ahead, else the rider placed one better in the standings, else the viewed rider.
    uint32_t FindNextPlaceRider();
    // The current rider moves one lane towards a rider on another stretch ahead (none when it
    // rides the own lane there) and holds its speed behind it; true when the change started.
    bool ShadowRider(uint32_t rider);

    BikeRecord* currentBike = nullptr;  // the rider the computer-rider code works on
    uint32_t currentRider = 0;
    LapRecord* ghostRecord = nullptr;  // owned by the ghost session
    uint32_t ghostTag = kNoGhost;      // the ghost's lap count, kNoGhost without one
    std::string ghostFileName = "GhostFile";
    uint16_t riderCount = 0;  // riders of the session: g_bikes and the profiles up to it
    uint16_t totalLaps = kDefaultTotalLaps;
    uint32_t startPhase = 0;
    uint32_t startLineBound = 0;  // node bound of the start line
    uint32_t startGridMode = 0;   // riders were placed behind the start line for a flying start
    std::array<uint32_t, kRiderCount> inRace{};  // 1 while the rider takes part
    // The circuit's grip from the line's grip factor; the track surface grips 1.0 + 0.18 x it.
    float gripOffset = 0.0f;
    std::string scratchName;

    // The computer riders' state of the session.
    static constexpr uint32_t kNoHazardZone = 0x0FFFFFFF;
    struct HazardZone
    {
        uint32_t firstNode = kNoHazardZone;  // main-line nodes of the zone
        uint32_t lastNode = 0;
        uint32_t rider = 0;  // the rider a following zone rides with
        uint32_t mode = 0;   // 0 around a node, 1 behind a rider
        float expiry = 0.0f;
        bool active = false;
    };
    float stepLength = 0.04f;
    float raceTime = 0.0f;  // of the step being worked on
    HazardZone hazard;
    std::array<float, 3> launchConstants{};
    float lineAccelerationValue = 0.0f;  // sqrt(9 x the line's acceleration)
    std::array<float, 2> savedTyreHeatBases{};
    float trackAbrasion = 0.0f;    // the tyre preparation's, for the race's parameters
    float minimumTyreGrip = 0.0f;  // likewise
    float targetSpeed = 111.111f;  // of the current rider's step
    uint32_t steeringSide = 0;     // 1: the aim point lies on the non-negative lateral side
    uint32_t incidentCounter = 1000;
    // Squared distance within which a computer rider keeps clear of a player's rider.
    float cautionDistanceSq = 64.0f;
    std::array<int32_t, kRiderCount> hazardPlace{};  // the reference place inside a zone
    // The ten pit crews; slot 9 is kept for the player's rider.
    static constexpr uint32_t kPitCrews = 10;
    std::array<uint8_t, kPitCrews> pitCrewBusy{};
    float lastPracticeDeparture = -1e9f;         // race time a computer rider last left its pit box
    float playerFinishTime = -1.0f;              // race time the player's rider finished
    uint32_t neighbourViewRider = kRiderCount;   // the watched rider the camera moved on from
    static constexpr uint8_t kCelebrations = 3;  // each rider's below first place
    std::array<uint8_t, kRiderCount> celebrationsLeft{};
    RaceServices* services = nullptr;  // of the step being worked on; never null inside it

private:
    static constexpr uint32_t kPitLaneViewNodes = 20;
    static constexpr float kTimedSessionOverrun = 360.0f;  // s past the session's length
    static constexpr float kAfterPlayerFinished = 20.0f;   // s

    // The watched rider deep in the pit lane: the camera moves on to a rider on the track.
    void ViewAwayFromPitBoxes();
    // The race-end flag once every rider is classified and the time is up; a timed session
    // also ends a while after its length or after the player's rider finished.
    void CheckSessionEnd(bool unclassified);

    RaceContext* context_ = nullptr;
};
