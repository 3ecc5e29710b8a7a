#pragma once

#include <memory>

#include "bench/glide/ReferenceScene.h"

// The scene through Mesa's off-screen renderer, in its cheapest equivalent state: one draw call
// a frame from vertex arrays, per-pixel linear fog on a fog coordinate of W, 16-bit depth,
// source-over blending as on our side.
std::unique_ptr<SceneRenderer> MakeMesaRenderer(const ReferenceScene& scene);
