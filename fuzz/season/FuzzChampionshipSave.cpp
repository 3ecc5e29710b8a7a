// Decodes the input as a championship save on a machine with settings of its own, and checks
// that whatever it accepts keeps the machine's bytes, holds every value within its range and
// carries a whole set-up stream.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "app/settings/MenuStateChecks.h"
#include "frontend/season/ChampionshipSave.h"
#include "setup/SetupStream.h"

namespace
{
MenuState Machine()
{
    MenuState machine;
    machine.SetF32At(MenuState::kVolumeOffset, 0.5f);
    machine.SetU32At(MenuState::kViewDistanceOffset, 900);
    machine.SetU8At(MenuState::kControlMapOffset, 0x51);
    return machine;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const MenuState machine = Machine();
    const std::optional<ChampionshipSaveContents> contents =
        DecodeChampionshipSave(std::span(data, size), machine);
    if (!contents)
    {
        return 0;
    }
    MenuState checked = contents->settings;
    ReplaceOutOfRangeValues(checked);
    BikeSetup setup{};
    if (!(checked == contents->settings) ||
        contents->settings.F32At(MenuState::kVolumeOffset) != 0.5f ||
        contents->settings.U8At(MenuState::kControlMapOffset) != 0x51 ||
        !LoadSetupStream(contents->setupStream, setup))
    {
        std::abort();
    }
    return 0;
}
