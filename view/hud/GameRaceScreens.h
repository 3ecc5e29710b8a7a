#pragma once

// The head-up display as the game's race loop runs it: each frame's HudFrame gathered from the
// game's race, camera and clocks, drawn on the render device, and what the display asks done
// by the game's camera, marshal flags, start sequence and standings. Main thread only.

#include <cstdint>

#include "view/hud/HudFrame.h"
#include "view/hud/HudHooks.h"
#include "view/hud/RaceHud.h"
#include "view/hud/RenderDeviceCanvas.h"
#include "view/race/RaceScreens.h"

class MarshalFlags;
class RaceCamera;
class StartSequence;

class GameRaceScreens final : public RaceScreens, private HudHooks
{
public:
    GameRaceScreens(StartSequence& start, RaceCamera& camera, MarshalFlags& flags);

    // The display's pictures are loaded for the first race after they were freed.
    void ResetForRace(uint32_t riders) override;
    bool DrawRaceScreens() override;
    void DrawPanels() override;
    void DrawPaused() override;
    void DrawNetPlayerNames() override;
    void FreeTextures() override;
    void SetFeed(const RaceScreenFeed& feed) override { feed_ = feed; }

    // The riders whom players of other machines ride (bit r for rider r), in a network race.
    void SetNetRiders(uint32_t riders) { netRiders_ = riders; }

    RaceHud& Hud() { return hud_; }

private:
    const HudFrame& GatherFrame();

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

    StartSequence& start_;
    RaceCamera& camera_;
    MarshalFlags& flags_;
    RaceHud hud_;
    RenderDeviceCanvas canvas_{hud_.Resources()};
    HudFrame frame_;
    RaceScreenFeed feed_;
    bool loaded_ = false;
    uint32_t netRiders_ = 0;
};
