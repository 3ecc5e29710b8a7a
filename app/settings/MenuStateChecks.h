#pragma once

// A settings record from a file or a save is checked before the game uses it: every value
// that indexes a table, counts something or picks one of a few choices and lies outside its
// range takes its default, and the names are ended within their fields.
//
//   offset      value                           range         otherwise
//   0           Language                        0..1          0
//   4           BikeClass                       0..2          1
//   8           player's rider                  0..25         20
//   16          GameMode                        0..6          0
//   20          level                           0..2          0
//   28          CircuitId                       0..17         0
//   44          camera view                     0, 1 or 7     0
//   68          race laps                       1..21         5
//   76          grid position                   1..26         1
//   88          sound volume                    0.0..1.0      1.0
//   96          view distance                   200..1200     600
//   100         model detail                    0..2          2
//   109..112    telemetry channels              0..12         0, 1, 2, 3
//   116         Weather chosen                  0..2          0
//   117, 118    weather persistency, opponents  0..2          0, 1
//   120..123    session Weather                 0..2          0
//   144         session of the weekend          0..6          0
//   5216        time-limit index                0..3          2
//   5224        current network race            0..18         0
//   5232..5249  network race Weather            0..2          0
//   5322..5340  network circuit list            below 18      0 first, then -1
//
// The weekend and championship tables are checked where they are read.

#include "app/settings/MenuState.h"

void ReplaceOutOfRangeValues(MenuState& state);
