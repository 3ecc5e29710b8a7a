#pragma once

// The 3D view's world: a scene of its own in which the circuit's flat track object lies under
// a node that turns it to face the camera, seen from straight above, turned as the circuit's
// map is. The track stays hidden and the viewport whole until the 3D view shows it. The game's
// world stays as it was: every call saves it, makes this world current and restores the
// game's again. Main thread only; draws through the game's render device.

#include <array>
#include <cstdint>
#include <string_view>

#include "app/world/ObjectWorld.h"

struct WorldObject;

class TelemetryWorld
{
public:
    // The scene's height on the screen; the view's screen centre is its middle.
    static constexpr int32_t kSceneHeight = 317;

    // Creates the world and loads the circuit's flat track object and its pictures from the
    // current archive, hidden. The world is made even when the object is missing or damaged:
    // the view then shows no ground, and false says so.
    bool Load(std::string_view circuit, float mapAngle);
    // Shown: the track drawn into the scene's part of the screen; hidden: the whole screen is
    // the viewport again.
    void Show(bool shown);
    // Draws the ground seen from the distance, with the ground point (x, z) under the view's
    // centre.
    void Draw(float distance, float centreX, float centreZ);
    void Free();
    bool Loaded() const { return m_loaded; }
    bool Shown() const { return m_shown; }
    // The track object; null without one.
    const WorldObject* Track() const { return m_track; }

    // Screen pixels per ground unit at the distance, and the view's centre on the screen.
    float PixelsPerUnit(float distance) const;
    float CentreX() const { return m_projection.centreX; }
    float CentreY() const { return m_projection.centreY; }

private:
    std::array<uint32_t, 24> m_state{};
    WorldObject* m_camera = nullptr;
    WorldObject* m_track = nullptr;
    ProjectionValues m_projection;
    bool m_loaded = false;
    bool m_shown = false;
};
