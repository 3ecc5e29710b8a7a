#pragma once

// The benchmark's reference scene: 640 x 480, three screen-filling layers of textured,
// Gouraud-shaded quads at different depths, drawn back to front (every layer passes the depth
// test, as the engine draws), with bilinear filtering (or point sampling) and table fog. Each
// renderer draws the same vertices with its own means.

#include <array>
#include <cstdint>
#include <vector>

struct SceneVertex
{
    float x, y;  // pixels, origin upper left
    float w;     // depth: distance from the eye
    float s, t;  // texel coordinates at this vertex (perspective-correct between vertices)
    uint8_t r, g, b;
};

struct ReferenceScene
{
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    static constexpr int kTextureSize = 256;

    std::vector<std::array<SceneVertex, 4>> quads;  // in drawing order, clockwise
    std::vector<uint16_t> texture;                  // 256 x 256 RGB 5-6-5
    bool bilinear = true;                           // else point-sampled
    float fogNear = 0;                              // W where fog starts
    float fogFar = 0;                               // W where fog is complete
    uint8_t fogColour[3] = {};
    uint8_t clearColour[3] = {};
};

ReferenceScene MakeReferenceScene();

// A renderer of the scene into a 640 x 480 RGB 5-6-5 picture.
class SceneRenderer
{
public:
    virtual ~SceneRenderer() = default;
    virtual const char* Name() const = 0;
    virtual void DrawFrame() = 0;  // returns when the frame is complete
    // The finished frame: pixel (x, y) at pixels[y * pitchPixels + x], row 0 at the top.
    virtual const uint16_t* Pixels(int& pitchPixels) = 0;
};
