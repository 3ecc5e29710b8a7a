#pragma once

// The board's display modes and refresh rates, in the order of its mode and rate codes, and
// the adapter information the game lists them from.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "glide/Glide.h"
#include "render/RenderApi.h"

namespace render
{

struct ModeSize
{
    int32_t width;
    int32_t height;
};

inline constexpr std::array<ModeSize, 8> kDisplayModes = {{{512, 384},
                                                           {640, 480},
                                                           {800, 600},
                                                           {960, 720},
                                                           {856, 480},
                                                           {1024, 768},
                                                           {1280, 1024},
                                                           {1600, 1200}}};
inline constexpr std::array<uint32_t, 9> kRefreshRatesHz = {60, 70, 72, 75, 80, 85, 90, 100, 120};

std::optional<GrScreenResolution> ResolutionOf(int32_t width, int32_t height);
// The rate's code, or that of the first rate when the board has no such rate.
GrScreenRefresh RefreshOf(int32_t rateHz);

// The adapter information handed to the game: one board named "Voodoo" with every mode at
// 16 bits a pixel and every refresh rate.
class Adapter
{
public:
    Adapter();
    ~Adapter();
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    void Describe();
    void Forget();
    // The number of adapters (0 before Describe) and their information.
    int32_t Infos(AdapterInfo** out);

private:
    struct Description
    {
        AdapterInfo info;
        std::array<ScreenModeInfo, kDisplayModes.size()> modes;
    };

    std::unique_ptr<Description> description_;
};

}  // namespace render
