#include "view/titles/RaceTitles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/util/FormatRaceTime.h"
#include "race/BikeRecord.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudFrame.h"
#include "view/hud/HudHooks.h"
#include "view/hud/PlaceLabels.h"
#include "view/hud/RiderTexts.h"

namespace
{
constexpr int32_t kGridTop = 150;
constexpr int32_t kStandingTop = 90;
constexpr std::array<const char*, kBikeClassCount> kClassTexts = {"125", "250", "500"};

const char* RowCaption(int32_t row, std::array<char, 24>& buffer)
{
    static constexpr std::array<const char*, 3> kFirstRows = {"1st Row", "2nd Row", "3rd Row"};
    if (row < 3)
    {
        return kFirstRows[row];
    }
    std::snprintf(buffer.data(), buffer.size(), "%dth Row", row + 1);
    return buffer.data();
}

// The reveal of a band from top down to the screen's foot: opened by (1000 - clock) / 1000.
int32_t RevealBottom(int32_t top, int32_t height, int32_t clock)
{
    const int32_t opened = 1000 - std::min(clock, 1000);
    return top + static_cast<int32_t>(static_cast<float>(opened) / 1000.0f *
                                      static_cast<float>(height - top));
}

bool HasFinished(const HudFrame& frame, uint32_t rider)
{
    return frame.bikes[rider].timedLap > frame.lapsOfRace;
}
}  // namespace

GridSchedule ScheduleGrid(uint32_t riderCount)
{
    GridSchedule schedule;
    schedule.rows = static_cast<int32_t>((riderCount + 3) / 4);
    const auto steps = static_cast<float>(1 + 3 * schedule.rows);
    schedule.startClockRate = 6.0f / steps;
    schedule.startTick = 75 - static_cast<int32_t>(-25.0f * steps);
    return schedule;
}

void RaceTitles::BuildTitle(const HudFrame& frame, HudHooks& hooks)
{
    if (!frame.isRaceSession)
    {
        return;
    }
    title_ = GrandPrixTitle(frame.language, frame.circuit, frame.circuitListText);
    places_.Build(*frame.standings, frame.bikes, frame.riderCount);
    state_ = TitleState::StartingGrid;
    row_ = 0;
    pageClock_ = 1000;
    const GridSchedule schedule = ScheduleGrid(frame.riderCount);
    rows_ = schedule.rows;
    hooks.SetStartSchedule(schedule.startClockRate, schedule.startTick);
}

void RaceTitles::BuildEventTitle(const HudFrame& frame)
{
    if (!frame.isRaceSession)
    {
        return;
    }
    const std::string_view event = EventTitle(frame.circuitName);
    title_.fill('\0');
    std::memcpy(title_.data(), event.data(), event.size());
    places_.Build(*frame.standings, frame.bikes, frame.riderCount);
    state_ = TitleState::FinalStanding;
    finishViewStarted_ = false;
    row_ = 0;
    pageClock_ = 1000;
}

void RaceTitles::DrawHeading(const HudFrame& frame, HudCanvas& canvas, const char* heading,
                             int32_t headingY, int32_t titleY)
{
    canvas.Band(0, 0, frame.width, frame.height);
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(frame.width / 2, headingY, heading, TextAlign::Centre);
    const int32_t titleX = frame.width / 3;
    canvas.Text(titleX, titleY, title_.data(), TextAlign::Left);
    const int32_t classX = titleX + canvas.TextWidth(title_.data()) + 10;
    canvas.SetFont(HudFont::BigDigits);
    const char* classText = kClassTexts[ToIndex(frame.bikeClass)];
    canvas.Text(classX, titleY, classText, TextAlign::Left);
    const int32_t ccmX = classX + canvas.TextWidth(classText);
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(ccmX, titleY + 12, "ccm", TextAlign::Left);
}

bool RaceTitles::DrawStartingGrid(const HudFrame& frame, HudCanvas& canvas)
{
    if (!gridPageActive_)
    {
        state_ = TitleState::None;
        return false;
    }
    pageClock_ -= 2 * frame.realFrameMs;
    DrawHeading(frame, canvas, "Starting Grid", 60, 90);

    const int32_t w = frame.width;
    const int32_t h = frame.height;
    if (pageClock_ > 0)
    {
        canvas.Clip(0, kGridTop, w, RevealBottom(kGridTop, h, pageClock_));
    }
    else if (pageClock_ < -3000 && pageClock_ > -4000)
    {
        const int32_t closing = std::min(pageClock_ + 4000, 1000);
        canvas.Clip(0, kGridTop, w,
                    kGridTop + static_cast<int32_t>(static_cast<float>(closing) / 1000.0f *
                                                    static_cast<float>(h - kGridTop)));
    }
    else if (pageClock_ <= -4000)
    {
        canvas.Clip(0, kGridTop, w, kGridTop);
        ++row_;
        pageClock_ = 1000;
        if (row_ >= rows_)
        {
            state_ = TitleState::None;
            gridPageActive_ = false;
            return false;
        }
    }

    const int32_t captionX = w - w / 3;
    canvas.SetFont(HudFont::Zeichen);
    canvas.Text(captionX, kGridTop, "F", TextAlign::Left);
    canvas.Text(captionX - 1, kGridTop + 32, "G", TextAlign::Left);
    std::array<char, 24> buffer{};
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(captionX + 16, kGridTop + 32, RowCaption(row_, buffer), TextAlign::Centre);

    const auto riders = static_cast<int32_t>(frame.riderCount);
    int32_t x = (w - w / 2) / 2;
    int32_t y = kGridTop + 4;
    for (int32_t place = 4 * row_ + 1; place <= std::min(4 * row_ + 4, riders); ++place)
    {
        canvas.SetFont(HudFont::Zeichen);
        canvas.Text(x, y + 10, "AB", TextAlign::Left);
        const int32_t labelWidth = canvas.TextWidth("AB");
        std::array<char, 12> number{};
        std::snprintf(number.data(), number.size(), "%d", place);
        canvas.SetFont(HudFont::BigDigits);
        canvas.Text(x, y + 7, number.data(), TextAlign::Left);
        const int32_t textX = x + std::max(labelWidth, canvas.TextWidth(number.data())) + 10;
        const uint8_t rider = places_.RiderAt(place);
        if (rider != PlaceTable::kEnd)
        {
            canvas.SetFont(HudFont::Tv1);
            canvas.Text(textX, y - 4, TerminatedText(frame.profiles[rider].lastName).data(),
                        TextAlign::Left);
            if (rider < frame.gridTexts.size())
            {
                canvas.SetFont(HudFont::SmallYellow);
                canvas.Text(textX, y + 20, TerminatedText(frame.gridTexts[rider]).data(),
                            TextAlign::Left);
            }
        }
        x += w / 8;
        y += 50;
    }
    return true;
}

bool RaceTitles::DrawFinalStanding(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks)
{
    places_.Build(*frame.standings, frame.bikes, frame.riderCount);
    const uint8_t leader = places_.RiderAt(1);
    if (leader == PlaceTable::kEnd || !HasFinished(frame, leader))
    {
        return true;
    }
    places_.Sort();
    const uint8_t winner = places_.RiderAt(1);
    if (!finishViewStarted_)
    {
        // Once: the finish view runs its own shots from here.
        hooks.SetFinishView();
        finishViewStarted_ = true;
    }
    pageClock_ -= frame.realFrameMs;
    DrawHeading(frame, canvas, "Final Standing", 20, 50);
    if (pageClock_ > 0)
    {
        canvas.Clip(0, kStandingTop, frame.width,
                    RevealBottom(kStandingTop, frame.height, pageClock_));
    }

    const auto timeMs = [&](uint32_t rider)
    { return static_cast<int32_t>(frame.standings->sessionTimes[rider] * 1000.0f); };
    const int32_t winnerMs = timeMs(winner);
    int32_t place = 1;
    for (; place <= 10; ++place)
    {
        const uint8_t rider = places_.RiderAt(place);
        if (rider == PlaceTable::kEnd || !HasFinished(frame, rider))
        {
            break;
        }
        const int32_t y = kStandingTop + (place - 1) * 30;
        const RiderProfile& profile = frame.profiles[rider];
        DrawPlaceSmall(canvas, 30, y, place);
        canvas.SetFont(HudFont::Tv1);
        canvas.Text(80, y, profile.ShownName().c_str(), TextAlign::Left);
        canvas.SetFont(HudFont::Tv);
        canvas.Text(330, y, TerminatedText(profile.profileText1).data(), TextAlign::Centre);
        canvas.Text(place == 1 ? 430 : 370, y, TerminatedText(profile.profileText2).data(),
                    TextAlign::Left);
        const int32_t shownMs = place == 1 ? winnerMs : timeMs(rider) - winnerMs;
        canvas.SetFont(HudFont::Tv3Fixed);
        canvas.Text(frame.width, y, FormatRaceTime(shownMs).data(), TextAlign::Right);
    }
    if (place > 10)
    {
        return pageClock_ >= -5000;
    }
    return !(static_cast<uint32_t>(place) > places_.Count() && pageClock_ < -5000);
}
