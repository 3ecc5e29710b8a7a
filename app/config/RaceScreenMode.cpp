#include "app/config/RaceScreenMode.h"

#include <algorithm>

#include "render/DisplayModes.h"

ScreenMode g_raceScreenMode = {640, 480, 16, 60, 0};

void TakeRaceScreenMode(const ConfigBlock& config)
{
    const DisplayModeRecord record = config.DisplayMode();
    const bool offered =
        std::ranges::any_of(render::kDisplayModes, [&record](const render::ModeSize& size)
                            { return size.width == record.width && size.height == record.height; });
    g_raceScreenMode = offered ? ScreenMode{record.width, record.height, record.bitsPerPixel,
                                            record.refreshHz, record.reserved}
                               : ScreenMode{640, 480, 16, 60, 0};
}
