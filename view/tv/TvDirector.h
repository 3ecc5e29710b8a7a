#pragma once

// The automatic director of a race shown as a broadcast: when to cut, to which rider and
// camera, and which overlay page to show (name band, battle, rider band, standings, laps to
// go, lap chart). It runs on real frame time, so cuts keep their pace whatever the race
// clock does. Main thread only.

#include <array>
#include <cstdint>

#include "view/hud/HudCanvas.h"
#include "view/tv/PlaceTable.h"

struct HudFrame;
class HudHooks;

enum class TvPage : uint32_t
{
    None = 0,
    NameBand = 1,
    Battle = 2,
    RiderBand = 3,
    Standings = 4,
    LapsToGo = 5,
    LapChart = 6,
};

// The random source of the director's choices: 0 .. 0x7FFF.
using DirectorRandom = int (*)();

class TvDirector
{
public:
    static constexpr int32_t kStandingsInterval = 60000;
    static constexpr int32_t kLapsToGoInterval = 40000;

    explicit TvDirector(DirectorRandom random);

    // Timers and pages as a race starts.
    void Reset(uint16_t lapsOfRace);
    void SetCloseViewCounter(float counter) { closeViewCounter_ = counter; }

    // Per frame while no title page is up. True when the leader has finished: the final
    // standing is due.
    bool Direct(const HudFrame& frame, HudHooks& hooks);
    // The overlay of the current page, then the logo.
    void DrawPage(const HudFrame& frame, HudCanvas& canvas);

    // Riders within radius of (x, z), in place order, at most max of them.
    uint32_t CollectRidersNear(const HudFrame& frame, float x, float z, float radius, uint32_t max);
    // The chaser and the rider ahead of the first battle among the front eight, or false.
    bool FindBattle(const HudFrame& frame);
    // The running rider with the most riders within 15.0; the count is kept as crowd count.
    // -1 when nobody is in the table.
    int32_t PickBusyRider(const HudFrame& frame);
    // The first running rider from a random place round the table; when all are out, the
    // rider where the search stopped; -1 when nobody is in the table.
    int32_t PickRandomRider(const HudFrame& frame);

    TvPage Page() const { return page_; }
    int32_t CutTimer() const { return cutTimer_; }
    int32_t CrowdCount() const { return crowdCount_; }
    int32_t RiderA() const { return riderA_; }
    int32_t RiderB() const { return riderB_; }
    float CloseViewCounter() const { return closeViewCounter_; }
    const char* Caption() const { return caption_.data(); }
    const PlaceTable& Places() const { return places_; }

private:
    bool IsRunning(const HudFrame& frame, uint32_t rider) const;
    void ResetPageState();
    void StartBand(TvPage page, int32_t cutMs);
    void CutToBusyRider(const HudFrame& frame, HudHooks& hooks, int roll);
    void ChoosePage(const HudFrame& frame, HudHooks& hooks, int roll, int32_t sinceLeaderLapMs);
    void SetLapCaption();

    // Pages.
    void DrawBandWipe(const HudFrame& frame, HudCanvas& canvas, int32_t bandTop);
    void DrawRiderBand(const HudFrame& frame, HudCanvas& canvas, uint32_t rider, int32_t left,
                       bool portrait, bool number);
    void DrawBattle(const HudFrame& frame, HudCanvas& canvas);
    void DrawLapsToGo(const HudFrame& frame, HudCanvas& canvas);
    void DrawListPage(const HudFrame& frame, HudCanvas& canvas);

    DirectorRandom random_;
    PlaceTable places_;
    TvPage page_ = TvPage::NameBand;
    int32_t cutTimer_ = 0;
    int32_t standingsTimer_ = kStandingsInterval;
    int32_t lapsToGoTimer_ = kLapsToGoInterval;
    int32_t lastLapShown_ = 1;
    int32_t currentLap_ = 0;
    int32_t lapsOfRace_ = 0;
    int32_t lapsToGo_ = 0;
    float closeViewCounter_ = 1.0f;
    int32_t crowdCount_ = 0;
    int32_t riderA_ = 0;     // battle: the chaser, viewed on board
    int32_t riderB_ = 0;     // battle: the rider ahead
    int32_t rowsShown_ = 0;  // list pages
    int32_t firstRow_ = 0;
    int32_t pageClock_ = 0;
    int32_t rowClock_ = 0;
    int32_t wipeState_ = 0;
    std::array<char, 256> caption_{};
};
