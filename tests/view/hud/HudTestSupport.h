#pragma once

// The head-up display without a screen: a canvas that writes every call as a line of text,
// and a field of riders with their records, profiles and standings to draw from.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "race/BikeRecord.h"
#include "race/RiderProfile.h"
#include "race/standings/RaceStandings.h"
#include "view/hud/HudCanvas.h"
#include "view/hud/HudFrame.h"
#include "view/hud/HudHooks.h"

// Every text is 8 pixels a character; pictures are 100 x 50, the logo 64 x 32, portraits
// exist for the riders in portraits.
class RecordingCanvas : public HudCanvas
{
public:
    void SetFont(HudFont font) override;
    void Text(int32_t x, int32_t y, const char* text, TextAlign align) override;
    void ColourText(int32_t x, int32_t y, uint32_t colour, const char* text,
                    TextAlign align) override;
    int32_t TextWidth(const char* text) override;
    int32_t PictureWidth(PictureRef picture) override;
    int32_t PictureHeight(PictureRef picture) override;
    void Picture(PictureRef picture, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t width,
                 int32_t height) override;
    void Rect(int32_t texture, int32_t x, int32_t y, int32_t width, int32_t height, float u,
              float v, float du, float dv, int32_t alpha) override;
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) override;
    void Clip(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;

    // "text <font> x,y <L|R|C> <text>".
    std::vector<std::string> Texts() const;
    std::vector<std::string> Lines(const std::string& prefix) const;
    bool Has(const std::string& line) const;

    std::vector<std::string> log;
    std::set<int> portraits;

private:
    HudFont font_ = HudFont::Name;
};

// Records what the display asks of the parts around it.
class RecordingHooks : public HudHooks
{
public:
    void ShowMarshalFlag(int32_t flag) override;
    void HideMarshalFlag() override;
    void DisqualifyRider(uint32_t rider) override;
    void SetViewedRider(uint32_t rider) override;
    void SetTvView() override;
    void SetTrailView() override;
    void SetCloseView() override;
    void SetOnBoardView() override;
    void SetFinishView() override;
    void SetTvAutoSwitch() override;
    void SetStartSchedule(float clockRate, int32_t startTick) override;

    bool Called(const std::string& call) const;
    std::vector<std::string> calls;
    int32_t viewedRider = -1;
};

// A field of riders on a 640 x 480 screen: rider r is named "First<r> Last<r>", places follow
// the rider numbers, everyone running on lap 1.
class HudScene
{
public:
    explicit HudScene(uint32_t riders = 26);

    // Rider at place p is order[p - 1].
    void SetOrder(const std::vector<uint32_t>& order);

    std::vector<BikeRecord> bikes;
    std::vector<RiderProfile> profiles;
    RaceStandings standings;
    HudFrame frame;
};
