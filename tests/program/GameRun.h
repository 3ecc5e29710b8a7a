#pragma once

// The game end to end under the scripted platform on a copy of the demo installation: the
// main menu's clicks into a single race of the full field, input and checks at times counted
// from the lights going out, and the game window with a chosen pause menu.
//
// The menus and the loading run at 40 ms a frame; the race, from the time its clock starts,
// at 400 ms a frame, so that the grid's 25 s and a few seconds of racing take few frames.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "app/window/OutputWindow.h"
#include "core/util/RuntimeRandom.h"
#include "platform/VirtualKeys.h"
#include "platform/scripted/ScriptedPlatform.h"
#include "program/GameWindow.h"
#include "tests/support/DemoInstallationCopy.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

class GameRun
{
public:
    using Kind = PlatformEvent::Kind;
    // The demo's intro movie shows this many pictures before the game's own first frame.
    static constexpr uint32_t kMenuFrame = 50 + 3;
    static constexpr uint32_t kRaceClockStartMs = 19960;
    static constexpr uint32_t kRaceFrameMs = 400;
    // The lights go out 25 s after the race clock starts.
    static constexpr uint32_t kLightsOutMs = kRaceClockStartMs + 25000;
    static constexpr uint32_t kBackstopMs = 120000;

    GameRun() : installed_(platform_)
    {
        std::string error;
        EXPECT_TRUE(CopyDemoInstallation(directory_.path(), error)) << error;
        // A fresh process's runtime random sequence.
        RuntimeSeed(1);
        platform_.SetFrameQuantumMs(40);
        platform_.SetFrameQuantumMsFrom(kRaceClockStartMs, kRaceFrameMs);
        platform_.LimitCapturedFrames(6);
        platform_.AtTime(kBackstopMs, {.kind = Kind::Quit});
        // Checks at their times, on the frame the game is yielding after.
        platform_.StartPeriodicTimer(
            kRaceFrameMs / 4,
            [this]
            {
                while (!calls_.empty() && platform_.NowMs() >= calls_.begin()->first)
                {
                    const auto call = calls_.begin()->second;
                    calls_.erase(calls_.begin());
                    if (window_ != nullptr)
                    {
                        call(*window_);
                    }
                }
            });
    }

    ScriptedPlatform& Platform() { return platform_; }

    // The mode panel's race row, the rider page's Go, the pre-race screen's start.
    void ChooseSingleRace() { ChooseModeRow(158); }
    // Its test-ride row, the row above, the same way.
    void ChooseTestRide() { ChooseModeRow(134); }

    // Events and calls at ms after the lights go out.
    void AtRace(uint32_t ms, PlatformEvent event) { platform_.AtTime(kLightsOutMs + ms, event); }
    void KeyAtRace(uint32_t ms, uint8_t key)
    {
        AtRace(ms, {.kind = Kind::KeyDown, .virtualKey = key});
        AtRace(ms + kRaceFrameMs / 2, {.kind = Kind::KeyUp, .virtualKey = key});
    }
    // Moves there, presses on the next frame and releases on the one after.
    void ClickAtRace(uint32_t ms, int32_t x, int32_t y)
    {
        AtRace(ms, {.kind = Kind::MouseMove, .x = x, .y = y});
        AtRace(ms + kRaceFrameMs,
               {.kind = Kind::MouseButton, .button = 1, .pressed = true, .x = x, .y = y});
        AtRace(ms + 2 * kRaceFrameMs,
               {.kind = Kind::MouseButton, .button = 1, .pressed = false, .x = x, .y = y});
    }
    void CallAtRace(uint32_t ms, std::function<void(GameWindow&)> call)
    {
        CallAt(kLightsOutMs + ms, std::move(call));
    }
    // At ms of the game's run, as in the menus and screens before the race.
    void CallAt(uint32_t ms, std::function<void(GameWindow&)> call)
    {
        calls_.emplace(ms, std::move(call));
    }
    // The newest frame presented by then, checked against its golden hash.
    void ExpectFrameAtRace(uint32_t ms, const std::string& name, uint64_t hash)
    {
        CallAtRace(
            ms,
            [this, name, hash](GameWindow&)
            {
                ASSERT_FALSE(platform_.Frames().empty());
                const CapturedFrame& frame = platform_.Frames().back();
                EXPECT_TRUE(MatchesGolden(
                    name, {frame.pixels.data(), frame.width, frame.height, frame.width * 2}, hash));
            });
    }

    // The game's run with the menu over the race (null: the game's own pit box).
    uint32_t Run(InRaceMenu* menu = nullptr)
    {
        GameWindow window;
        window.SetInRaceMenu(menu);
        window_ = &window;
        SetMainWindow(&window);
        const uint32_t result = window.Run();
        SetMainWindow(nullptr);
        window_ = nullptr;
        endedByScript_ = platform_.NowMs() < kBackstopMs;
        return result;
    }
    bool EndedByScript() const { return endedByScript_; }

private:
    void ChooseModeRow(int32_t rowY)
    {
        MenuClick(0, 80, 116);
        MenuClick(20, 400, rowY);
        MenuClick(40, 80, 164);
        MenuClick(50, 600, 460);
        // Where Go was, once the menu has faded out and the screen is up.
        MenuClick(220, 600, 460);
    }

    void MenuClick(uint32_t frame, int32_t x, int32_t y)
    {
        platform_.AtFrame(kMenuFrame + frame, {.kind = Kind::MouseMove, .x = x, .y = y});
        platform_.AtFrame(
            kMenuFrame + frame + 2,
            {.kind = Kind::MouseButton, .button = 1, .pressed = true, .x = x, .y = y});
        platform_.AtFrame(
            kMenuFrame + frame + 4,
            {.kind = Kind::MouseButton, .button = 1, .pressed = false, .x = x, .y = y});
    }

    TestDirectory directory_;
    ScriptedPlatform platform_;
    ScopedPlatform installed_;
    std::multimap<uint32_t, std::function<void(GameWindow&)>> calls_;
    GameWindow* window_ = nullptr;
    bool endedByScript_ = false;
};
