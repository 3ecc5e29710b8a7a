#pragma once

// What the standings know of the running session: its kind and laps, and the race object's
// riders. The session start fills it before RaceStandings::ResetForRace; the viewed rider and
// the race time are brought up to date every step.

#include <array>
#include <cstdint>

struct StandingsSession
{
    static constexpr uint32_t kRiders = 26;

    bool isRace = true;           // a race, not a practice, qualifying or ghost session
    bool isQualifying = false;    // times are held against the session's best
    bool isGhostSession = false;  // times are held against the ghost's
    bool isNetwork = false;
    bool isReplay = false;
    bool isObservation = false;       // the player only watches
    bool noOvertakingEvents = false;  // the settings' switch
    bool lapLimit = false;            // a practice session ends after its laps
    uint32_t laps = 5;
    uint32_t language = 0;  // 0 German, 1 English
    uint32_t playerRider = 0;
    uint32_t viewedRider = 0;
    float raceTime = 0.0f;  // s, of the step

    // The race object's riders.
    uint16_t riderCount = 0;
    std::array<uint8_t, kRiders> inRace{};
    std::array<uint8_t, kRiders> practiceFlag{};
    uint16_t rejoinNode = 0;  // where a rider in the pit lane counts as being
    // Cutting the course here costs 10 s; elsewhere it disqualifies.
    uint16_t penaltyFirstNode = 0;
    uint16_t penaltyLastNode = 0;
};
