#pragma once

// What the head-up display, the TV director and the title pages read in one frame: the
// screen, the session, the riders' records and standings and the clocks, gathered by the race
// loop so that every panel is drawn from plain values.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/game/GameEnums.h"

struct BikeRecord;
class RaceStandings;
struct RiderProfile;

struct HudFrame
{
    int32_t width = 640;
    int32_t height = 480;
    Language language = Language::German;

    std::span<const BikeRecord> bikes;
    std::span<const RiderProfile> profiles;
    RaceStandings* standings = nullptr;  // the display counts its gap timer down
    uint32_t riderCount = 0;
    uint32_t viewedRider = 0;
    uint32_t playerRider = 0;

    // The session.
    GameMode gameMode = GameMode::Race;
    BikeClass bikeClass = BikeClass::Class125;
    CircuitId circuit = CircuitId::ShahAlam;
    std::string_view circuitName;
    // The circuit's entry in the front end's circuit list, "(Name) ..." for circuits 0..14.
    std::string_view circuitListText;
    // Per rider the race object's 16-character text shown under his name on the grid.
    std::span<const std::array<char, 16>> gridTexts;
    Weather weather = Weather::Fine;
    bool isRaceSession = true;
    bool isQualifying = false;
    bool isWarmUp = false;    // the settings' session kind 4
    bool lapLimited = false;  // a practice that ends at the race's lap count
    uint16_t lapsOfRace = 0;  // also the practice's lap limit
    bool topBar = false;      // the session flags' top-bar switch
    bool curveSignsShown = true;
    int32_t ghostLapMs = 0;  // of a loaded ghost in a ghost session, else 0

    // The view.
    bool tvMode = false;
    bool observationMode = false;
    CameraMode cameraMode = CameraMode::CameraChase;
    int32_t startLightState = -1;
    // The low four bits of the flag byte of the viewed rider's racing-line node, -1 when the
    // node is not valid.
    int32_t curveNodeFlags = -1;
    float cameraShotClock = 0.0f;  // s the TV camera's shot has run
    bool cameraTimerExpired = false;

    // The clocks.
    float raceTime = 0.0f;    // s
    float startClock = 0.0f;  // s, from -4.0 on the grid
    int32_t ticksDone = 0;    // 40 ms simulation steps done
    float frameDt = 0.0f;     // race time since the previous frame, s
    int32_t realFrameMs = 0;
    uint32_t blinkCounter = 0;  // a time counter whose low six bits blink the session's end
};
