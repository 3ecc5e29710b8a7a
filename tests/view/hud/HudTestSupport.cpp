#include "tests/view/hud/HudTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
const char* FontName(HudFont font)
{
    static constexpr const char* kNames[] = {
        "Name",     "Time",      "Digital",     "Tv1",
        "Tv3",      "Tv3Fixed",  "SmallYellow", "InstrumentDigits",
        "Balmoral", "BigDigits", "Tv",          "Zeichen",
    };
    return kNames[static_cast<int>(font)];
}

const char* PictureName(HudPicture picture)
{
    static constexpr const char* kNames[] = {
        "Logo",        "InstrumentCalm", "InstrumentRedline", "InstrumentDigits",
        "StartLights", "CurveSign",      "KeyLamps",          "Portrait",
    };
    return kNames[static_cast<int>(picture)];
}

char AlignName(TextAlign align)
{
    return align == TextAlign::Left ? 'L' : align == TextAlign::Right ? 'R' : 'C';
}

std::string Format(const char* format, auto... values)
{
    char line[512];
    std::snprintf(line, sizeof line, format, values...);
    return line;
}
}  // namespace

void RecordingCanvas::SetFont(HudFont font)
{
    font_ = font;
}

void RecordingCanvas::Text(int32_t x, int32_t y, const char* text, TextAlign align)
{
    log.push_back(Format("text %s %d,%d %c %s", FontName(font_), x, y, AlignName(align), text));
}

void RecordingCanvas::ColourText(int32_t x, int32_t y, uint32_t colour, const char* text,
                                 TextAlign align)
{
    log.push_back(Format("colourtext %s %d,%d %06X %c %s", FontName(font_), x, y, colour,
                         AlignName(align), text));
}

int32_t RecordingCanvas::TextWidth(const char* text)
{
    return 8 * static_cast<int32_t>(std::strlen(text));
}

int32_t RecordingCanvas::PictureWidth(PictureRef picture)
{
    if (picture.picture == HudPicture::Portrait)
    {
        return portraits.contains(picture.index) ? 104 : 0;
    }
    return picture.picture == HudPicture::Logo ? 64 : 100;
}

int32_t RecordingCanvas::PictureHeight(PictureRef picture)
{
    return PictureWidth(picture) == 0 ? 0 : picture.picture == HudPicture::Logo ? 32 : 50;
}

void RecordingCanvas::Picture(PictureRef picture, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                              int32_t width, int32_t height)
{
    log.push_back(Format("picture %s#%d %d,%d -> %d,%d %dx%d", PictureName(picture.picture),
                         picture.index, sx, sy, dx, dy, width, height));
}

void RecordingCanvas::Rect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                           float u, float v, float du, float dv, int32_t alpha)
{
    log.push_back(Format("rect %d %d,%d %dx%d uv %g,%g %g,%g a%d", texture, x, y, width, height, u,
                         v, du, dv, alpha));
}

void RecordingCanvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour)
{
    log.push_back(Format("line %d,%d %d,%d %08X", x1, y1, x2, y2, colour));
}

void RecordingCanvas::Clip(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    log.push_back(Format("clip %d,%d %d,%d", x1, y1, x2, y2));
}

std::vector<std::string> RecordingCanvas::Texts() const
{
    return Lines("text ");
}

std::vector<std::string> RecordingCanvas::Lines(const std::string& prefix) const
{
    std::vector<std::string> lines;
    std::copy_if(log.begin(), log.end(), std::back_inserter(lines),
                 [&](const std::string& line) { return line.starts_with(prefix); });
    return lines;
}

bool RecordingCanvas::Has(const std::string& line) const
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

void RecordingHooks::ShowMarshalFlag(int32_t flag)
{
    calls.push_back(Format("flag %d", flag));
}

void RecordingHooks::HideMarshalFlag()
{
    calls.push_back("flag none");
}

void RecordingHooks::DisqualifyRider(uint32_t rider)
{
    calls.push_back(Format("disqualify %u", rider));
}

void RecordingHooks::SetViewedRider(uint32_t rider)
{
    viewedRider = static_cast<int32_t>(rider);
    calls.push_back(Format("view %u", rider));
}

void RecordingHooks::SetTvView()
{
    calls.push_back("tv");
}

void RecordingHooks::SetTrailView()
{
    calls.push_back("trail");
}

void RecordingHooks::SetCloseView()
{
    calls.push_back("close");
}

void RecordingHooks::SetOnBoardView()
{
    calls.push_back("onboard");
}

void RecordingHooks::SetFinishView()
{
    calls.push_back("finish");
}

void RecordingHooks::SetTvAutoSwitch()
{
    calls.push_back("autoswitch");
}

void RecordingHooks::SetStartSchedule(float clockRate, int32_t startTick)
{
    calls.push_back(Format("schedule %.6f %d", clockRate, startTick));
}

bool RecordingHooks::Called(const std::string& call) const
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

HudScene::HudScene(uint32_t riders) : bikes(26), profiles(26)
{
    for (size_t rider = 0; rider < bikes.size(); ++rider)
    {
        BikeRecord& bike = bikes[rider];
        bike.gear = 1;
        bike.lapsStarted = 1;
        bike.furtherAid = 1;
        bike.setup.maxEngineSpeed = 12000.0f;
        RiderProfile& profile = profiles[rider];
        const std::string first = "First" + std::to_string(rider);
        const std::string last = "Last" + std::to_string(rider);
        std::copy(first.begin(), first.end(), profile.firstName.begin());
        std::copy(last.begin(), last.end(), profile.lastName.begin());
        const std::string info = "Team" + std::to_string(rider);
        std::copy(info.begin(), info.end(), profile.infoText.begin());
        profile.displayNames[0] = first + " " + last;
        standings.sessionRanks[rider] = session_rank::kRacing;
        for (auto& row : standings.splitMs[rider])
        {
            row.fill(-1);
        }
    }
    standings.podiumRider.fill(RaceStandings::kNoPodiumRider);
    std::vector<uint32_t> order(riders);
    for (uint32_t place = 0; place < riders; ++place)
    {
        order[place] = place;
    }
    SetOrder(order);
    frame.bikes = bikes;
    frame.profiles = profiles;
    frame.standings = &standings;
    frame.riderCount = riders;
    frame.lapsOfRace = 5;
    frame.circuitName = "Assen";
}

void HudScene::SetOrder(const std::vector<uint32_t>& order)
{
    standings.positionTable.fill(-1);
    for (size_t slot = 0; slot < order.size(); ++slot)
    {
        standings.positionTable[slot] = static_cast<int32_t>(order[slot]);
        // A strange rider number has no grid place to keep.
        if (order[slot] < standings.gridOrder.size())
        {
            standings.gridOrder[order[slot]] = static_cast<int32_t>(slot + 1);
        }
    }
}
