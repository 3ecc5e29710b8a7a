// The overlay pages of the TV director: bands that wipe in, and lists that show row by row.

#include <algorithm>
#include <cstdio>

#include "core/util/FormatRaceTime.h"
#include "race/BikeRecord.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudFrame.h"
#include "view/hud/PlaceLabels.h"
#include "view/hud/RiderTexts.h"
#include "view/tv/OverlayDrawing.h"
#include "view/tv/TvDirector.h"

namespace
{
constexpr int32_t kRowSpacing = 26;
constexpr int32_t kPortraitWidth = 104;
constexpr int32_t kPortraitHeight = 83;

int32_t BandHeight(TvPage page)
{
    return page == TvPage::Standings || page == TvPage::LapChart ? 160 : 100;
}
}  // namespace

void TvDirector::DrawBandWipe(const HudFrame& frame, HudCanvas& canvas, int32_t bandTop)
{
    if (wipeState_ != 1)
    {
        return;
    }
    pageClock_ -= page_ == TvPage::LapsToGo ? frame.realFrameMs / 2 : frame.realFrameMs;
    if (pageClock_ < 0)
    {
        wipeState_ = 2;
        return;
    }
    if (page_ == TvPage::Battle)
    {
        WipeFromCentre(canvas, frame.width, frame.height, bandTop, pageClock_, true);
    }
    else
    {
        WipeFromLeft(canvas, frame.width, frame.height, 0, pageClock_, true);
    }
}

void TvDirector::DrawRiderBand(const HudFrame& frame, HudCanvas& canvas, uint32_t rider,
                               int32_t left, bool portrait, bool number)
{
    const int32_t h = frame.height;
    const RiderProfile& profile = frame.profiles[rider];
    DrawPlace(canvas, left + 40, h - 95, frame.standings->GetPosition(rider));
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(left + 90, h - 78, profile.ShownName().c_str(), TextAlign::Left);
    canvas.SetFont(HudFont::Tv);
    const auto info = TerminatedText(profile.infoText);
    canvas.Text(left + 90, h - 52, info.data(), TextAlign::Left);
    if (number)
    {
        DrawNumber(canvas, left + 90 + canvas.TextWidth(info.data()) + 102, h - 52,
                   static_cast<int32_t>(rider + 1));
    }
    const PictureRef picture{HudPicture::Portrait, static_cast<int>(rider)};
    if (portrait && canvas.PictureWidth(picture) > 0)
    {
        canvas.Picture(picture, 0, 0, frame.width - canvas.PictureWidth(picture) - 40, h - 100,
                       kPortraitWidth, kPortraitHeight);
    }
}

void TvDirector::DrawBattle(const HudFrame& frame, HudCanvas& canvas)
{
    rowClock_ += frame.realFrameMs;
    const BikeRecord& a = frame.bikes[riderA_];
    const BikeRecord& b = frame.bikes[riderB_];
    const float dx = a.positionX - b.positionX;
    const float dz = a.positionZ - b.positionZ;
    const float distanceSq = dx * dx + dz * dz;
    if (rowClock_ > 5000 && (distanceSq < 5.0f * 5.0f || distanceSq > 30.0f * 30.0f))
    {
        cutTimer_ = -1;  // they touched or split up
    }
    std::array<char, 64> caption{};
    const auto lastName = TerminatedText(frame.profiles[riderA_].lastName);
    std::snprintf(caption.data(), caption.size(), "OnBoard %s", lastName.data());
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(10, 10, caption.data(), TextAlign::Left);
    DrawRiderBand(frame, canvas, static_cast<uint32_t>(riderB_), 0, false, true);
    DrawRiderBand(frame, canvas, static_cast<uint32_t>(riderA_), frame.width / 2, false, true);
}

void TvDirector::DrawLapsToGo(const HudFrame& frame, HudCanvas& canvas)
{
    lapsToGoTimer_ = kLapsToGoInterval;
    const char* label = lapsToGo_ == 1 ? "Lap to go" : "Laps to go";
    canvas.SetFont(HudFont::Balmoral);
    const int32_t width = canvas.TextWidth(label);
    canvas.Text(10, frame.height - 60, label, TextAlign::Left);
    canvas.SetFont(HudFont::BigDigits);
    canvas.Text(width / 2 + 10, frame.height - 90, caption_.data(), TextAlign::Left);
}

void TvDirector::DrawListPage(const HudFrame& frame, HudCanvas& canvas)
{
    const bool lapChart = page_ == TvPage::LapChart;
    const int32_t perPage = lapChart ? 5 : 12;
    const int32_t hold = lapChart ? 5000 : 3000;
    const uint8_t leader = places_.RiderAt(1);

    // The list: every placed rider, or on the lap chart those on the leader's lap.
    std::array<uint8_t, PlaceTable::kRiders> list{};
    int32_t listCount = 0;
    for (uint32_t place = 1; place <= places_.Count(); ++place)
    {
        const uint8_t rider = places_.RiderAt(static_cast<int32_t>(place));
        if (!lapChart || places_.Laps(rider) == places_.Laps(leader))
        {
            list[listCount++] = rider;
        }
    }
    const int32_t rowsOnPage = std::min(perPage, listCount - firstRow_);

    rowClock_ -= 2 * frame.realFrameMs;
    if (rowClock_ < 0 && rowsShown_ < rowsOnPage)
    {
        ++rowsShown_;
        rowClock_ = 1000;
    }
    if (rowsShown_ < rowsOnPage)
    {
        cutTimer_ = hold;
        pageClock_ = hold;
    }
    else
    {
        pageClock_ -= frame.realFrameMs;
        // The shot lasts until the page has closed, so that the next rows follow, or the
        // standings timer restarts before the director decides again.
        cutTimer_ = hold;
        if (pageClock_ < 1000)
        {
            WipeFromCentre(canvas, frame.width, frame.height, frame.height - 160,
                           std::max(pageClock_, 0), false);
        }
        if (pageClock_ < 0)
        {
            firstRow_ += perPage;
            rowsShown_ = 0;
            rowClock_ = 1000;
            if (firstRow_ >= listCount)
            {
                cutTimer_ = 0;
                standingsTimer_ = kStandingsInterval;
                page_ = TvPage::None;
                return;
            }
        }
    }

    const int32_t top = frame.height - 160;
    canvas.SetFont(HudFont::Balmoral);
    canvas.Text(40, top, caption_.data(), TextAlign::Left);
    for (int32_t row = 0; row < rowsShown_; ++row)
    {
        const uint8_t rider = list[firstRow_ + row];
        const int32_t place = places_.FindPlaceOfRider(rider);
        const RiderProfile& profile = frame.profiles[rider];
        if (lapChart)
        {
            const int32_t y = top + 30 + row * kRowSpacing;
            DrawPlaceSmall(canvas, 40, y, place);
            canvas.SetFont(HudFont::Tv);
            canvas.Text(71, y, profile.ShownName().c_str(), TextAlign::Left);
            const auto text = TerminatedText(profile.profileText1);
            canvas.Text(291, y, text.data(), TextAlign::Centre);
            const int32_t gap = place == 1 ? places_.LapStartMs(rider)
                                           : places_.LapStartMs(rider) - places_.LapStartMs(leader);
            canvas.Text(371, y, FormatRaceTime(gap).data(), TextAlign::Left);
        }
        else
        {
            const int32_t column = row / 4;
            const int32_t x = 40 + column * (frame.width / 3);
            const int32_t y = top + 30 + (row % 4) * kRowSpacing;
            DrawPlaceSmall(canvas, x, y, place);
            canvas.SetFont(HudFont::Tv);
            canvas.Text(x + 31, y, TerminatedText(profile.lastName).data(), TextAlign::Left);
        }
    }
}

void TvDirector::DrawPage(const HudFrame& frame, HudCanvas& canvas)
{
    if (page_ != TvPage::None)
    {
        const int32_t bandTop = frame.height - BandHeight(page_);
        canvas.Band(0, bandTop, frame.width, BandHeight(page_));
        if (page_ != TvPage::Standings && page_ != TvPage::LapChart)
        {
            DrawBandWipe(frame, canvas, bandTop);
        }
    }
    switch (page_)
    {
        case TvPage::NameBand:
            DrawRiderBand(frame, canvas, frame.viewedRider, 0, true, false);
            break;
        case TvPage::Battle:
            DrawBattle(frame, canvas);
            break;
        case TvPage::RiderBand:
            DrawRiderBand(frame, canvas, frame.viewedRider, 0, false, true);
            break;
        case TvPage::Standings:
        case TvPage::LapChart:
            DrawListPage(frame, canvas);
            break;
        case TvPage::LapsToGo:
            DrawLapsToGo(frame, canvas);
            break;
        case TvPage::None:
            break;
    }
    canvas.Clip(0, 0, frame.width, frame.height);
    DrawTvLogo(canvas, frame.width);
}
