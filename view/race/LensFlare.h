#pragma once

// The lens flare: with the sun in front of the camera, a glow and a core at the sun's place on
// the screen and a chain of 14 coloured sprites along the line from the sun through the
// screen's centre, fading out as the sun nears the screen's border. Drawn after the 3D world
// from the sun node's view position as the engine left it this frame. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>

class RenderDevice;
struct WorldObject;

// One square sprite, centred on (x, y).
struct FlareSprite
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t size = 0;
    int32_t texture = 0;
    uint32_t colour = 0;  // 0xRRGGBB
    int32_t alpha = 0;    // 0..255
};

// What the flare needs of the view: the sun's view position and the projection.
struct FlareView
{
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;
    float horizontalFactor = 0.0f;
    float verticalFactor = 0.0f;
    int32_t width = 640;
    int32_t height = 480;
};

struct FlareSprites
{
    static constexpr size_t kMax = 16;  // glow, core, 14 elements
    std::array<FlareSprite, kMax> sprites{};
    size_t count = 0;
};

// The sprites of the flare in drawing order; none while the sun is behind the camera.
FlareSprites ComputeLensFlare(const FlareView& view);

// The whole flare for the sun node (null: none) on the device's screen.
void DrawLensFlare(RenderDevice& device, const WorldObject* sun);
// One sprite as four mirrored quads of its texture.
void DrawFlareSprite(RenderDevice& device, const FlareSprite& sprite);
