#include "view/hud/RaceHud.h"

#include "race/BikeRecord.h"
#include "view/hud/HudFrame.h"
#include "view/hud/HudHooks.h"
#include "view/tv/OverlayDrawing.h"

namespace
{
constexpr float kTvStartClock = 6.0f;  // s of the start clock before the director takes over
}

RaceHud::RaceHud(DirectorRandom random) : director_(random) {}

void RaceHud::LoadTextures(const HudFrame& frame, HudHooks& hooks)
{
    resources_.Load(frame.bikeClass);
    ResetForRace(frame, hooks);
    director_.SetCloseViewCounter(1.0f);
}

void RaceHud::FreeTextures()
{
    resources_.Free();
}

void RaceHud::ResetForRace(const HudFrame& frame, HudHooks& hooks)
{
    for (NumberText* text : {&speed_, &instrumentSpeed_, &gear_, &ridersLeft_, &lap_, &position_})
    {
        text->Forget();
    }
    director_.Reset(frame.lapsOfRace);
    titles_.BuildTitle(frame, hooks);
}

void RaceHud::DrawPanels(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks)
{
    if (frame.observationMode)
    {
        DrawObservationPanel(frame, canvas);
        return;
    }
    DrawStartLights(frame, canvas);
    if (frame.tvMode)
    {
        return;
    }
    DrawTimingPanel(frame, canvas);
    if (frame.cameraMode == CameraMode::CameraChase || frame.cameraMode == CameraMode::CameraTrail)
    {
        DrawInstrument(frame, canvas);
    }
    if (frame.gameMode != GameMode::NetworkRace)
    {
        DrawKeyLamps(frame, canvas);
    }
    if (frame.curveSignsShown)
    {
        DrawCurveSign(frame, canvas);
    }
    DrawMessages(frame, canvas, hooks);
}

void RaceHud::DrawPaused(const HudFrame& frame, HudCanvas& canvas)
{
    canvas.Clip(0, 0, frame.width, frame.height);
    canvas.Band(0, 0, frame.width, frame.height);
    canvas.SetFont(HudFont::Tv3);
    canvas.Text(frame.width - 50, 10, "PAUSED", TextAlign::Right);
}

int32_t RaceHud::DrawRaceScreens(const HudFrame& frame, HudCanvas& canvas, HudHooks& hooks)
{
    if (frame.tvMode && frame.startClock < kTvStartClock)
    {
        return 1;
    }
    switch (titles_.State())
    {
        case TitleState::StartingGrid:
            titles_.DrawStartingGrid(frame, canvas);
            canvas.Clip(0, 0, frame.width, frame.height);
            if (frame.tvMode)
            {
                DrawTvLogo(canvas, frame.width);
            }
            return 1;
        case TitleState::FinalStanding:
        {
            const bool goOn = titles_.DrawFinalStanding(frame, canvas, hooks);
            canvas.Clip(0, 0, frame.width, frame.height);
            if (frame.tvMode)
            {
                DrawTvLogo(canvas, frame.width);
            }
            return goOn ? 1 : 0;
        }
        case TitleState::None:
            break;
    }
    if (!frame.tvMode)
    {
        if (frame.playerRider < frame.bikes.size() &&
            frame.bikes[frame.playerRider].timedLap > frame.lapsOfRace)
        {
            titles_.BuildEventTitle(frame);
        }
        return 1;
    }
    if (director_.Direct(frame, hooks))
    {
        titles_.BuildEventTitle(frame);
    }
    director_.DrawPage(frame, canvas);
    return 1;
}
