// Reads the input as "sound/menusounds.dat"; what loads must write back to the same table.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "sound/MenuSoundTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<MenuSoundTable> table = ParseMenuSoundTable(std::span(data, size));
    if (table)
    {
        const std::optional<MenuSoundTable> again =
            ParseMenuSoundTable(BuildMenuSoundTable(*table));
        if (!again || again->files != table->files)
        {
            std::abort();
        }
    }
    return 0;
}
