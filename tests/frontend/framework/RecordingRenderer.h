#pragma once

// Render entry points that record what the menu framework asks of the render library, bound
// in place of the library for the lifetime of the object.

#include <map>
#include <string>
#include <vector>

struct Texture;

class RecordingRenderer
{
public:
    RecordingRenderer();
    ~RecordingRenderer();
    RecordingRenderer(const RecordingRenderer&) = delete;
    RecordingRenderer& operator=(const RecordingRenderer&) = delete;

    // "load NAME", "reload NAME", "free", "clip l t r b", "rect x y w h alpha",
    // "blit sx sy dx dy w h", "text x y TEXT".
    static std::vector<std::string>& Calls();
    // Names the loader fails on.
    static std::vector<std::string>& Missing();
};
