#pragma once

// One rider of the field: the names shown in menus and on the display, a few identity fields,
// and the riding parameters that make computer riders differ in pace, launch and caution. The
// first 196 bytes are the stored form of the rider data files; the active parameters are
// derived from the stored ones during a race. Names are Windows-1252 bytes. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/game/GameEnums.h"

struct RiderProfile
{
    static constexpr size_t kStoredSize = 196;
    static constexpr size_t kNameSize = 16;
    static constexpr size_t kDisplayNames = 4;  // one per class, then the network name
    static constexpr size_t kNetworkName = 3;
    static constexpr float kBaseAngle = 0.0153398f;  // 2 pi / 409.6

    // The stored form.
    float baseAngle;
    float avoidDistanceSq;  // below it a computer rider reacts to a slower rider ahead
    float performance;      // the machine's performance factor, 0.85..1.0
    float launchFactor;     // target-rpm factor at the start from the eighth place back
    float rangeBase;        // 1.0..10.0 once loaded
    float paceBase;         // 0.92..1.05
    uint8_t racingNumber;
    std::array<char, 2> setupFileChars;  // name the rider's own set-up file; 0 = none
    uint8_t gradeChar;
    uint16_t year;
    std::array<uint16_t, 5> careerCounters;
    uint16_t classWord;                     // its low byte becomes the class's byte
    std::array<char, kNameSize> firstName;  // zero-terminated unless full
    std::array<char, kNameSize> lastName;
    std::array<char, 28> infoText;
    std::array<char, 14> profileText1;
    std::array<char, 80> profileText2;  // a text, then further data that travels with it

    // The active parameters; pace scales the racing line's speed factors for this rider.
    float activeAngle = kBaseAngle;
    float activeRange = 1.0f;
    float pace = 0.0f;
    int32_t paceRank = 0;  // written by the standings
    size_t shownName = 0;  // the display name in use
    std::array<std::string, kDisplayNames> displayNames;
    std::array<uint16_t, kDisplayNames> firstNameLength{};
    std::array<uint8_t, kDisplayNames> classByte{};

    RiderProfile() { Reset(); }

    // The stored fields back to their defaults; the active parameters stay.
    void Reset();
    // The riding parameters of a rider without data.
    void SetDefaults();
    // The stored fields of the other rider, the active parameters from them and the display
    // name of the class.
    void CopyFrom(const RiderProfile& other, BikeClass bikeClass);
    // Shuffles the riding parameters among this rider and riders a and b.
    void SwapParameters(RiderProfile& a, RiderProfile& b);

    // The stored form. Loading takes kStoredSize bytes (false for fewer) and brings the riding
    // parameters into their ranges; a parameter that is no finite number takes its default.
    void Store(std::span<uint8_t, kStoredSize> out) const;
    bool Load(std::span<const uint8_t> bytes);
    // After loading: the active parameters from the stored ones, the class's byte and its
    // display name "first last".
    void TakeStoredForClass(BikeClass bikeClass);

    // The three derivations of the active parameters, from race times and gaps in ms.
    void DeriveParameters(uint32_t value);
    void DeriveParametersFromPair(uint32_t a, uint32_t b);
    void DeriveParametersFromBits(uint32_t value);

    const std::string& ShownName() const { return displayNames[shownName]; }
};
