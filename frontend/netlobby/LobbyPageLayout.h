#pragma once

// Where the lobby pages' gadgets stand. The rows of the server page and the circuit calendar
// keep the places the pages were drawn for; the player page's frames are laid out here.

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/device/DirtyRectList.h"

// The server page's buttons by command number (unused numbers stay empty).
inline constexpr size_t kServerCommandCount = 25;
ScreenRect ServerCommandArea(int32_t command);
// The row of the page a command changes, to be repainted.
ScreenRect ServerRowArea(int32_t command);

// The circuit calendar page: 18 circuit cells and the return button.
ScreenRect CalendarCellArea(uint32_t circuit);
inline constexpr ScreenRect kCalendarReturnArea{540, 440, 620, 466};

// The rider choice page: a cell per rider of the class (25 or 26), ending at its x.
ScreenRect RiderCellArea(uint32_t rider, uint32_t riderCount);

// The player page.
inline constexpr ScreenRect kPlayerNameArea{300, 104, 460, 124};
inline constexpr ScreenRect kRiderChoiceArea{300, 150, 460, 170};
inline constexpr ScreenRect kRideAidArea{300, 338, 460, 358};
inline constexpr ScreenRect kSearchArea{20, 104, 120, 124};
inline constexpr int32_t kServerRowTop = 130;
inline constexpr int32_t kServerRowHeight = 18;
ScreenRect ServerRowAt(uint32_t row);
inline constexpr ScreenRect kServerFrameArea{10, 100, 290, 280};
inline constexpr ScreenRect kServerInfoArea{10, 290, 290, 440};
inline constexpr ScreenRect kJoinArea{200, 446, 280, 466};
// The waiting frame: two columns of 13 players.
ScreenRect PlayerRowAt(uint32_t slot);
inline constexpr ScreenRect kWaitingFrameArea{300, 180, 630, 430};
inline constexpr ScreenRect kConfirmArea{300, 440, 380, 466};
inline constexpr ScreenRect kWithdrawArea{390, 440, 470, 466};
inline constexpr ScreenRect kStartArea{480, 440, 560, 466};
inline constexpr ScreenRect kLeaveArea{20, 440, 100, 466};

bool Contains(const ScreenRect& area, int32_t x, int32_t y);
