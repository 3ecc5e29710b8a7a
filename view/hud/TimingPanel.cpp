// The panels of the rider's own view: timing and position, instrument, start lights, curve
// signs and ride-aid lamps.

#include <array>
#include <cmath>
#include <cstdio>

#include "core/util/FormatRaceTime.h"
#include "race/BikeRecord.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudClockTexts.h"
#include "view/hud/HudFrame.h"
#include "view/hud/RaceHud.h"

namespace
{
constexpr uint32_t kNeedleColour = 0xFFAAAAAA;
constexpr uint32_t kFinishedState = 10;
constexpr int32_t kInstrumentWidth = 216;
constexpr int32_t kInstrumentHeight = 142;

struct StartLightPiece
{
    int32_t top;
    int32_t width;
    int32_t height;
    int32_t dx;
    int32_t dy;
};

constexpr std::array<StartLightPiece, 10> kStartLightPieces = {{
    {0, 103, 160, 0, 0},
    {160, 100, 52, 0, 0},
    {212, 100, 74, 0, 0},
    {286, 96, 69, 4, 28},
    {355, 96, 83, 4, 25},
    {438, 96, 48, 4, 72},
    {486, 96, 74, 4, 63},
    {560, 96, 141, 0, 0},
    {701, 96, 152, 4, 7},
    {853, 96, 157, 4, 2},
}};

struct KeyLamp
{
    int32_t sourceX;
    int32_t width;
    int32_t x;
};
constexpr std::array<KeyLamp, 4> kKeyLamps = {
    {{0, 13, 16}, {13, 14, 29}, {27, 14, 43}, {41, 13, 57}}};
constexpr int32_t kKeyLampHeight = 12;

int32_t RidersStillRunning(const HudFrame& frame)
{
    int32_t running = 0;
    for (uint32_t rider = 0; rider < frame.riderCount; ++rider)
    {
        running += frame.standings->sessionRanks[rider] >= session_rank::kRacing ? 1 : 0;
    }
    return running;
}

// The best time shown under the running lap outside a race.
int32_t SessionBestMs(const HudFrame& frame)
{
    const RaceStandings& standings = *frame.standings;
    if (frame.isQualifying)
    {
        return standings.fastestLapMs == RaceStandings::kNoFastestLap
                   ? 0
                   : static_cast<int32_t>(standings.fastestLapMs);
    }
    if (frame.gameMode == GameMode::GhostRace && frame.ghostLapMs > 0)
    {
        return frame.ghostLapMs;
    }
    return standings.splitMs[frame.viewedRider][RaceStandings::kLapRow][0];
}
}  // namespace

void RaceHud::DrawTopBar(const HudFrame& frame, HudCanvas& canvas)
{
    if (frame.topBar)
    {
        constexpr int32_t kTopBarTexture = 1015;
        canvas.Rect(kTopBarTexture, 0, 0, frame.width, 44, 0.0f, 0.0f, 1.0f, 0.96875f, kBandAlpha);
    }
}

void RaceHud::DrawTimingPanel(const HudFrame& frame, HudCanvas& canvas)
{
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    const int32_t w = frame.width;

    canvas.SetFont(HudFont::Digital);
    canvas.Text(w - 90, 4, speed_.Of(static_cast<int32_t>(bike.speed * 3.6f)), TextAlign::Right);
    canvas.Text(w - 20, 4, gear_.Of(bike.gear), TextAlign::Right);
    canvas.Text(w - 144, 4, "KMH", TextAlign::Right);  // before the speed, clear of it
    DrawTopBar(frame, canvas);
    canvas.SetFont(HudFont::Digital);

    if (frame.isRaceSession)
    {
        std::array<char, 32> text{};
        std::snprintf(text.data(), text.size(), "POS %s/%s",
                      position_.Of(frame.standings->GetPosition(frame.viewedRider)),
                      ridersLeft_.Of(RidersStillRunning(frame)));
        canvas.Text(10, 4, text.data(), TextAlign::Left);
        std::snprintf(text.data(), text.size(), "LAP %s/%d", lap_.Of(bike.lapsStarted),
                      frame.lapsOfRace);
        canvas.Text(10, 26, text.data(), TextAlign::Left);
    }
    DrawLapTimes(frame, canvas);

    if (frame.isRaceSession)
    {
        return;
    }
    const float secondsLeft = frame.standings->sessionEndTime - frame.raceTime;
    if (secondsLeft < 0.0f)
    {
        DrawEndOfSession(frame, canvas);
    }
    else if (frame.gameMode != GameMode::TestRide && frame.gameMode != GameMode::GhostRace)
    {
        canvas.Text(88, 4, SessionClockText(static_cast<int32_t>(secondsLeft)).data(),
                    TextAlign::Left);
    }
    if (frame.lapLimited)
    {
        canvas.Text(88, 26, PracticeLapText(bike.lapsStarted).data(), TextAlign::Left);
    }
}

void RaceHud::DrawLapTimes(const HudFrame& frame, HudCanvas& canvas)
{
    StandingsDisplay& display = frame.standings->display;
    const int32_t x = frame.width / 2 + 65;
    display.gapTimer -= frame.frameDt;
    if (display.gapTimer > 0.0f)
    {
        canvas.Text(x, 4, SectionTimeText(display.sectionMs).data(), TextAlign::Right);
        canvas.Text(x, 26, DeltaTimeText(display.deltaMs).data(), TextAlign::Right);
        return;
    }
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    const int32_t runningMs = 40 * frame.ticksDone - bike.aiLapStartMs - 40;
    canvas.Text(x, 4, FormatRaceTime(runningMs).data(), TextAlign::Right);
    if (!frame.isRaceSession)
    {
        const int32_t bestMs = SessionBestMs(frame);
        if (bestMs > 0)
        {
            canvas.Text(x, 26, FormatRaceTime(bestMs).data(), TextAlign::Right);
        }
    }
}

void RaceHud::DrawInstrument(const HudFrame& frame, HudCanvas& canvas)
{
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    const int32_t w = frame.width;
    const int32_t h = frame.height;
    const HudPicture picture = bike.engineRpm >= bike.setup.maxEngineSpeed
                                   ? HudPicture::InstrumentRedline
                                   : HudPicture::InstrumentCalm;
    canvas.Picture({picture}, 0, 0, w - kInstrumentWidth, h - kInstrumentHeight, kInstrumentWidth,
                   kInstrumentHeight);
    canvas.SetFont(HudFont::InstrumentDigits);
    canvas.Text(w - 36, h - 67, instrumentSpeed_.Of(static_cast<int32_t>(bike.speed * 3.6f)),
                TextAlign::Right);

    const auto needle = [&](int32_t cx, int32_t cy, float angle, float inner, float outer)
    {
        const float sx = std::sin(angle);
        const float sy = -std::cos(angle);
        canvas.Line(cx + static_cast<int32_t>(sx * inner), cy + static_cast<int32_t>(sy * inner),
                    cx + static_cast<int32_t>(sx * outer), cy + static_cast<int32_t>(sy * outer),
                    kNeedleColour);
    };
    needle(w - 171, h - 50, bike.speed * 0.061668303f - 0.9948f - 3.083415f, 1.0f, 20.0f);
    needle(w - 72, h - 72, bike.engineRpm * 0.00029234265f - 2.308554f - 0.8770279f, 4.0f, 40.0f);
}

void RaceHud::DrawStartLights(const HudFrame& frame, HudCanvas& canvas)
{
    const int32_t state = frame.startLightState;
    if (state < 0 || state >= static_cast<int32_t>(kStartLightPieces.size()))
    {
        return;
    }
    for (int32_t index = 0; index <= state; ++index)
    {
        const StartLightPiece& piece = kStartLightPieces[index];
        canvas.Picture({HudPicture::StartLights}, 0, piece.top, frame.width - 148 + piece.dx,
                       42 + piece.dy, piece.width, piece.height);
    }
}

void RaceHud::DrawCurveSign(const HudFrame& frame, HudCanvas& canvas)
{
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    if (frame.cameraMode == CameraMode::CameraTv || bike.furtherAid == 0 ||
        bike.raceStatus == kFinishedState || frame.curveNodeFlags < 0)
    {
        return;
    }
    const int32_t sign = frame.curveNodeFlags & 0xF;
    if (sign >= 8 || (bike.raceStatus == 0 && bike.wrongWayDistance != 0))
    {
        return;
    }
    const int32_t x = sign % 2 == 0 ? 10 : frame.width - 74;
    canvas.Picture({HudPicture::CurveSign, sign}, 0, 0, x, 200, 64, 64);
}

void RaceHud::DrawKeyLamps(const HudFrame& frame, HudCanvas& canvas)
{
    const BikeRecord& bike = frame.bikes[frame.playerRider];
    const std::array<int32_t, 4> aids = {bike.autoGearbox, bike.furtherAid, bike.steeringAid,
                                         bike.autoClutch};
    for (size_t index = 0; index < kKeyLamps.size(); ++index)
    {
        const KeyLamp& lamp = kKeyLamps[index];
        canvas.Picture({HudPicture::KeyLamps}, lamp.sourceX, aids[index] != 0 ? kKeyLampHeight : 0,
                       lamp.x, frame.height - 25, lamp.width, kKeyLampHeight);
    }
}
