#pragma once

// The primitive back end: the only place where the vector engine talks to the board. A table
// of small routines by slot: the frame's start, the render-state switches the polygon
// handlers need, and the texture selection that draws a finished polygon. The table is what
// rdll_GetJumpTable hands out; the engine calls through it as well. Main thread only.

#include <cstdint>

#include "glide/Glide.h"

struct WorldObject;

inline constexpr int kGlideVertexBufferSize = 40;
inline constexpr int kMaxCountedVertices = 39;
inline constexpr int kMaxDrawnVertices = 35;

struct GlidePrimitiveTable
{
    // Slot 0: the depth and texture-w factors of the frame from the horizontal projection
    // scale; 0 when the screen is not held, and the frame is skipped.
    int32_t (*beginFrame)(float horizontalScale);
    void (*setFog)(const WorldObject& object);  // the object's fog table and colour
    void (*depthTestOn)();                      // less or equal
    void (*depthTestOff)();                     // always
    void (*depthWriteOn)();
    void (*depthWriteOff)();
    void (*primaryNop)();    // chosen without object flag 0x4000
    void (*alternateNop)();  // chosen with it
    void (*filterBilinear)();
    void (*filterPoint)();
    void (*colourOpaque)();
    void (*colourObject)(const WorldObject& object);
    // Slot 12: selects the current texture and draws the polygon, unless it has more than
    // kMaxDrawnVertices corners or the texture cannot be drawn.
    void (*selectTexture)(int32_t count, GrVertex* vertices);
    // Slot 13: marks a primitive that was never implemented; nothing calls it, and it draws
    // nothing when called.
    void (*placeholder)();
};

namespace render::vector
{
const GlidePrimitiveTable& PrimitiveTable();

// The texture number the next selectTexture draws with.
void SetCurrentTexture(uint32_t textureNumber);
// Forgets which texture and palette the board holds: the next polygon selects them again.
void ResetPrimitiveState();
}  // namespace render::vector
