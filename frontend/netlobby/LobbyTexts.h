#pragma once

// The texts of the network lobby pages in German and English, Windows-1252 bytes.

#include <array>

#include "core/game/GameEnums.h"

struct LobbyTexts
{
    const char* portHeading;
    const char* automatic;
    const char* vacant;
    const char* busy;
    const char* on;
    const char* off;
    const char* normal;
    const char* transferred;
    std::array<const char*, 3> classes;
    std::array<const char*, 3> levels;
    std::array<const char*, 5> weather;
    std::array<const char*, 2> gridOrders;
    std::array<const char*, 18> circuitCodes;  // by CircuitId
    // The server information frame's lines.
    const char* serverOnPort;  // name, port value
    const char* status;
    const char* latency;
    const char* bikeClass;
    const char* level;
    const char* weatherLabel;
    const char* laps;
    const char* grid;
    const char* riderCount;
    const char* tracks;
    // The waiting frame's player states.
    const char* playerBusy;
    const char* playerReady;
};

const LobbyTexts& LobbyTextsFor(Language language);
