// The panel of observation mode: the session clock, the viewed rider's band and the times.

#include <array>

#include "core/util/FormatRaceTime.h"
#include "race/BikeRecord.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudClockTexts.h"
#include "view/hud/HudFrame.h"
#include "view/hud/HudTexts.h"
#include "view/hud/PlaceLabels.h"
#include "view/hud/RaceHud.h"
#include "view/hud/RiderTexts.h"

namespace
{
constexpr float kNoClock = 10000000.0f;
}

void RaceHud::DrawObservationPanel(const HudFrame& frame, HudCanvas& canvas)
{
    const RaceStandings& standings = *frame.standings;
    const uint32_t viewed = frame.viewedRider;
    const RiderProfile& profile = frame.profiles[viewed];
    const int32_t w = frame.width;
    const int32_t h = frame.height;

    DrawTopBar(frame, canvas);
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(10, 10, GetHudText(HudText::ObservationMode, frame.language), TextAlign::Left);
    if (frame.gameMode != GameMode::Race)
    {
        const float secondsLeft = standings.sessionEndTime - frame.raceTime;
        if (secondsLeft < 0.0f)
        {
            DrawEndOfSession(frame, canvas);
        }
        else if (secondsLeft < kNoClock)
        {
            canvas.SetFont(HudFont::Digital);
            canvas.Text(560, 10, SessionClockText(static_cast<int32_t>(secondsLeft)).data(),
                        TextAlign::Left);
        }
    }

    canvas.Band(0, h - 100, w, 100);
    DrawPlace(canvas, 40, h - 95, standings.GetPosition(viewed));
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(90, h - 78, profile.ShownName().c_str(), TextAlign::Left);
    canvas.SetFont(HudFont::Tv);
    const auto info = TerminatedText(profile.infoText);
    canvas.Text(90, h - 52, info.data(), TextAlign::Left);
    DrawNumber(canvas, 90 + canvas.TextWidth(info.data()) + 102, h - 52,
               static_cast<int32_t>(viewed + 1));
    const PictureRef portrait{HudPicture::Portrait, static_cast<int>(viewed)};
    if (const int32_t width = canvas.PictureWidth(portrait); width > 0)
    {
        canvas.Picture(portrait, 0, 0, w - 40 - width, h - 100, 104, 83);
    }

    canvas.SetFont(HudFont::Time);
    if (standings.fastestLapMs != RaceStandings::kNoFastestLap &&
        standings.fastestLapRider < frame.profiles.size())
    {
        canvas.Text(460, 414, frame.profiles[standings.fastestLapRider].ShownName().c_str(),
                    TextAlign::Left);
        canvas.Text(440, 414, FormatRaceTime(static_cast<int32_t>(standings.fastestLapMs)).data(),
                    TextAlign::Right);
    }
    const int32_t bestMs = standings.splitMs[viewed][RaceStandings::kLapRow][0];
    if (bestMs > 0)
    {
        canvas.Text(460, 436, GetHudText(HudText::PersonalRecord, frame.language), TextAlign::Left);
        canvas.Text(440, 436, FormatRaceTime(bestMs).data(), TextAlign::Right);
    }
    const uint32_t state = frame.bikes[viewed].raceStatus;
    if (state >= 8 && state <= 13)
    {
        const int32_t sinceLapStart =
            static_cast<int32_t>(frame.raceTime * 1000.0f) - frame.bikes[viewed].aiLapStartMs;
        canvas.Text(440, 458, FormatRaceTime(sinceLapStart).data(), TextAlign::Right);
    }
}
