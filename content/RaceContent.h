#pragma once

// The race content loader: before every race it builds the object world of the current
// circuit in the current weather and fills it with the field (bikes, liveries, riders,
// marshals, shared textures, effects), each machine set on the ground, and gives the race
// the circuit's ground, surfaces and racing-line values; after the race it takes all of it
// down again.
//
// A load either builds everything or nothing: a model that cannot be read (the object world
// names it in "%s kann nicht geladen werden") or a pose table that is not whole stops the load
// and leaves no world, no race textures and no links into a freed arena behind. Pictures that
// cannot be read only leave their textures empty.
//
// The game has one, g_raceContent, on the game's render device and race; a test makes its
// own. Main thread only.

#include <cstdint>

#include "content/RaceScene.h"
#include "view/rider/RiderPoseTable.h"

class MenuState;
class RaceContentHooks;
class RaceContext;
class RenderDevice;

// The choices of the settings and of the session that the load reads besides the current
// race's.
struct RaceContentOptions
{
    static constexpr uint32_t kNoGhost = 0xFFFFFFFF;

    uint32_t modelDetail = 2;     // 0..2
    uint32_t viewDistance = 600;  // metres, 200..1200
    uint32_t ghostRider = kNoGhost;
    uint32_t ghostLivery = 0;
    bool observationMode = false;

    // The model detail and view distance of the settings.
    static RaceContentOptions FromSettings(const MenuState& settings);
};

class RaceContent
{
public:
    static constexpr uint32_t kArenaBytes = 6291456;

    RaceContent(RenderDevice& device, RaceContext& race);
    virtual ~RaceContent();
    RaceContent(const RaceContent&) = delete;
    RaceContent& operator=(const RaceContent&) = delete;

    // Builds the race's world; false when it could not, with nothing left of it.
    bool Load(const RaceContentOptions& options, RaceContentHooks& hooks);
    // Frees the world, the race's textures and pictures and forgets every link into them.
    void Unload();

    bool Loaded() const { return loaded_; }
    const RaceScene& Scene() const { return scene_; }
    RaceScene& Scene() { return scene_; }
    const RiderPoseTable& RiderPoses() const { return riderPoses_; }

private:
    bool BuildWorld(const RaceContentOptions& options, RaceContentHooks& hooks);

    RenderDevice& device_;
    RaceContext& race_;
    RaceScene scene_;
    RiderPoseTable riderPoses_;
    bool loaded_ = false;
};

extern RaceContent g_raceContent;
