#pragma once

// The settings and session record: the byte image of "menustate.dat", exactly 5360 bytes,
// little-endian, and the first thing of every championship save. The record is kept as bytes
// and read and written through accessors by offset: several of its fields lie unaligned.
//
//   offset     type        default   meaning
//   0          u32         0         Language
//   4          u32         1         BikeClass chosen
//   8          u32         20        the local player's rider
//   12         u32         0         option
//   16         u32         0         GameMode
//   20         u8          0         level: 0 professional .. 2 beginner
//   24         u32         0         control device: 1 keyboard (the joystick is then off)
//   28         u32         0         CircuitId chosen
//   32         u32         25        the class's first rider number (0, 25, 51) + the rider
//   36         u8          1         free choice
//   37..41     5 x u8      1         choice allowed: mode, level, rider, circuit, conditions
//   42         u8          1         name display
//   44         u32         0         camera view: 0 chase, 1 on board, 7 trail
//   48..65     18 x u8     see below options, 0 = on: auto gear, engine tuning, time penalty,
//                                    auto braking, auto clutch, steering aid, skidding
//                                    inactive, accidents inactive, engine failure, bend
//                                    indicator, ideal lines, auto centre, start point
//                                    (1 transferred), damage to engine, gears, brakes,
//                                    damping, clutch grip; 1 at 50, 53, 54 and 60
//   68         u32         5         race laps 1..21; 21 is the circuit's full distance
//   72         u32         25        opponents
//   76         u32         1         grid position in a single race, from 1
//   80         u32         0         training length: 0 = 30 minutes, else 12 laps
//   84         u8          0         intro movie: 0 = played at start-up
//   88         f32         1.0       sound volume
//   92, 93     u8          0         CD music off in the menus, in the race
//   96         u32         600       view distance 200..1200
//   100        u8          2         model detail 0..2
//   101..108   8 x u8      0         control keys of the older record
//   109..112   4 x u8      0,1,2,3   telemetry channel of each display slot, 0..12
//   113        u8          0         network role: 1 host, 0 join
//   114        u8          0         time limit on, championship running; cleared on load
//   115        u8          0         transparency effects, 0 = on
//   116        u8          0         Weather chosen
//   117        u8          0         weather persistency: changeable, constant, fixed
//   118        u8          1         opponent level: identical, realistic, random
//   119        u8          1         opponent behaviour: aggressive, normal, cautious
//   120..123   4 x u8      0         Weather of the four sessions
//   124..127   4 x u8      0         humidity % of the four sessions
//   128..131   4 x u8      0         air temperature in degrees C of the four sessions
//   132..139   4 x u16     0         air pressure in mbar of the four sessions
//   140        u16         0         seed of the rider-profile shuffle
//   144        u32         0         session of the weekend 0..6; cleared on load
//   148        u32         0         field mask: bit n for rider n
//   152        26 x u32    none      best time of each rider in the weekend, ms
//   256        5 x 26 x u8 none      finishing order of each timed session of the weekend
//   516        5x4x26 x i32 none     per timed session: lap and three sector times, ms
//   4676       26x18 x u8  none      championship place of rider r at circuit c, from 0;
//                                    0x7F took part unplaced
//   5144       char[20]    Server1   server name
//   5164       char[20]    Spieler   player name
//   5184       i32         -1        network port choice: -1 = probe every port
//   5188       u32         0         network: the rider slot chosen in the lobby
//   5192       u32         0         network: the rider chosen (a rider of the class)
//   5196       u32         1         network: input delay 1..3 (input steps, + 2)
//   5200       u32         1         network: BikeClass of the session
//   5204       u32         0         network: level 0 beginner .. 2 professional
//   5208       u32         0         network: weather 0..2 fixed, 3 changeable, 4 random
//   5212       u32         3         network: laps 1..20
//   5216       u32         2         network: time-limit index 0..3
//   5220       u32         0         network: grid order, 0 by points, 1 random
//   5224       u32         0         network: the current race of the circuit list
//   5228       u32         25        network: riders in a race, 2..riders of the class
//   5232       18 x u8     0         per network race: Weather
//   5250       18 x u8     0         humidity %
//   5268       18 x u8     0         air temperature
//   5286       18 x u16    0         air pressure in mbar
//   5322       19 x i8     0,-1..    network circuit list: CircuitId of each race in order,
//                                    a negative entry ends it
//   5341..5346 6 x u8      0         network values; 5344..5346 the race's option bytes
//   5347..5358 12 x u8     see below the control map (ControlMap's order)
//
// "none" is 0xFFFFFFFF for a time, -1 for a session time and 0xFF for a byte. The bytes not
// named here are 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "app/input/ControlMap.h"

class MenuState
{
public:
    static constexpr size_t kSize = 5360;
    static constexpr size_t kOldSize = 5348;  // the older record, with its own control keys

    static constexpr size_t kLanguageOffset = 0;
    static constexpr size_t kBikeClassOffset = 4;
    static constexpr size_t kPlayerRiderOffset = 8;
    static constexpr size_t kGameModeOffset = 16;
    static constexpr size_t kLevelOffset = 20;
    static constexpr size_t kControlDeviceOffset = 24;
    static constexpr size_t kCircuitOffset = 28;
    static constexpr size_t kRiderNumberOffset = 32;
    static constexpr size_t kFreeChoiceOffset = 36;
    static constexpr size_t kChoiceAllowedOffset = 37;
    static constexpr size_t kChoiceAllowedCount = 5;
    static constexpr size_t kNameDisplayOffset = 42;
    static constexpr size_t kCameraViewOffset = 44;
    static constexpr size_t kAutoGearOffset = 48;
    static constexpr size_t kEngineTuningOffset = 49;
    static constexpr size_t kTimePenaltyOffset = 50;
    static constexpr size_t kAutoBrakingOffset = 51;
    static constexpr size_t kAutoClutchOffset = 52;
    static constexpr size_t kSteeringAidOffset = 53;
    static constexpr size_t kSkiddingInactiveOffset = 54;
    static constexpr size_t kAccidentsInactiveOffset = 55;
    static constexpr size_t kEngineFailureOffset = 56;
    static constexpr size_t kBendIndicatorOffset = 57;
    static constexpr size_t kIdealLinesOffset = 58;
    static constexpr size_t kAutoCentreOffset = 59;
    static constexpr size_t kStartPointOffset = 60;
    static constexpr size_t kDamageOffset = 61;  // engine, gears, brakes, damping, clutch grip
    static constexpr size_t kDamageCount = 5;
    static constexpr size_t kRaceLapsOffset = 68;
    static constexpr size_t kOpponentsOffset = 72;
    static constexpr size_t kGridPositionOffset = 76;
    static constexpr size_t kTrainingLengthOffset = 80;
    static constexpr size_t kIntroOffset = 84;
    static constexpr size_t kVolumeOffset = 88;
    static constexpr size_t kMenuMusicOffOffset = 92;
    static constexpr size_t kRaceMusicOffOffset = 93;
    static constexpr size_t kViewDistanceOffset = 96;
    static constexpr size_t kModelDetailOffset = 100;
    static constexpr size_t kOldControlKeysOffset = 101;
    static constexpr size_t kOldControlKeyCount = 8;
    static constexpr size_t kTelemetrySlotsOffset = 109;
    static constexpr size_t kTelemetrySlotCount = 4;
    static constexpr size_t kNetworkRoleOffset = 113;
    static constexpr size_t kTimeLimitOnOffset = 114;
    static constexpr size_t kTransparencyOffset = 115;
    static constexpr size_t kWeatherOffset = 116;
    static constexpr size_t kWeatherPersistencyOffset = 117;
    static constexpr size_t kOpponentLevelOffset = 118;
    static constexpr size_t kOpponentBehaviourOffset = 119;
    static constexpr size_t kSessionSlotCount = 4;
    static constexpr size_t kSessionWeatherOffset = 120;
    static constexpr size_t kSessionHumidityOffset = 124;
    static constexpr size_t kSessionTemperatureOffset = 128;
    static constexpr size_t kSessionPressureOffset = 132;
    static constexpr size_t kShuffleSeedOffset = 140;
    static constexpr size_t kSessionOffset = 144;
    static constexpr size_t kFieldMaskOffset = 148;
    static constexpr size_t kRiders = 26;
    static constexpr size_t kTimedSessions = 5;
    static constexpr size_t kWeekendBestOffset = 152;
    static constexpr size_t kSessionOrderOffset = 256;
    static constexpr size_t kSessionTimesOffset = 516;
    static constexpr size_t kSessionTimeTables = 4;  // lap, sectors 1 to 3
    static constexpr size_t kChampionshipOffset = 4676;
    static constexpr size_t kChampionshipCircuits = 18;
    static constexpr size_t kNameSize = 20;
    static constexpr size_t kServerNameOffset = 5144;
    static constexpr size_t kPlayerNameOffset = 5164;
    static constexpr size_t kNetworkChoiceOffset = 5184;
    static constexpr size_t kNetworkSlotOffset = 5188;
    static constexpr size_t kNetworkRiderChoiceOffset = 5192;
    static constexpr size_t kNetworkInputDelayOffset = 5196;
    static constexpr size_t kNetworkClassOffset = 5200;
    static constexpr size_t kNetworkLevelOffset = 5204;
    static constexpr size_t kNetworkWeatherChoiceOffset = 5208;
    static constexpr size_t kNetworkLapsOffset = 5212;
    static constexpr size_t kTimeLimitIndexOffset = 5216;
    static constexpr size_t kNetworkGridOrderOffset = 5220;
    static constexpr size_t kNetworkRaceIndexOffset = 5224;
    static constexpr size_t kNetworkRiderCountOffset = 5228;
    static constexpr size_t kNetworkRaces = 18;
    static constexpr size_t kNetworkWeatherOffset = 5232;
    static constexpr size_t kNetworkHumidityOffset = 5250;
    static constexpr size_t kNetworkTemperatureOffset = 5268;
    static constexpr size_t kNetworkPressureOffset = 5286;
    static constexpr size_t kNetworkCircuitsOffset = 5322;
    static constexpr size_t kNetworkCircuitEntries = 19;
    static constexpr size_t kNetworkOptionsOffset = 5344;
    static constexpr size_t kControlMapOffset = 5347;

    static constexpr uint32_t kNoTime = 0xFFFFFFFF;
    static constexpr uint8_t kNoEntry = 0xFF;

    MenuState();  // the defaults

    std::span<const uint8_t, kSize> Bytes() const { return bytes_; }
    std::span<uint8_t, kSize> Bytes() { return bytes_; }

    uint8_t U8At(size_t offset) const { return bytes_[offset]; }
    void SetU8At(size_t offset, uint8_t value) { bytes_[offset] = value; }
    int8_t I8At(size_t offset) const { return static_cast<int8_t>(bytes_[offset]); }
    void SetI8At(size_t offset, int8_t value) { bytes_[offset] = static_cast<uint8_t>(value); }
    uint16_t U16At(size_t offset) const;
    void SetU16At(size_t offset, uint16_t value);
    uint32_t U32At(size_t offset) const;
    void SetU32At(size_t offset, uint32_t value);
    int32_t I32At(size_t offset) const { return static_cast<int32_t>(U32At(offset)); }
    void SetI32At(size_t offset, int32_t value) { SetU32At(offset, static_cast<uint32_t>(value)); }
    float F32At(size_t offset) const;
    void SetF32At(size_t offset, float value);

    // The names end at their first zero byte; a name set is cut to 19 bytes.
    std::string_view ServerName() const { return TextAt(kServerNameOffset); }
    void SetServerName(std::string_view name) { SetTextAt(kServerNameOffset, name); }
    std::string_view PlayerName() const { return TextAt(kPlayerNameOffset); }
    void SetPlayerName(std::string_view name) { SetTextAt(kPlayerNameOffset, name); }

    ControlMap Controls() const;
    void SetControls(const ControlMap& controls);

    bool operator==(const MenuState& other) const = default;

private:
    std::string_view TextAt(size_t offset) const;
    void SetTextAt(size_t offset, std::string_view text);

    std::array<uint8_t, kSize> bytes_{};
};

// The settings record that lives for the whole run; the settings file fills it at start-up.
// Main thread only.
extern MenuState g_menuState;
