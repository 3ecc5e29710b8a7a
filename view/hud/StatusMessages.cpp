// The status messages over the rider's view: marshal flags, wrong way and disqualification,
// the race-over panel and the end of a practice or qualifying session.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/util/FormatRaceTime.h"
#include "race/BikeRecord.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudFrame.h"
#include "view/hud/HudHooks.h"
#include "view/hud/HudTexts.h"
#include "view/hud/MarshalFlags.h"
#include "view/hud/RaceHud.h"

namespace
{
constexpr uint32_t kFinishedState = 10;
constexpr int32_t kWrongWayShown = 15;
constexpr int32_t kWrongWaySteady = 200;
constexpr int32_t kWrongWayLimit = 500;
constexpr int32_t kRaceOverHeight = 210;

bool PastSessionEnd(const HudFrame& frame)
{
    return frame.raceTime > frame.standings->sessionEndTime;
}

// A time one character at a time at the width of "8", so that its digits stay in columns; a
// leading zero shows as a blank.
void DrawTimeInColumns(HudCanvas& canvas, int32_t x, int32_t y, const char* time)
{
    const int32_t advance = canvas.TextWidth("8");
    for (size_t index = 0; time[index] != '\0'; ++index, x += advance)
    {
        const char glyph[2] = {index == 0 && time[0] == '0' ? ' ' : time[index], '\0'};
        canvas.Text(x, y, glyph, TextAlign::Left);
    }
}
}  // namespace

void RaceHud::DrawMessages(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks)
{
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    if (bike.raceStatus == kFinishedState)
    {
        if (frame.isRaceSession)
        {
            DrawRaceOverPanel(frame, canvas);
        }
        else if (PastSessionEnd(frame) || (frame.lapLimited && bike.timedLap > frame.lapsOfRace))
        {
            DrawEndOfSession(frame, canvas);
        }
    }
    else
    {
        const int32_t flag = ChooseMarshalFlag(bike.aiFlags, bike.furtherAid != 0,
                                               bike.penaltyCount, frame.raceTime);
        if (flag == kNoMarshalFlag)
        {
            hooks.HideMarshalFlag();
        }
        else
        {
            hooks.ShowMarshalFlag(flag);
        }
    }
    DrawWrongWay(frame, canvas, hooks);
    if ((bike.aiFlags & ai_flags::kDisqualified) != 0 &&
        (frame.isRaceSession || PastSessionEnd(frame)))
    {
        canvas.SetFont(HudFont::Balmoral);
        canvas.Text(320, 300, GetHudText(HudText::Disqualified, frame.language), TextAlign::Centre);
    }
}

void RaceHud::DrawWrongWay(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks)
{
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    const int32_t counter = bike.wrongWayDistance;
    if (bike.raceStatus != 0 || counter <= kWrongWayShown || bike.speed >= 2.0f)
    {
        return;
    }
    const auto blink = static_cast<int32_t>(static_cast<float>(counter) / 100.0f * frame.raceTime);
    if (counter < kWrongWaySteady || frame.gameMode == GameMode::NetworkRace || blink % 2 == 0)
    {
        canvas.SetFont(HudFont::Balmoral);
        canvas.Text(frame.width / 2, frame.height / 2,
                    GetHudText(HudText::WrongWay, frame.language), TextAlign::Centre);
    }
    else if (counter > kWrongWayLimit)
    {
        hooks.DisqualifyRider(frame.viewedRider);
    }
}

void RaceHud::DrawRaceOverPanel(const HudFrame& frame, HudCanvas& canvas)
{
    const RaceStandings& standings = *frame.standings;
    const uint32_t viewed = frame.viewedRider;
    if ((frame.bikes[viewed].aiFlags & ai_flags::kDisqualified) != 0)
    {
        return;
    }
    const int32_t w = frame.width;
    const int32_t h = frame.height;
    const int32_t centreX = w / 2;
    const int32_t lineX = centreX - 200;
    const int32_t timeX = centreX + 100;
    canvas.Band(0, h - kRaceOverHeight, w, kRaceOverHeight);
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(centreX, h - 205, GetHudText(HudText::RaceOver, frame.language), TextAlign::Centre);

    const int32_t place = standings.GetPosition(viewed);
    std::array<char, 160> line{};
    if (place >= 1 && place <= 3)
    {
        if (place == 1)
        {
            std::snprintf(line.data(), line.size(), "%s %s",
                          GetHudText(HudText::Winner, frame.language),
                          frame.profiles[viewed].ShownName().c_str());
        }
        else
        {
            std::snprintf(line.data(), line.size(), "%s %i",
                          GetHudText(HudText::Place, frame.language), place);
        }
        canvas.Text(lineX, h - 170, line.data(), TextAlign::Left);
        const int32_t ownMs = static_cast<int32_t>(standings.sessionTimes[viewed] * 1000.0f);
        DrawTimeInColumns(canvas, timeX, h - 170, FormatRaceTime(ownMs).data());
    }
    int32_t y = h - 170;
    for (int32_t podium = 1; podium <= 3; ++podium)
    {
        const uint32_t rider = standings.podiumRider[podium - 1];
        // A podium place nobody has taken yet stays empty.
        if (podium == place || rider >= frame.profiles.size())
        {
            continue;
        }
        y += 25;
        std::snprintf(line.data(), line.size(), "%s %d %s",
                      GetHudText(HudText::Place, frame.language), podium,
                      frame.profiles[rider].ShownName().c_str());
        canvas.Text(lineX, y, line.data(), TextAlign::Left);
        const auto& time = standings.podiumTimeText[podium - 1];
        DrawTimeInColumns(canvas, timeX, y,
                          std::string(time.data(), strnlen(time.data(), time.size())).c_str());
    }
    canvas.Text(centreX, y + 30, standings.fastestLapText.data(), TextAlign::Centre);
    canvas.Text(centreX, y + 55, standings.fastestLapTimeText.data(), TextAlign::Centre);
}

void RaceHud::DrawEndOfSession(const HudFrame& frame, HudCanvas& canvas)
{
    const BikeRecord& bike = frame.bikes[frame.viewedRider];
    const bool finished = bike.raceStatus == kFinishedState;
    if (!finished && (frame.blinkCounter & 63) > 20)
    {
        return;
    }
    const int32_t centreX = frame.width / 2;
    const int32_t centreY = frame.height / 2;
    const HudText heading = frame.isQualifying ? HudText::EndOfQualifying
                            : frame.isWarmUp   ? HudText::EndOfWarmUp
                                               : HudText::EndOfTraining;
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(centreX, centreY - 60, GetHudText(heading, frame.language), TextAlign::Centre);
    if (!finished || !frame.isQualifying)
    {
        return;
    }
    const RaceStandings& standings = *frame.standings;
    const int32_t place = standings.GetPosition(frame.viewedRider);
    std::array<char, 32> line{};
    std::snprintf(line.data(), line.size(), "%s%d",
                  GetHudText(HudText::PositionLine, frame.language), std::clamp(place, 0, 29));
    canvas.Text(centreX, centreY - 20, line.data(), TextAlign::Centre);
    canvas.Text(centreX, centreY + 10, GetHudText(HudText::PersonalBest, frame.language),
                TextAlign::Centre);
    canvas.SetFont(HudFont::Time);
    canvas.Text(
        centreX, centreY + 35,
        FormatRaceTime(standings.splitMs[frame.playerRider][RaceStandings::kLapRow][0]).data(),
        TextAlign::Centre);
    if (place > 1)
    {
        canvas.SetFont(HudFont::Balmoral);
        canvas.Text(centreX, centreY + 65, standings.fastestLapText.data(), TextAlign::Centre);
        canvas.SetFont(HudFont::Time);
        canvas.Text(centreX, centreY + 90, standings.fastestLapTimeText.data(), TextAlign::Centre);
    }
}
