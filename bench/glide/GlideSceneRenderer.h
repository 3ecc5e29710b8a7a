#pragma once

#include <memory>

#include "bench/glide/ReferenceScene.h"

// The scene through our board, in the state the render library draws 3D objects with.
std::unique_ptr<SceneRenderer> MakeGlideRenderer(const ReferenceScene& scene);
